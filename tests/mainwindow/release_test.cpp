// The release commands: buttons back to free, the entry staff's heads and
// signs back into their trays, the key signature parked, and the tone
// labels cleared. The window is built without being loaded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "tests/support/qt_app.h"

namespace {

constexpr forms::OleColor kStisknuta = 255;
constexpr forms::OleColor kBila = 0x80000009;
constexpr forms::OleColor kCerna = 0x80000008;

struct Misto {
    float top;
    float left;
    bool operator==(const Misto&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Misto& m) { return o << "(" << m.top << ", " << m.left << ")"; }

Misto Kde(const forms::PictureBox& p) { return {p.Top, p.Left}; }

class ReleaseTest : public ::testing::Test {
protected:
    QApplication& app_ = forms_test::App();
    Form1 form;

    // Button n pressed as a click presses it: red pictures, mark, red key, tone label.
    void Stiskni(int n, const std::string& ton) {
        const int druh = form.imgDiskant(n).Tag == "1" ? 1 : 0;
        form.imgDiskant(n).Picture = form.imgKnofCerv(druh).Picture;
        if (form.imgDiskantPom.Exists(n)) form.imgDiskantPom(n).Picture = form.imgKnofCerv(druh).Picture;
        form.lbl(n).Tag = "1";
        form.cmdKlavesa(n).BackColor = kStisknuta;
        form.lblTonKlav(n).Caption = ton;
    }
    void OcekavejVolny(int n) {
        SCOPED_TRACE("button " + std::to_string(n));
        const int druh = form.imgDiskant(n).Tag == "1" ? 1 : 0;
        EXPECT_EQ(form.imgDiskant(n).Picture.get(), form.imgKnoflikVol(druh).Picture.get());
        if (form.imgDiskantPom.Exists(n)) {
            EXPECT_EQ(form.imgDiskantPom(n).Picture.get(), form.imgKnoflikVol(druh).Picture.get());
        }
        EXPECT_EQ(form.lbl(n).Tag, "0");
        EXPECT_EQ(form.cmdKlavesa(n).BackColor, druh ? kCerna : kBila);
    }
    void OcekavejStisknuty(int n) {
        SCOPED_TRACE("button " + std::to_string(n));
        EXPECT_EQ(form.lbl(n).Tag, "1");
        EXPECT_EQ(form.cmdKlavesa(n).BackColor, kStisknuta);
        EXPECT_NE(form.imgDiskant(n).Picture.get(), form.imgKnoflikVol(0).Picture.get());
    }
    // Every head and sign of the entry staff put somewhere on the staff.
    void VsePolozNaOsnovu() {
        for (int i = 0; i <= 4; ++i) form.picNota(i).Move(2250.f + 200.f * static_cast<float>(i), 9380);
        for (int i = 0; i <= 6; ++i) {
            form.picBecko(i).Move(2000, 9240);
            form.picKrizek(i).Move(2000, 9270);
            form.picOdrazka(i).Move(2100, 9270);
        }
    }
    std::vector<std::string> Sloty() {
        auto& z = form.Zapis();
        return {z.CervenaNota0(), z.CervenaNota1(), z.CervenaNota2(), z.CervenaNota3(), z.CervenaNota4()};
    }
    void OcekavejPultonyVZasobniku() {
        const float becka[] = {1080, 990, 900, 810, 720, 720, 810};
        const float krizky[] = {480, 390, 300, 210, 120, 120, 210};
        for (int i = 0; i <= 6; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Kde(form.picBecko(i)), (Misto{8400, becka[i]}));
            EXPECT_EQ(Kde(form.picKrizek(i)), (Misto{8400, krizky[i]}));
        }
    }
    void OcekavejHlavyVZasobniku() {
        const Misto hlavy[] = {{8520, 1440}, {8520, 1560}, {8520, 1680}, {8400, 1515}, {8400, 1635}};
        for (int i = 0; i <= 4; ++i) {
            EXPECT_EQ(Kde(form.picNota(i)), hlavy[i]) << i;
            EXPECT_LT(form.picNota(i).Left, 1700) << "a head left of 1700 is free";
        }
    }
    void OcekavejOdrazkyVZasobniku() {
        for (int i = 0; i <= 6; ++i) EXPECT_EQ(Kde(form.picOdrazka(i)), (Misto{8400, i <= 3 ? 1200.f : 1280.f})) << i;
    }
};

// Two heads placed by button presses (f1, and fis1,: one with a second
// picture, one without): both buttons go free, both slots empty, the heads to
// their trays; the signs stay on the staff, and a button no head lit stays pressed.
TEST_F(ReleaseTest, ReleasingNotesFreesTheButtonsTheHeadsLit) {
    VsePolozNaOsnovu();
    Stiskni(14, "f1,");
    Stiskni(15, "fis1,");
    Stiskni(20, "h1,");
    form.Zapis().CervenaNota0("14");
    form.Zapis().CervenaNota3("15");

    form.cmdUvolNoty.Click();

    OcekavejVolny(14);
    OcekavejVolny(15);
    EXPECT_EQ(form.lblTonKlav(14).Caption.get(), "");
    EXPECT_EQ(form.lblTonKlav(15).Caption.get(), "");
    OcekavejStisknuty(20);
    EXPECT_EQ(form.lblTonKlav(20).Caption.get(), "h1,");
    EXPECT_EQ(Sloty(), std::vector<std::string>(5, ""));
    OcekavejHlavyVZasobniku();
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(Kde(form.picBecko(i)), (Misto{9240, 2000}));
        EXPECT_EQ(Kde(form.picOdrazka(i)), (Misto{9270, 2100}));
    }
}

TEST_F(ReleaseTest, ReleasingOneButtonLeavesTheStaffAlone) {
    VsePolozNaOsnovu();
    Stiskni(47, "dis4,");
    Stiskni(48, "e4,");
    form.UvolniKnoflik(47);
    form.UvolniKnoflik(48);
    OcekavejVolny(47);
    OcekavejVolny(48);
    EXPECT_EQ(form.lblTonKlav(47).Caption.get(), "");
    EXPECT_EQ(Kde(form.picNota(0)), (Misto{9380, 2250}));
}

TEST_F(ReleaseTest, TheFlatButtonMovesOnlyTheSigns) {
    VsePolozNaOsnovu();
    Stiskni(14, "f1,");
    form.Zapis().CervenaNota0("14");

    form.cmdUvolniPultony.Click();

    OcekavejPultonyVZasobniku();
    OcekavejStisknuty(14);
    EXPECT_EQ(Sloty()[0], "14");
    EXPECT_EQ(Kde(form.picNota(0)), (Misto{9380, 2250}));
    EXPECT_EQ(Kde(form.picOdrazka(0)), (Misto{9270, 2100}));
}

TEST_F(ReleaseTest, NaturalSignsGoToTheirTwoPlaces) {
    VsePolozNaOsnovu();
    form.cmdUvolOdrazky.Click();
    OcekavejOdrazkyVZasobniku();
    EXPECT_EQ(Kde(form.picBecko(0)), (Misto{9240, 2000}));
}

// The flats park in the row 7560 and the sharps in 7680; the last two
// sharps follow the same fan, the last one left of the container's edge.
TEST_F(ReleaseTest, KeySignatureIsParkedAboveTheStaffBand) {
    form.Zapis().NastavStupnici("Cis Dur");
    form.UvolniPredznamenani();
    for (int i = 0; i <= 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Kde(form.picBeckoStup(i)), (Misto{7560, 1080.f - 90.f * static_cast<float>(i)}));
        EXPECT_EQ(Kde(form.picKrizekStup(i)), (Misto{7680, 480.f - 90.f * static_cast<float>(i)}));
    }
    EXPECT_EQ(form.picKrizekStup(5).Left, 30);
    EXPECT_EQ(form.picKrizekStup(6).Left, -60);
}

// "Uvolnit diskant" clears the treble side, the interval buttons and the
// whole entry staff, and leaves the basses; "Uvolnit vše" frees them too.
TEST_F(ReleaseTest, TrebleReleaseKeepsTheBassesAndTheWholeReleaseFreesThem) {
    for (bool vse : {false, true}) {
        SCOPED_TRACE(vse ? "Uvolnit vše" : "Uvolnit diskant");
        VsePolozNaOsnovu();
        Stiskni(14, "f1,");
        Stiskni(3, "fis,");
        form.Zapis().CervenaNota1("3");
        form.ImgBas(5).Tag = "1";
        form.ImgBas(5).Picture = form.imgBaCerv1.Picture;
        form.cmdInterval(2).BackColor = 0x4080;
        form.cmdInterval(2).Enabled = false;
        form.cmdSpodInterval(14).Enabled = false;
        form.imgNota(0).Visible = true;

        (vse ? form.cmdUvolKnofl : form.cmdUvolDiskant).Click();

        OcekavejVolny(14);
        OcekavejVolny(3);
        EXPECT_EQ(Sloty(), std::vector<std::string>(5, ""));
        EXPECT_TRUE(form.cmdInterval(2).Enabled);
        EXPECT_EQ(form.cmdInterval(2).BackColor, forms::OleColor{0x8000000B});
        EXPECT_TRUE(form.cmdSpodInterval(14).Enabled);
        EXPECT_FALSE(form.imgNota(0).Visible);
        OcekavejHlavyVZasobniku();
        OcekavejPultonyVZasobniku();
        OcekavejOdrazkyVZasobniku();
        EXPECT_EQ(form.ImgBas(5).Tag, vse ? "0" : "1");
        EXPECT_EQ(form.ImgBas(5).Picture.get(), vse ? form.imgBaVol.Picture.get() : form.imgBaCerv1.Picture.get());
    }
}

TEST_F(ReleaseTest, TheBassButtonFreesOnlyTheBasses) {
    Stiskni(14, "f1,");
    form.ImgBas(30).Tag = "1";
    form.ImgBas(30).Picture = form.imgBaStiskC.Picture;
    form.cmdUvolBasy.Click();
    EXPECT_EQ(form.ImgBas(30).Tag, "0");
    EXPECT_EQ(form.ImgBas(30).Picture.get(), form.imgBaVolC.Picture.get());
    OcekavejStisknuty(14);
}

TEST_F(ReleaseTest, ToneLabelsAreAllCleared) {
    for (int n = 1; n <= 49; ++n) form.lblTonKlav(n).Caption = "x";
    form.SmazTonyKlaves();
    for (int n = 1; n <= 49; ++n) EXPECT_EQ(form.lblTonKlav(n).Caption.get(), "") << n;
}

}  // namespace
