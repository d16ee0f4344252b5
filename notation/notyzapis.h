// clsNotyZapis: the notation duties that work on the main window's entry
// staff. The main window holds one instance (`Zapis`); the scale dialog makes
// a fresh one for drawing the chosen key signature.
//
// The class does not know the window itself: it is given the window's
// control arrays it moves, so the notation model stays below the main window
// in the build and the window can hand the same controls to every instance.
#pragma once

#include <array>
#include <string>

#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"

class clsNotyZapis {
public:
    // The main window's controls the class works on. The window owns them and
    // outlives every clsNotyZapis made on them.
    struct Okno {
        forms::ControlArray<forms::PictureBox>& picKrizekStup;  // key-signature sharps 0-6
        forms::ControlArray<forms::PictureBox>& picBeckoStup;   // key-signature flats 0-6
    };

    explicit clsNotyZapis(const Okno& okno) : okno_(okno) {}

    // ZjistiNotu (the note name of a head on the entry staff) follows here.

    // Draws the key signature of the major scale `Stupnice` (a caption of the
    // scale button, "C Dur" ... "Ces Dur") by moving the sharps or flats it
    // needs to their places at the start of the staff. "C Dur", "Vyberte
    // stupnici" and any other text move nothing; the pictures a key does not
    // need are left where they are (the caller releases them first).
    void NastavStupnici(const std::string& Stupnice);

    // The treble button (decimal 1-49, "" for none) lit for note head
    // `picNota` i of the entry staff, one property per head. Stored as given.
    std::string CervenaNota0() const { return cervenaNota_[0]; }
    void CervenaNota0(const std::string& vNewValue) { cervenaNota_[0] = vNewValue; }
    std::string CervenaNota1() const { return cervenaNota_[1]; }
    void CervenaNota1(const std::string& vNewValue) { cervenaNota_[1] = vNewValue; }
    std::string CervenaNota2() const { return cervenaNota_[2]; }
    void CervenaNota2(const std::string& vNewValue) { cervenaNota_[2] = vNewValue; }
    std::string CervenaNota3() const { return cervenaNota_[3]; }
    void CervenaNota3(const std::string& vNewValue) { cervenaNota_[3] = vNewValue; }
    std::string CervenaNota4() const { return cervenaNota_[4]; }
    void CervenaNota4(const std::string& vNewValue) { cervenaNota_[4] = vNewValue; }

private:
    // The key procedures of note recognition (UpravNotuGDur ... UpravNotuCesDur)
    // follow here, with ZjistiNotu.

    Okno okno_;
    std::array<std::string, 5> cervenaNota_;
};
