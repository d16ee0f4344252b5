// clsNotyZapis: the notation duties that work on the main window's entry
// staff. The main window holds one instance (`Zapis`); the scale dialog makes
// a fresh one for drawing the chosen key signature.
//
// The class does not know the window itself: it is given the window's
// control arrays it moves, so the notation model stays below the main window
// in the build and the window can hand the same controls to every instance.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/vb/variant.h"

// Signs of the entry staff parked in their trays stand left of this limit.
// The trays lie at Top 8400, which is also where a flat beside the head of
// "f3," (8540) stands, so a parked flat would turn every such head into
// "fes3,": only signs on the staff count.
inline constexpr float kVolnyZnak = 1440;

class clsNotyZapis {
public:
    // The main window's controls the class works on. The window owns them and
    // outlives every clsNotyZapis made on them.
    struct Okno {
        forms::ControlArray<forms::PictureBox>& picKrizekStup;  // key-signature sharps 0-6
        forms::ControlArray<forms::PictureBox>& picBeckoStup;   // key-signature flats 0-6
        // What note recognition reads: the entry staff's loose signs 0-6 and
        // the scale button, whose caption is the current scale. An object
        // made only to draw a key signature may leave them unset; recognition
        // on such an object raises error 91.
        forms::ControlArray<forms::PictureBox>* picOdrazka = nullptr;  // natural signs
        forms::ControlArray<forms::PictureBox>* picBecko = nullptr;    // flats
        forms::ControlArray<forms::PictureBox>* picKrizek = nullptr;   // sharps
        forms::CommandButton* cmdStupnice = nullptr;
    };

    explicit clsNotyZapis(const Okno& okno) : okno_(okno) {}

    // The note name of the head whose Top is `Vyska` on the entry staff,
    // spelled as the staff shows it: a natural sign beside the head keeps the
    // plain name, a flat or sharp beside it spells the note with that sign,
    // and a head without a sign of its own takes the key signature of the
    // scale on the scale button. A height that is no staff step raises error
    // 326; a sign beside a name that is no note letter is reported and gives "".
    std::string ZjistiNotu(const std::int16_t& Vyska);

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
    // The key procedures of note recognition: a natural note name spelled in
    // the major key the name says (letters in the key signature get its
    // sharp or flat, the rest of the name is kept; other letters stay).
    vb::Variant UpravNotuGDur(const std::string& Nota);
    vb::Variant UpravNotuDDur(const std::string& Nota);
    vb::Variant UpravNotuADur(const std::string& Nota);
    vb::Variant UpravNotuEDur(const std::string& Nota);
    vb::Variant UpravNotuHDur(const std::string& Nota);
    vb::Variant UpravNotuFisDur(const std::string& Nota);
    vb::Variant UpravNotuCisDur(const std::string& Nota);
    vb::Variant UpravNotuFDur(const std::string& Nota);
    vb::Variant UpravNotuBDur(const std::string& Nota);
    vb::Variant UpravNotuEsDur(const std::string& Nota);
    vb::Variant UpravNotuAsDur(const std::string& Nota);
    vb::Variant UpravNotuDesDur(const std::string& Nota);
    vb::Variant UpravNotuGesDur(const std::string& Nota);
    vb::Variant UpravNotuCesDur(const std::string& Nota);

    Okno okno_;
    std::array<std::string, 5> cervenaNota_;
};
