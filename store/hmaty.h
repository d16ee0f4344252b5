// Which rows of a song sheet are grips, and where the song ends.
//
// A row is a grip when column B holds its first treble note, or, for a grip of
// basses only, when column B is empty and column I holds the bellows word
// "Tlak" or "Tah". The song ends at the first row that is no grip: B and I
// both empty (or I holding anything but a bellows word). Every command that
// looks for the end of the song or of the grips asks here, so that a grip of
// basses only is never taken for the end.
#pragma once

#include <string>

#include "platform/excel/application.h"

// Whether a cell value is a bellows word, "Tlak" or "Tah", as the whole value.
bool JeSmerMechu(const std::string& bunka);

// Whether the row of `BunkaB`, its cell in column B, holds a grip. Column I is
// read as the cell 7 columns right of B; the bellows word counts only as the
// whole, exact cell value.
bool JeHmat(const xl::Range& BunkaB);

// The end of the song within `Oblast`, a part of column B such as B1:B500:
// the first cell after `Po` whose row holds no grip. It is searched as Find
// searches for an empty cell (down the column, coming round to the range's
// top last), passing over the empty B cells of grips of basses only. Nothing
// when every row of the range holds a grip.
xl::Range NajdiKonecPisne(const xl::Range& Oblast, const xl::Range& Po);
