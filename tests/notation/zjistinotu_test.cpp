// Note recognition on the entry staff: which sign beside a head wins, and how
// a head without a sign takes the key signature of the scale button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/zapis/notyzapis.h"
#include "platform/forms/forms.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/qt_app.h"

namespace {

using forms::ControlArray;
using forms::PictureBox;

// Head heights of the one-line octave (c1 ... h1) and a few others.
constexpr std::int16_t kC = 9980;     // "c,"
constexpr std::int16_t kE = 9860;     // "e,"
constexpr std::int16_t kH = 9620;     // "h,"
constexpr std::int16_t kC1 = 9560;    // "c1,"
constexpr std::int16_t kH1 = 9200;    // "h1,"
constexpr std::int16_t kF2 = 8960;    // "f2,"
constexpr std::int16_t kF3 = 8540;    // "f3,": its flat height is the trays' row
constexpr std::int16_t kG4 = 8060;    // "g4,"

enum Druh { Odrazka, Becko, Krizek };

// The entry staff as the window designs it: every sign in its tray (Top
// 8400, Left below 1440), the scale button without a scale.
class ZjistiNotuTest : public ::testing::Test {
protected:
    ZjistiNotuTest() {
        for (int i = 0; i <= 6; ++i) {
            odrazky.Load(i, form);
            becka.Load(i, form);
            krizky.Load(i, form);
            beckaStup.Load(i, form);
            krizkyStup.Load(i, form);
        }
        Parkuj();
    }
    // Every sign back in its tray, no scale chosen.
    void Parkuj() {
        for (int i = 0; i <= 6; ++i) {
            Tray(odrazky(i), 1200);
            Tray(becka(i), 1080 - 90 * i);
            Tray(krizky(i), 480 - 60 * i);
            Tray(beckaStup(i), 120 + 120 * i);
            Tray(krizkyStup(i), 120 + 120 * i);
        }
        cmdStupnice.Caption = "Vyberte stupnici";
    }
    static void Tray(PictureBox& p, float left) {
        p.Left = left;
        p.Top = 8400;
    }
    ControlArray<PictureBox>& Pool(Druh druh) {
        return druh == Odrazka ? odrazky : druh == Becko ? becka : krizky;
    }
    // Puts sign `i` of a kind beside the head at `vyska`, in the column a
    // button press uses.
    void Znamenko(Druh druh, int i, int vyska) {
        PictureBox& p = Pool(druh)(i);
        p.Left = druh == Odrazka ? 2100 : 1980;
        p.Top = static_cast<float>(vyska - (druh == Becko ? 140 : 110));
    }

    QApplication& app_ = forms_test::App();
    forms::Form form;
    ControlArray<PictureBox> odrazky{"picOdrazka"};
    ControlArray<PictureBox> becka{"picBecko"};
    ControlArray<PictureBox> krizky{"picKrizek"};
    ControlArray<PictureBox> beckaStup{"picBeckoStup"};
    ControlArray<PictureBox> krizkyStup{"picKrizekStup"};
    forms::CommandButton cmdStupnice{form};
    forms::ScriptedMessageBoxes boxes;
    clsNotyZapis zapis{{.picKrizekStup = krizkyStup,
                        .picBeckoStup = beckaStup,
                        .picOdrazka = &odrazky,
                        .picBecko = &becka,
                        .picKrizek = &krizky,
                        .cmdStupnice = &cmdStupnice}};
};

// c1 ... h1 spelled in each key, heads without signs.
struct KlicOktavy {
    std::string stupnice;
    std::vector<std::string> noty;
};

const std::vector<KlicOktavy> kOktavy = {
    {"Vyberte stupnici", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
    {"C Dur", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
    {"G Dur", {"c1,", "d1,", "e1,", "fis1,", "g1,", "a1,", "h1,"}},
    {"D Dur", {"cis1,", "d1,", "e1,", "fis1,", "g1,", "a1,", "h1,"}},
    {"A Dur", {"cis1,", "d1,", "e1,", "fis1,", "gis1,", "a1,", "h1,"}},
    {"E Dur", {"cis1,", "dis1,", "e1,", "fis1,", "gis1,", "a1,", "h1,"}},
    {"H Dur", {"cis1,", "dis1,", "e1,", "fis1,", "gis1,", "ais1,", "h1,"}},
    {"Fis Dur", {"cis1,", "dis1,", "eis1,", "fis1,", "gis1,", "ais1,", "h1,"}},
    {"Cis Dur", {"cis1,", "dis1,", "eis1,", "fis1,", "gis1,", "ais1,", "his1,"}},
    {"F Dur", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "b1,"}},
    {"B Dur", {"c1,", "d1,", "es1,", "f1,", "g1,", "a1,", "b1,"}},
    {"Es Dur", {"c1,", "d1,", "es1,", "f1,", "g1,", "as1,", "b1,"}},
    {"As Dur", {"c1,", "des1,", "es1,", "f1,", "g1,", "as1,", "b1,"}},
    {"Des Dur", {"c1,", "des1,", "es1,", "f1,", "ges1,", "as1,", "b1,"}},
    {"Ges Dur", {"ces1,", "des1,", "es1,", "f1,", "ges1,", "as1,", "b1,"}},
    {"Ces Dur", {"ces1,", "des1,", "es1,", "fes1,", "ges1,", "as1,", "b1,"}},
    // Captions that are no scale name leave the plain name.
    {"", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
    {"g dur", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
    {"G Dur ", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
    {"Gis Dur", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}},
};

TEST_F(ZjistiNotuTest, HeadsWithoutSignsTakeTheKeySignatureOfTheScaleButton) {
    for (const auto& klic : kOktavy) {
        SCOPED_TRACE(klic.stupnice);
        cmdStupnice.Caption = klic.stupnice;
        for (int krok = 0; krok < 7; ++krok) {
            const std::int16_t vyska = static_cast<std::int16_t>(kC1 - 60 * krok);
            EXPECT_EQ(zapis.ZjistiNotu(vyska), klic.noty[krok]) << "Vyska " << vyska;
        }
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

struct Pripad {
    const char* popis;
    std::string stupnice;
    std::int16_t vyska;
    std::vector<std::pair<Druh, int>> znamenka;  // kind and index, placed beside the head
    std::string ocekavano;
};

const std::vector<Pripad> kPripady = {
    // The whole staff keeps its octaves and commas.
    {"lowest head", "C Dur", kC, {}, "c,"},
    {"highest head", "C Dur", kG4, {}, "g4,"},
    {"lowest head in Ces", "Ces Dur", kC, {}, "ces,"},
    {"lowest head in D", "D Dur", kC, {}, "cis,"},
    {"small octave in F", "F Dur", kH, {}, "b,"},
    {"two-line f in D", "D Dur", kF2, {}, "fis2,"},
    // A sign of its own spells the note, whatever the key says.
    {"flat at e", "Vyberte stupnici", kE, {{Becko, 0}}, "es,"},
    {"flat at h1", "C Dur", kH1, {{Becko, 6}}, "b1,"},
    {"flat at c", "C Dur", kC, {{Becko, 2}}, "ces,"},
    {"sharp at h", "C Dur", kH, {{Krizek, 4}}, "his,"},
    {"sharp at f2", "Vyberte stupnici", kF2, {{Krizek, 0}}, "fis2,"},
    {"sharp replaces the key's flat", "F Dur", kH1, {{Krizek, 0}}, "his1,"},
    {"flat replaces the key's sharp", "D Dur", kC1, {{Becko, 0}}, "ces1,"},
    {"natural cancels the key", "D Dur", kC1, {{Odrazka, 5}}, "c1,"},
    // Precedence between signs at the same head.
    {"natural beats flat and sharp", "F Dur", kH1, {{Becko, 0}, {Krizek, 0}, {Odrazka, 6}}, "h1,"},
    {"natural beats flat and sharp in a key", "Cis Dur", kH1, {{Krizek, 1}, {Becko, 2}, {Odrazka, 3}}, "h1,"},
    {"lower index wins: sharp 1 before flat 3", "C Dur", kH1, {{Krizek, 1}, {Becko, 3}}, "his1,"},
    {"lower index wins: flat 1 before sharp 3", "C Dur", kH1, {{Becko, 1}, {Krizek, 3}}, "b1,"},
    {"same index: flat before sharp", "C Dur", kH1, {{Becko, 2}, {Krizek, 2}}, "b1,"},
};

TEST_F(ZjistiNotuTest, SignsBesideTheHeadDecideInTheirOrder) {
    for (const auto& p : kPripady) {
        SCOPED_TRACE(p.popis);
        Parkuj();
        cmdStupnice.Caption = p.stupnice;
        for (const auto& [druh, i] : p.znamenka) Znamenko(druh, i, p.vyska);
        EXPECT_EQ(zapis.ZjistiNotu(p.vyska), p.ocekavano);
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ZjistiNotuTest, SharpBesideTheHeadIsNotCombinedWithTheKey) {
    cmdStupnice.Caption = "F Dur";
    krizky(3).Left = 1980;
    krizky(3).Top = 9090;
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "his1,");
    cmdStupnice.Caption = "Cis Dur";
    krizky(3).Left = 300;
    krizky(3).Top = 8400;
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "his1,");
    cmdStupnice.Caption = "Fis Dur";
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "h1,");
}

TEST_F(ZjistiNotuTest, SignsElsewhereDoNotBelongToTheHead) {
    cmdStupnice.Caption = "C Dur";
    // The neighbouring heads' signs, a flat at a sharp's height, a sharp at a
    // flat's height, and signs half a twip off.
    Znamenko(Krizek, 0, kH1 + 60);
    Znamenko(Becko, 0, kH1 - 60);
    Znamenko(Odrazka, 0, kH1 + 60);
    becka(1).Left = 1980;
    becka(1).Top = kH1 - 110;
    krizky(1).Left = 1980;
    krizky(1).Top = kH1 - 140;
    odrazky(1).Left = 2100;
    odrazky(1).Top = kH1 - 140;
    becka(2).Left = 1980;
    becka(2).Top = kH1 - 140 + 0.5f;
    krizky(2).Left = 1980;
    krizky(2).Top = kH1 - 110 - 0.5f;
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "h1,");

    // The key signature's own pictures are not signs of a head.
    beckaStup(4).Left = 1390;
    beckaStup(4).Top = 9060;
    krizkyStup(6).Left = 2090;
    krizkyStup(6).Top = 9090;
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "h1,");
}

TEST_F(ZjistiNotuTest, SignsParkedInTheTraysAreNotRead) {
    // Every flat's tray is at the flat height of "f3,"; a parked flat must not
    // make the head a "fes3,", nor a parked sign anything else.
    EXPECT_EQ(zapis.ZjistiNotu(kF3), "f3,");
    // Just left of the staff limit still counts as parked.
    becka(5).Left = 1439.9f;
    EXPECT_EQ(zapis.ZjistiNotu(kF3), "f3,");
    // A flat on the staff at that height is the head's flat, in either column.
    becka(5).Left = 1440;
    EXPECT_EQ(zapis.ZjistiNotu(kF3), "fes3,");
    becka(5).Left = 810;
    becka(0).Left = 1980;
    EXPECT_EQ(zapis.ZjistiNotu(kF3), "fes3,");
    // A natural in its tray does not cancel the key.
    cmdStupnice.Caption = "D Dur";
    odrazky(2).Top = kC1 - 110;
    EXPECT_EQ(zapis.ZjistiNotu(kC1), "cis1,");
}

TEST_F(ZjistiNotuTest, HeightsBetweenStaffStepsRaiseToTheCaller) {
    for (int vyska : {9981, 9979, 9950, 8000, 10040, 9590}) {
        try {
            zapis.ZjistiNotu(static_cast<std::int16_t>(vyska));
            ADD_FAILURE() << vyska << " gave a name";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 326) << vyska;
        }
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ZjistiNotuTest, MissingControlsRaiseToTheCaller) {
    // A sign element missing from the pool is reached only when no earlier
    // element answered.
    becka.Unload(3);
    Znamenko(Krizek, 2, kH1);
    EXPECT_EQ(zapis.ZjistiNotu(kH1), "his1,");
    krizky(2).Left = 300;
    try {
        zapis.ZjistiNotu(kH1);
        ADD_FAILURE() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 340);
    }

    // An object made only to draw key signatures cannot recognise notes.
    clsNotyZapis kresli{{krizkyStup, beckaStup}};
    try {
        kresli.ZjistiNotu(kH1);
        ADD_FAILURE() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

}  // namespace
