// Looking a key up in the lookup workbook read_only.xls, the one way every
// reader of its tables does it.
#pragma once

#include <string>

#include "platform/excel/application.h"
#include "platform/vb/variant.h"

// Finds the cell of `Oblast` (an address such as "F1:F121") on the lookup
// workbook's active sheet whose whole value is `Klic`:
//   1. activates the lookup workbook's window (Windows(NazevReadOnly));
//   2. selects the range, so that its first cell is the active cell;
//   3. searches the selection with Find by rows, downwards, after the active
//      cell and round to the range's first cell last, by cell text and
//      without regard to letter case;
//   4. accepts a hit only when the cell's value equals the key exactly (a
//      number key equals a number cell of the same value, a text key the same
//      text, letter case included); otherwise searches on after that hit.
// Every hit becomes the active cell of the lookup window, which stays the
// active window: the caller reads along the found row and activates the song
// workbook again itself. The caller selects the sheet first ("Calvira12" by
// NastavLadeni, "Transpozice" by itself).
//
// A key that no cell of the range contains raises runtime error 91, as using
// the cell that Find did not find does. When the hits are only cells that
// merely contain the key ("es1," inside "des1,"), the result is Nothing:
// after `NejvyseHledani` searches, or, with 0, once the search has come round
// to its first hit again. Any other failure (the lookup window closed: 9;
// no spreadsheet: 91) reaches the caller as it is.
xl::Range NajdiVReadOnly(const std::string& Oblast, const vb::Variant& Klic, int NejvyseHledani = 0);
