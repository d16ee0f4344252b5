// clsNoty: the note name of a song row turned into its place on a staff.
// The class holds no state; every user creates one for the call and drops it.
#pragma once

#include <optional>
#include <string>

#include "platform/vb/variant.h"

namespace forms {
class Form;
class Image;
class CommandButton;
template <class T>
class ControlArray;
}  // namespace forms

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

    // Marks the treble button of the note name `Ton` on the main window (the
    // button picture, its piano key and its second picture) as the target of
    // an interval, found in the lookup workbook's tone sheet. `Ton` is
    // replaced by its sharp spelling. A name that is not found is reported
    // and nothing is marked. Needs the spreadsheet and the keyboard the main
    // window hands over (PripojKlavesnici); built apart from the rest of the
    // class (notation/stiskni_knoflik.cpp), which needs neither.
    void StiskniKnoflik(std::string& Ton);

    // The main window's treble keyboard, which StiskniKnoflik marks, and the
    // window it hides while it shows a message. The window hands it over when
    // it is made and takes it back (nullptr) when it goes; without it the
    // lookup finds no button to mark.
    struct Klavesnice {
        forms::Form* okno;
        forms::ControlArray<forms::Image>* imgDiskant;
        forms::ControlArray<forms::Image>* imgDiskantPom;
        forms::ControlArray<forms::CommandButton>* cmdKlavesa;
    };
    static void PripojKlavesnici(const Klavesnice* klavesnice);
    static const Klavesnice* PripojenaKlavesnice();

private:
    // Flat and enharmonic names in the sharp-and-natural spelling of the
    // lookup sheet ("b," -> "ais,", "ces1," -> "h,"); anything else unchanged.
    vb::Variant PrevedNaKrizky(const std::string& Ton);
};
