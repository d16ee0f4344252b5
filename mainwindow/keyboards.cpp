// Keyboard layout and resets: where the bass buttons stand, and how the
// treble buttons, the piano keys and the bass buttons are brought back to
// their free look; the song controls switched on and off together.
#include <cstdint>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/vb/conversions.h"

namespace {

// The controls that work only on an open song, switched on or off together
// in one order: the back buttons go between the writing, reading and first
// steps and the rest of the stepping.
void PrepniOvladaniPisne(Form1& f, bool zapnout) {
    for (forms::CommandButton* b : {&f.cmdTah, &f.cmdTlak, &f.cmdTahNoty, &f.cmdTlakNoty, &f.cmdReadTah,
                                    &f.cmdReadTlak, &f.cmdEndEdit, &f.cmdPrvni, &f.cmdDalsi})
        b->Enabled = zapnout;
    if (zapnout) f.PovolKrokZpet();
    else f.ZakazKrokZpet();
    for (forms::CommandButton* b :
         {&f.cmdPosledni, &f.cmdDalsiTlak, &f.cmdDalsiTah, &f.cmdJakDal, &f.cmdJakDalZpet, &f.cmdTimer})
        b->Enabled = zapnout;
    f.Slider1.Visible = zapnout;
    f.lblTempo.Visible = zapnout;
    f.mnuKonecPisne(4).Enabled = zapnout;
}

}  // namespace

// Six columns of twenty bass buttons, each column 300 further left and 150
// further down than the one before; column 1 keeps its designed Left.
void Form1::RozmistiBasy() {
    float y = 1260;
    for (int b = 1; b <= 20; ++b) {
        y += 300;
        ImgBas(b).Top = y;
    }
    auto x = static_cast<float>(vb::RoundHalfEven(ImgBas(1).Left - 300.0));
    for (int c = 2; c <= 6; ++c) {
        y = 1260 + 150.f * static_cast<float>(c - 1);
        for (int b = 20 * (c - 1) + 1; b <= 20 * c; ++b) {
            y += 300;
            ImgBas(b).Top = y;
            ImgBas(b).Left = x;
        }
        x -= 300;
    }
}

// Every treble button free (its white- or black-key picture), no label marked
// as pressed, no finger text of a reading left, and the reading staff empty.
// The tone names on the buttons stay.
void Form1::UvolniDiskant() {
    SmazPrstoklad();
    for (int n = 1; n <= 49; ++n) {
        imgDiskant(n).Picture = imgKnoflikVol(DruhKnofliku(imgDiskant(n))).Picture;
        lbl(n).Tag = "0";
    }
    // Only the buttons shown twice have a second picture: 2, 5, ... 47 and 4, 7, ... 49.
    for (int n = 2; n <= 47; n += 3)
        imgDiskantPom(n).Picture = imgKnoflikVol(DruhKnofliku(imgDiskantPom(n))).Picture;
    for (int n = 4; n <= 49; n += 3)
        imgDiskantPom(n).Picture = imgKnoflikVol(DruhKnofliku(imgDiskantPom(n))).Picture;

    for (int i = 0; i <= 4; ++i) {
        imgNota(i).Visible = false;
        imgNota(i).Top = 9980;
        imgBecko(i).Visible = false;
        imgBecko(i).Top = 9840;
        imgKrizek(i).Visible = false;
        imgKrizek(i).Top = 9880;
    }
}

// Every piano key back in its free colour.
void Form1::UvolniKlavesy() {
    for (int n = 1; n <= 49; ++n) {
        if (vb::Val(cmdKlavesa(n).Tag) != 1) {
            cmdKlavesa(n).BackColor = kBilaKlavesa;
        } else {
            cmdKlavesa(n).BackColor = kCernaKlavesa;
            lbl(n).Tag = "0";
        }
    }
}

// Every bass button free: the plain picture, the ridged one on 26 and 34 and
// the marked C on 30. Each button is given its own free picture at once, so
// that a marked button that was free already does not change (and repaint)
// twice on every step.
void Form1::UvolniBasy() {
    for (int b = 1; b <= 120; ++b) {
        ImgBas(b).Tag = "0";
        ImgBas(b).Picture = b == 26 || b == 34 ? imgBaVolMriz.Picture : b == 30 ? imgBaVolC.Picture : imgBaVol.Picture;
    }
}

void Form1::PovolOvladaniPisne() { PrepniOvladaniPisne(*this, true); }

// No sound button is left either once no song is open.
void Form1::ZakazOvladaniPisne() {
    PrepniOvladaniPisne(*this, false);
    for (int i = 0; i <= 2; ++i) cmdZvuk(i).Visible = false;
}
