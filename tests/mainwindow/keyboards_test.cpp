// The main window's keyboards: the bass layout, the releases of the treble
// buttons, piano keys and basses, the song controls, and the window's
// key-signature drawer. The window is built without being loaded: none of
// this needs the spreadsheet.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "tests/support/qt_app.h"

namespace {

using forms::OleColor;

// The tones of the treble side that are black keys on the piano.
const std::set<int> kCerne = {3, 5, 7, 10, 12, 15, 17, 19, 22, 24, 27, 29, 31, 34, 36, 39, 41, 43, 46, 48};

// The buttons that the keyboard shows twice: 2-49 except the multiples of 3.
std::vector<int> DvojiKnofliky() {
    std::vector<int> n;
    for (int i = 2; i <= 49; ++i)
        if (i % 3 != 0) n.push_back(i);
    return n;
}

class KeyboardsTest : public ::testing::Test {
protected:
    QApplication& app_ = forms_test::App();
    Form1 form;
};

// ---- Bass layout ----------------------------------------------------------

TEST_F(KeyboardsTest, BassButtonsStandInSixSlantedColumns) {
    // Start from places that have nothing to do with the layout, so every
    // position checked below was set by the layout itself (column 1 keeps
    // its designed Left).
    for (int b = 1; b <= 120; ++b) {
        form.ImgBas(b).Top = 50.f + static_cast<float>(b);
        if (b > 20) form.ImgBas(b).Left = 7000.f + static_cast<float>(b);
    }

    form.RozmistiBasy();

    int overeno = 0;
    for (int sloupec = 0; sloupec < 6; ++sloupec) {
        for (int misto = 0; misto < 20; ++misto) {
            const int b = 20 * sloupec + misto + 1;
            SCOPED_TRACE("ImgBas " + std::to_string(b));
            EXPECT_EQ(form.ImgBas(b).Left, 3240.f - 300.f * static_cast<float>(sloupec));
            EXPECT_EQ(form.ImgBas(b).Top, 1560.f + 150.f * static_cast<float>(sloupec) + 300.f * static_cast<float>(misto));
            ++overeno;
        }
    }
    EXPECT_EQ(overeno, 120);

    EXPECT_EQ(form.ImgBas(21).Left, 2940.f);
    EXPECT_EQ(form.ImgBas(21).Top, 1710.f);
    EXPECT_EQ(form.ImgBas(120).Left, 1740.f);
    EXPECT_EQ(form.ImgBas(120).Top, 8010.f);
    EXPECT_EQ(form.ImgBas(20).Top, 7260.f);
}

TEST_F(KeyboardsTest, BassColumnsFollowTheFirstButtonsLeftRounded) {
    struct Pripad {
        float left1;
        float left21;  // column 2: the first Left rounded, less 300
    };
    const std::vector<Pripad> pripady = {{3240.f, 2940.f}, {3240.4f, 2940.f}, {3240.6f, 2941.f},
                                         {3000.f, 2700.f}, {3241.5f, 2942.f}};
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.left1);
        form.ImgBas(1).Left = p.left1;
        form.ImgBas(20).Left = 3333;
        form.RozmistiBasy();
        // Column 1 keeps the Lefts it has.
        EXPECT_EQ(form.ImgBas(1).Left, p.left1);
        EXPECT_EQ(form.ImgBas(20).Left, 3333.f);
        EXPECT_EQ(form.ImgBas(21).Left, p.left21);
        EXPECT_EQ(form.ImgBas(40).Left, p.left21);
        EXPECT_EQ(form.ImgBas(101).Left, p.left21 - 1200.f);
    }
}

// ---- Treble release -------------------------------------------------------

TEST_F(KeyboardsTest, FreeTreblePicturesAreDistinctAndNotEmpty) {
    const auto& bila = form.imgKnoflikVol(0).Picture.get();
    const auto& cerna = form.imgKnoflikVol(1).Picture.get();
    EXPECT_FALSE(bila.IsEmpty());
    EXPECT_FALSE(cerna.IsEmpty());
    EXPECT_FALSE(bila == cerna);
}

TEST_F(KeyboardsTest, TrebleReleaseGivesEveryButtonItsFreeLookAndEmptiesTheStaff) {
    // Everything pressed, read and shown first.
    for (int n = 1; n <= 49; ++n) {
        const int vzhled = kCerne.count(n) ? 1 : 0;
        form.imgDiskant(n).Picture = form.imgKnofCerv(vzhled).Picture;
        form.lbl(n).Tag = "1";
        form.lbl(n).Caption = "l" + std::to_string(n);
    }
    for (int n : DvojiKnofliky()) {
        form.imgDiskantPom(n).Picture = form.imgKnofTah2.Picture;
        form.lblSynchro(n).Caption = "s" + std::to_string(n);
    }
    for (int i = 0; i <= 4; ++i) {
        form.imgNota(i).Visible = true;
        form.imgNota(i).Top = 9000;
        form.imgBecko(i).Visible = true;
        form.imgBecko(i).Top = 9000;
        form.imgKrizek(i).Visible = true;
        form.imgKrizek(i).Top = 9000;
    }
    form.imgNota(5).Visible = true;
    form.imgNota(5).Top = 1000;

    form.UvolniDiskant();

    for (int n = 1; n <= 49; ++n) {
        SCOPED_TRACE("button " + std::to_string(n));
        const int vzhled = kCerne.count(n) ? 1 : 0;
        EXPECT_TRUE(form.imgDiskant(n).Picture == form.imgKnoflikVol(vzhled).Picture);
        EXPECT_EQ(form.lbl(n).Tag, "0");
        EXPECT_EQ(form.lbl(n).Caption, "l" + std::to_string(n));
    }
    int druhych = 0;
    for (int n : DvojiKnofliky()) {
        SCOPED_TRACE("second picture " + std::to_string(n));
        const int vzhled = kCerne.count(n) ? 1 : 0;
        EXPECT_TRUE(form.imgDiskantPom(n).Picture == form.imgKnoflikVol(vzhled).Picture);
        EXPECT_EQ(form.lblSynchro(n).Caption, "s" + std::to_string(n));
        ++druhych;
    }
    EXPECT_EQ(druhych, 32);
    for (int i = 0; i <= 4; ++i) {
        SCOPED_TRACE("staff slot " + std::to_string(i));
        EXPECT_FALSE(form.imgNota(i).Visible);
        EXPECT_EQ(form.imgNota(i).Top, 9980.f);
        EXPECT_FALSE(form.imgBecko(i).Visible);
        EXPECT_EQ(form.imgBecko(i).Top, 9840.f);
        EXPECT_FALSE(form.imgKrizek(i).Visible);
        EXPECT_EQ(form.imgKrizek(i).Top, 9880.f);
    }
    // The strip's slots are not the reading staff's.
    EXPECT_TRUE(form.imgNota(5).Visible);
    EXPECT_EQ(form.imgNota(5).Top, 1000.f);
}

TEST_F(KeyboardsTest, TrebleFreeLookFollowsEachPicturesOwnTag) {
    // A button pressed in recording gets back the look its own Tag names,
    // whatever the tone is.
    form.imgDiskant(2).Tag = "1";
    form.imgDiskant(3).Tag = "0";
    form.imgDiskantPom(4).Tag = "1";
    form.imgDiskant(2).Picture = form.imgKnofCerv(0).Picture;
    form.imgDiskant(3).Picture = form.imgKnofCerv(1).Picture;
    form.UvolniDiskant();
    EXPECT_TRUE(form.imgDiskant(2).Picture == form.imgKnoflikVol(1).Picture);
    EXPECT_TRUE(form.imgDiskant(3).Picture == form.imgKnoflikVol(0).Picture);
    EXPECT_TRUE(form.imgDiskantPom(4).Picture == form.imgKnoflikVol(1).Picture);
}

// ---- Piano keys -----------------------------------------------------------

TEST_F(KeyboardsTest, PianoKeysGetTheirFreeColourBack) {
    constexpr OleColor tlak = 0x800080;
    for (int n = 1; n <= 49; ++n) {
        form.cmdKlavesa(n).BackColor = tlak;
        form.lbl(n).Tag = "1";
    }

    form.UvolniKlavesy();

    for (int n = 1; n <= 49; ++n) {
        SCOPED_TRACE("key " + std::to_string(n));
        if (kCerne.count(n)) {
            EXPECT_EQ(form.cmdKlavesa(n).BackColor, 0x80000008u);
            EXPECT_EQ(form.lbl(n).Tag, "0");
        } else {
            EXPECT_EQ(form.cmdKlavesa(n).BackColor, 0x80000009u);
            EXPECT_EQ(form.lbl(n).Tag, "1");  // only the black keys' labels are freed here
        }
    }
    EXPECT_EQ(form.cmdKlavesa(3).BackColor, 0x80000008u);
    EXPECT_EQ(form.cmdKlavesa(2).BackColor, 0x80000009u);
}

TEST_F(KeyboardsTest, PianoKeyColourFollowsTheKeysTag) {
    form.cmdKlavesa(2).Tag = "1";
    form.cmdKlavesa(3).Tag = "x";  // not a number: not a black key
    form.cmdKlavesa(5).Tag = "1.0";
    form.UvolniKlavesy();
    EXPECT_EQ(form.cmdKlavesa(2).BackColor, 0x80000008u);
    EXPECT_EQ(form.cmdKlavesa(3).BackColor, 0x80000009u);
    EXPECT_EQ(form.cmdKlavesa(5).BackColor, 0x80000008u);
}

// ---- Bass release ---------------------------------------------------------

TEST_F(KeyboardsTest, BassReleaseGivesTheFreePicturesAndClearsThePressedMarks) {
    EXPECT_FALSE(form.imgBaVol.Picture == form.imgBaVolC.Picture);
    EXPECT_FALSE(form.imgBaVol.Picture == form.imgBaVolMriz.Picture);
    EXPECT_FALSE(form.imgBaVolC.Picture == form.imgBaVolMriz.Picture);
    EXPECT_FALSE(form.imgBaVol.Picture.get().IsEmpty());

    for (int b = 1; b <= 120; ++b) {
        form.ImgBas(b).Picture = form.imgBaCerv1.Picture;
        form.ImgBas(b).Tag = "1";
    }

    form.UvolniBasy();

    for (int b = 1; b <= 120; ++b) {
        SCOPED_TRACE("bass " + std::to_string(b));
        EXPECT_EQ(form.ImgBas(b).Tag, "0");
        if (b == 30)
            EXPECT_TRUE(form.ImgBas(b).Picture == form.imgBaVolC.Picture);
        else if (b == 26 || b == 34)
            EXPECT_TRUE(form.ImgBas(b).Picture == form.imgBaVolMriz.Picture);
        else
            EXPECT_TRUE(form.ImgBas(b).Picture == form.imgBaVol.Picture);
    }
}

// ---- Song controls --------------------------------------------------------

std::vector<std::pair<const char*, forms::Control*>> OvladaniPisne(Form1& f) {
    return {{"cmdTah", &f.cmdTah},           {"cmdTlak", &f.cmdTlak},           {"cmdTahNoty", &f.cmdTahNoty},
            {"cmdTlakNoty", &f.cmdTlakNoty}, {"cmdReadTah", &f.cmdReadTah},     {"cmdReadTlak", &f.cmdReadTlak},
            {"cmdEndEdit", &f.cmdEndEdit},   {"cmdPrvni", &f.cmdPrvni},         {"cmdDalsi", &f.cmdDalsi},
            {"cmdPredchozi", &f.cmdPredchozi}, {"cmdPredTlak", &f.cmdPredTlak}, {"cmdPredTah", &f.cmdPredTah},
            {"cmdJakDalZpet", &f.cmdJakDalZpet}, {"cmdPosledni", &f.cmdPosledni}, {"cmdDalsiTlak", &f.cmdDalsiTlak},
            {"cmdDalsiTah", &f.cmdDalsiTah}, {"cmdJakDal", &f.cmdJakDal},       {"cmdTimer", &f.cmdTimer}};
}

TEST_F(KeyboardsTest, SongControlsSwitchOnAndOffTogether) {
    // The song-opening controls belong to the song life cycle, not here.
    form.cmdEdit.Enabled = false;
    form.cmdNovaSkladba.Enabled = true;
    form.mnuOtevrit(3).Enabled = false;
    form.mnuNovaPisen(2).Enabled = true;

    form.PovolOvladaniPisne();
    for (auto& [jmeno, c] : OvladaniPisne(form)) EXPECT_TRUE(c->Enabled) << jmeno;
    EXPECT_TRUE(form.Slider1.Visible);
    EXPECT_TRUE(form.lblTempo.Visible);
    EXPECT_TRUE(form.mnuKonecPisne(4).Enabled);

    form.ZakazOvladaniPisne();
    for (auto& [jmeno, c] : OvladaniPisne(form)) EXPECT_FALSE(c->Enabled) << jmeno;
    EXPECT_FALSE(form.Slider1.Visible);
    EXPECT_FALSE(form.lblTempo.Visible);
    EXPECT_FALSE(form.mnuKonecPisne(4).Enabled);

    EXPECT_FALSE(form.cmdEdit.Enabled);
    EXPECT_TRUE(form.cmdNovaSkladba.Enabled);
    EXPECT_FALSE(form.mnuOtevrit(3).Enabled);
    EXPECT_TRUE(form.mnuNovaPisen(2).Enabled);
}

TEST_F(KeyboardsTest, ClosingHidesTheSoundButtonsOpeningLeavesThem) {
    for (int i = 0; i <= 2; ++i) form.cmdZvuk(i).Visible = true;
    form.ZakazOvladaniPisne();
    for (int i = 0; i <= 2; ++i) EXPECT_FALSE(form.cmdZvuk(i).Visible) << i;

    form.cmdZvuk(1).Visible = true;
    form.PovolOvladaniPisne();
    EXPECT_FALSE(form.cmdZvuk(0).Visible);
    EXPECT_TRUE(form.cmdZvuk(1).Visible);
    EXPECT_FALSE(form.cmdZvuk(2).Visible);
}

// ---- The window's key-signature drawer and red-note slots -----------------

struct Poloha {
    float left, top;
    bool operator==(const Poloha&) const = default;
};

std::vector<Poloha> Polohy(const forms::ControlArray<forms::PictureBox>& a) {
    std::vector<Poloha> p;
    for (int i = 0; i <= 6; ++i) p.push_back({a(i).Left, a(i).Top});
    return p;
}

TEST_F(KeyboardsTest, WindowsZapisIsOneObjectForTheWindowsLife) {
    clsNotyZapis& prvni = form.Zapis();
    EXPECT_EQ(prvni.CervenaNota0(), "");
    EXPECT_EQ(prvni.CervenaNota4(), "");
    prvni.CervenaNota3("17");
    EXPECT_EQ(&form.Zapis(), &prvni);
    EXPECT_EQ(form.Zapis().CervenaNota3(), "17");
}

TEST_F(KeyboardsTest, WindowsZapisDrawsOnTheWindowsKeySignature) {
    struct Ocekavani {
        std::string stupnice;
        std::vector<std::pair<int, Poloha>> krizky;  // element, place
        std::vector<std::pair<int, Poloha>> becka;
    };
    const std::vector<Ocekavani> pripady = {
        {"G Dur", {{0, {1490, 8850}}}, {}},
        {"D Dur", {{0, {1490, 8850}}, {1, {1590, 9030}}}, {}},
        {"Cis Dur",
         {{0, {1490, 8850}}, {1, {1590, 9030}}, {2, {1690, 8790}}, {3, {1790, 8970}}, {4, {1890, 9150}},
          {5, {1990, 8910}}, {6, {2090, 9090}}},
         {}},
        {"F Dur", {}, {{4, {1390, 9060}}}},
        {"Ces Dur",
         {},
         {{0, {1390, 9060}}, {1, {1490, 8880}}, {2, {1590, 9120}}, {3, {1690, 8940}}, {4, {1790, 9180}},
          {5, {1890, 9000}}, {6, {1990, 9240}}}},
        {"C Dur", {}, {}},
        {"Vyberte stupnici", {}, {}},
    };
    const auto navrhKrizky = Polohy(form.picKrizekStup);
    const auto navrhBecka = Polohy(form.picBeckoStup);
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.stupnice);
        Form1 okno;  // every key from the design's places
        okno.Zapis().NastavStupnici(p.stupnice);
        auto krizky = navrhKrizky;
        for (const auto& [i, misto] : p.krizky) krizky[i] = misto;
        auto becka = navrhBecka;
        for (const auto& [i, misto] : p.becka) becka[i] = misto;
        EXPECT_TRUE(Polohy(okno.picKrizekStup) == krizky);
        EXPECT_TRUE(Polohy(okno.picBeckoStup) == becka);
    }
}

}  // namespace
