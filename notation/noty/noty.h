// clsNoty: the note name of a song row turned into its place on a staff.
// The class holds no state; every user creates one for the call and drops it.
#pragma once

#include <optional>
#include <string>

#include "platform/vb/variant.h"

// The sign a note name carries on a staff.
enum class Znamenko { Zadne, Becko, Krizek };

// A staff offset taken apart: the sign its prefix names and the height above
// the small c in twips.
struct PolohaNoty {
    Znamenko znamenko = Znamenko::Zadne;
    int vyska = 0;
    bool operator==(const PolohaNoty&) const = default;
};

class clsNoty {
public:
    // The staff offset of a note name: an accidental prefix ("k" sharp, "b"
    // flat, none for a natural) and the height above the small c in twips,
    // 60 per diatonic step and 420 per octave ("cis1," gives "k420").
    // A name that cannot be read is reported in message boxes and gives Empty.
    vb::Variant UrciPolohuNoty(const std::string& Nota);

    // The same offset typed, for placing pictures: {Krizek, 420} for "cis1,".
    // A name that cannot be read gets the same messages and gives nothing.
    std::optional<PolohaNoty> UrciPolohu(const std::string& Nota);

    // Flat and enharmonic names in the sharp-and-natural spelling that the
    // lookup workbook's tone sheet uses ("b," -> "ais,", "ces1," -> "h,");
    // anything else unchanged.
    vb::Variant PrevedNaKrizky(const std::string& Ton);
};
