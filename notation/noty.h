// clsNoty: the note name of a song row turned into its place on a staff.
// The class holds no state; every user creates one for the call and drops it.
#pragma once

#include <string>

#include "platform/vb/variant.h"

class clsNoty {
public:
    // The staff offset of a note name: an accidental prefix ("k" sharp, "b"
    // flat, none for a natural) and the height above the small c in twips,
    // 60 per diatonic step and 420 per octave ("cis1," gives "k420").
    // A name that cannot be read is reported in message boxes and gives Empty.
    vb::Variant UrciPolohuNoty(const std::string& Nota);

    // StiskniKnoflik (marks a treble button by its note name) follows here; it
    // needs the main window and the lookup workbook.

private:
    // PrevedNaKrizky (flats and enharmonic names into the sharp spelling of the
    // lookup sheet) follows here, together with StiskniKnoflik.
};
