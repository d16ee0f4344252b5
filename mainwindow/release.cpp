// The "Uvolnit" commands: pressed buttons back to free, the entry staff's
// heads and signs back into their trays, and the key signature parked before
// a new scale is drawn. Only the heads are tied to buttons (through the
// red-note slots); signs are just moved.
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/zapis/notyzapis.h"
#include "platform/vb/conversions.h"

namespace {

void Umisti(forms::PictureBox& obrazek, float top, float left) {
    obrazek.Top = top;
    obrazek.Left = left;
}

}  // namespace

void Form1::ConnectReleaseEvents() {
    cmdUvolDiskant.Click = [this] { cmdUvolDiskant_Click(); };
    cmdUvolBasy.Click = [this] { cmdUvolBasy_Click(); };
    cmdUvolKnofl.Click = [this] { cmdUvolKnofl_Click(); };
    cmdUvolniPultony.Click = [this] { cmdUvolniPultony_Click(); };
    cmdUvolNoty.Click = [this] { cmdUvolNoty_Click(); };
    cmdUvolOdrazky.Click = [this] { cmdUvolOdrazky_Click(); };
}

// One treble button back to free: its pictures, its pressed mark, its key's
// colour and its tone label. The entry staff is left alone: the caller is
// the one moving or clearing the head that lit the button.
void Form1::UvolniKnoflik(std::uint8_t Index) {
    const int i = Index;
    imgDiskant(i).Picture = imgKnoflikVol(DruhKnofliku(imgDiskant(i))).Picture;
    if (MaDruhyObrazek(i)) imgDiskantPom(i).Picture = imgKnoflikVol(DruhKnofliku(imgDiskantPom(i))).Picture;
    lbl(i).Tag = "0";
    cmdKlavesa(i).BackColor = vb::Val(imgDiskant(i).Tag) == 0 ? kBilaKlavesa : kCernaKlavesa;
    lblTonKlav(i).Caption = "";
}

// Head s of the entry staff lets go of the button it lit, and its slot empties.
void Form1::UvolniKnoflikNoty(std::uint8_t s) {
    if (s > 4) return;
    clsNotyZapis& zapis = Zapis();
    std::string knoflik;
    switch (s) {
    case 0: knoflik = zapis.CervenaNota0(); break;
    case 1: knoflik = zapis.CervenaNota1(); break;
    case 2: knoflik = zapis.CervenaNota2(); break;
    case 3: knoflik = zapis.CervenaNota3(); break;
    default: knoflik = zapis.CervenaNota4(); break;
    }
    if (!knoflik.empty()) UvolniKnoflik(vb::CByte(vb::Variant(knoflik)));
    ZrusCervenouNotu(s);
}

void Form1::SmazTonyKlaves() {
    for (int n = 1; n <= 49; ++n) lblTonKlav(n).Caption = "";
}

void Form1::cmdUvolDiskant_Click() {
    UvolniDiskant();
    UvolniKlavesy();
    UvolniIntervaly();
    cmdUvolNoty_Click();
    UvolniPultony();
    UvolniOdrazky();
}

void Form1::cmdUvolBasy_Click() { UvolniBasy(); }

// Everything back to free: the treble side as its own button does it, then
// the basses. The bass buttons share nothing with the treble buttons, the
// keys, the intervals or the entry staff, so the order between the two does
// not matter.
void Form1::cmdUvolKnofl_Click() {
    cmdUvolDiskant_Click();
    cmdUvolBasy_Click();
}

void Form1::cmdUvolniPultony_Click() { UvolniPultony(); }

// Every head to its tray, each first letting go of the button it lit.
void Form1::cmdUvolNoty_Click() {
    for (std::uint8_t i = 0; i <= 2; ++i) {
        UvolniKnoflikNoty(i);
        picNota(i).Top = 8520;
        picNota(i).Left = 1440.f + 120.f * static_cast<float>(i);
    }
    for (std::uint8_t i = 3; i <= 4; ++i) {
        UvolniKnoflikNoty(i);
        picNota(i).Top = 8400;
        picNota(i).Left = 1515.f + 120.f * static_cast<float>(i - 3);
    }
}

void Form1::cmdUvolOdrazky_Click() { UvolniOdrazky(); }

// Flats and sharps in two fans in the tray, the spare two of each kind at the
// fans' outer ends.
void Form1::UvolniPultony() {
    for (int i = 0; i <= 4; ++i) Umisti(picBecko(i), 8400, 1080.f - 90.f * static_cast<float>(i));
    for (int i = 0; i <= 4; ++i) Umisti(picKrizek(i), 8400, 480.f - 90.f * static_cast<float>(i));
    Umisti(picKrizek(5), 8400, 120);
    Umisti(picKrizek(6), 8400, 210);
    Umisti(picBecko(5), 8400, 720);
    Umisti(picBecko(6), 8400, 810);
}

void Form1::UvolniOdrazky() {
    for (int i = 0; i <= 3; ++i) Umisti(picOdrazka(i), 8400, 1200);
    for (int i = 4; i <= 6; ++i) Umisti(picOdrazka(i), 8400, 1280);
}

// The key signature out of the staff band, so the next scale draws only the
// signs it needs. The last two sharps fall left of the tray's edge.
void Form1::UvolniPredznamenani() {
    for (int i = 0; i <= 6; ++i) {
        Umisti(picBeckoStup(i), 7560, 1080.f - 90.f * static_cast<float>(i));
        Umisti(picKrizekStup(i), 7680, 480.f - 90.f * static_cast<float>(i));
    }
}
