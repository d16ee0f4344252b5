// The entry staff and the treble keyboard kept together: a press draws the
// note (asking about a tone outside the scale), a release takes it away, a
// dropped head presses its button; the pools hand out and park their
// pictures by height.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "resources/bitmaps/pictures.h"
#include "tests/mainwindow/recording/recording_fixture.h"

namespace {

using namespace recording_test;

Box Otazka(const std::string& ton, const std::string& stupnice, bool posuvka) {
    return {"Nota " + ton + " se ve stupnici " + stupnice + " nepoužívá.\r" +
                (posuvka ? "Pokud skladba pokračuje v jiné stupnici, stiskněte tlačítko Ne a pak zvolte jinou "
                           "stupnici.\rPřejete-li si i přes upozornění zvolenou notu zapsat, stiskněte Ano a pak Vámi "
                           "požadované tlačítko pro zápis."
                         : "Můžete použít odrážku pro dočasné zrušení půltónu, nebo zvolit jinou stupnici.\rPřejete "
                           "si použít odrážku ?"),
            forms::vbQuestion + forms::vbYesNoCancel, "Nota je mimo stupnici."};
}

const Box kOmezeni{"Nota v osnově pro zápis se nezobrazí. Maximální počet současně stisknutých knoflíků pro jeden "
                   "hmat je pět.\rExistuje důvodné podezření, že máte jen pět prstů na pravé ruce.",
                   forms::vbExclamation, "Omezení !"};
const Box kNeplatna{"Nota není platná pro Belmoru. Nebude zapsána a procedura bude předčasně ukončena. Upozorněte "
                    "prosím na tuto chybu autora programu.",
                    forms::vbCritical, "Chyba programu"};

class NotesTest : public RecordingFixture {};

// Out of the scale: a sharp asked about (question A) and drawn on Yes; a
// natural asked about (question B) and drawn on Yes, each in its column.
TEST_F(NotesTest, ATonOutsideTheScaleIsAskedAboutAndDrawnWithItsSign) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    Boxes().Answer(forms::vbYes);
    f.lbl(15).Click();  // fis1,
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{Otazka("fis1,", "C Dur", true)});
    EXPECT_EQ(Kde(f.picKrizek(0)), (Misto{1980, 9270}));
    EXPECT_EQ(Kde(f.picNota(0)), (Misto{2250, 9380}));
    EXPECT_EQ(Sloty(f)[0], "15");
    EXPECT_EQ(f.lblTonKlav(15).Caption.get(), "fis1,");
    f.lbl(15).Click();

    Stupnice(f, "G Dur");
    Boxes().Answer(forms::vbYes);
    f.lbl(14).Click();  // f1, in G Dur
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{Otazka("f1,", "G Dur", false)});
    EXPECT_EQ(Kde(f.picOdrazka(0)), (Misto{2100, 9270}));
    EXPECT_EQ(Kde(f.picNota(0)), (Misto{2250, 9380}));

    // A natural sign already at the height: no question; the head already there is shared.
    f.lbl(14).Click();
    f.picOdrazka(3).Move(2100, 9270);
    f.lbl(14).Click();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(HlavyNaOsnove(f).size(), 1u);
}

// No: the scale dialog. Asked again, in the new scale's spelling, while the
// chosen scale still lacks the tone; a scale that holds it draws it without
// a question, spelled as that scale spells it (its key-signature flat serves
// the note).
TEST_F(NotesTest, NoLetsTheUserChooseAScaleUntilOneHoldsTheTone) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    VolbyStupnice({"F Dur", "Ges Dur"});
    Boxes().Answer(forms::vbNo);
    Boxes().Answer(forms::vbNo);
    f.lbl(15).Click();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Otazka("fis1,", "C Dur", true), Otazka("ges1,", "F Dur", true)}));
    EXPECT_EQ(f.cmdStupnice.Caption.get(), "Ges Dur");
    EXPECT_EQ(f.lblTonKlav(15).Caption.get(), "ges1,");
    EXPECT_TRUE(ZnamenkaNaOsnove(f.picBecko).empty()) << "the key signature's flat of g1 serves the note";
    EXPECT_EQ(HlavyNaOsnove(f), (std::map<int, float>{{0, 9980 - 660}}));
    EXPECT_EQ(Stisknute(f), std::vector<int>{15});
}

// Cancel takes the press back; a head another button owns at that height
// goes to the tray with it (the release parks whatever head stands there).
TEST_F(NotesTest, CancelTakesThePressBack) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    f.lbl(14).Click();  // f1, head at 9380
    Boxes().Answer(forms::vbCancel);
    f.lbl(15).Click();  // fis1, shares the head

    EXPECT_EQ(TakeBoxes(), std::vector<Box>{Otazka("fis1,", "C Dur", true)});
    EXPECT_EQ(Stisknute(f), std::vector<int>{14});
    EXPECT_EQ(f.lbl(15).Tag, "0");
    EXPECT_EQ(f.lblTonKlav(15).Caption.get(), "");
    EXPECT_TRUE(HlavyNaOsnove(f).empty());
    EXPECT_EQ(Sloty(f), std::vector<std::string>(5, ""));
}

// Two buttons on one head height: the second press draws only its sign;
// releasing either parks the shared head and empties its slot.
TEST_F(NotesTest, TwoNotesOnOneHeightShareTheHead) {
    for (int pustit : {14, 15}) {
        SCOPED_TRACE(pustit);
        Form1& f = StartRecording("Sdilena" + std::to_string(pustit) + ".xls");
        Stupnice(f, "C Dur");
        Boxes().Answer(forms::vbYes);
        f.lbl(14).Click();
        f.lbl(15).Click();
        EXPECT_EQ(HlavyNaOsnove(f), (std::map<int, float>{{0, 9380}}));
        EXPECT_EQ(ZnamenkaNaOsnove(f.picKrizek), std::vector<float>{9270});
        EXPECT_EQ(Sloty(f)[0], "14");

        f.lbl(pustit).Click();
        EXPECT_TRUE(HlavyNaOsnove(f).empty());
        EXPECT_EQ(Sloty(f)[0], "");
        EXPECT_EQ(ZnamenkaNaOsnove(f.picKrizek).size(), pustit == 15 ? 0u : 1u);
        TakeBoxes();
        f.cmdEndEdit_Click();
    }
}

// The release names the tone in the scale current then: drawn as "fis1,"
// (sharp), released as "ges1," (flat) — the sharp and the head stay.
TEST_F(NotesTest, AReleaseLooksAtTheSpellingOfTheScaleNow) {
    Form1& f = StartRecording();
    Stupnice(f, "G Dur");
    f.lbl(15).Click();
    ASSERT_EQ(ZnamenkaNaOsnove(f.picKrizek), std::vector<float>{9270});
    Stupnice(f, "Ges Dur");
    f.lbl(15).Click();
    EXPECT_EQ(f.lbl(15).Tag, "0");
    EXPECT_EQ(ZnamenkaNaOsnove(f.picKrizek), std::vector<float>{9270});
    EXPECT_EQ(HlavyNaOsnove(f), (std::map<int, float>{{0, 9380}}));
    EXPECT_TRUE(TakeBoxes().empty());
}

// A natural sign drawn for a press goes with the release, so it cannot
// change a note placed at that height later.
TEST_F(NotesTest, AReleaseAlsoParksTheNaturalSignDrawnForTheNote) {
    Form1& f = StartRecording();
    Stupnice(f, "G Dur");
    Boxes().Answer(forms::vbYes);
    f.lbl(14).Click();
    ASSERT_EQ(ZnamenkaNaOsnove(f.picOdrazka), std::vector<float>{9270});
    f.lbl(14).Click();
    EXPECT_TRUE(ZnamenkaNaOsnove(f.picOdrazka).empty());
    EXPECT_TRUE(HlavyNaOsnove(f).empty());
}

// Five heads at most: the sixth press says so and leaves its note without a
// head or slot; with every flat on the staff, a flat note gets its head only.
TEST_F(NotesTest, PoolsRunOutQuietlyForSignsAndWithAMessageForHeads) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    for (int n : {9, 11, 13, 14, 16}) f.lbl(n).Click();  // c1 d1 e1 f1 g1
    EXPECT_EQ(HlavyNaOsnove(f).size(), 5u);
    f.lbl(18).Click();  // a1
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kOmezeni});
    EXPECT_EQ(f.lbl(18).Tag, "1");
    EXPECT_EQ(f.lblTonKlav(18).Caption.get(), "a1,");
    EXPECT_EQ(Sloty(f), (std::vector<std::string>{"9", "11", "13", "14", "16"}));
    f.cmdUvolNoty_Click();
    for (int i = 0; i <= 4; ++i) {
        f.UmistiNotu(60 * i);
        EXPECT_EQ(f.UmistiNotu(1000 + 60 * i), i < 2 ? 2 * i + 1 : 9) << "slots are handed out from 0";
    }
    TakeBoxes();

    f.cmdUvolNoty_Click();
    for (int i = 0; i <= 6; ++i) f.picBecko(i).Move(1980, 9000 - 60.f * static_cast<float>(i));
    Stupnice(f, "F Dur");
    f.UvolniPredznamenani();  // the key signature's flat of h1 would serve the note
    f.lbl(19).Click();        // b1,
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(HlavyNaOsnove(f), (std::map<int, float>{{0, 9980 - 780}}));
}

// The heights of the pools: signs are found by Top alone, the lower index
// first; a key-signature flat counts but is never removed; a sign resting in
// its tray counts for nothing, not even at the flat height of "f3," (8400).
TEST_F(NotesTest, PoolTestsFindPicturesByHeight) {
    Form1& f = StartRecording();
    Stupnice(f, "F Dur");  // a flat of h1 at 9060
    EXPECT_FALSE(f.ChybiBecko(780));
    f.OdstranBecko(780);
    EXPECT_EQ(Kde(f.picBeckoStup(4)), (Misto{1390, 9060}));
    EXPECT_TRUE(f.ChybiBecko(1440)) << "the flats in the tray lie at 8400";
    EXPECT_TRUE(f.ChybiKrizek(600));
    EXPECT_TRUE(f.ChybiOdrazka(600));

    f.picNota(3).Move(2250, 9380);
    f.picNota(1).Move(2400, 9380);
    EXPECT_FALSE(f.ChybiNota(600));
    f.Zapis().CervenaNota1("14");
    f.OdstranNotu(600);
    EXPECT_EQ(Kde(f.picNota(1)), (Misto{1440, 8400}));
    EXPECT_EQ(Sloty(f)[1], "");
    EXPECT_EQ(Kde(f.picNota(3)), (Misto{2250, 9380}));

    f.UmistiKrizek(600);
    f.UmistiOdrazku(540);
    f.UmistiBecko(1440);
    EXPECT_EQ(Kde(f.picKrizek(0)), (Misto{1980, 9270}));
    EXPECT_EQ(Kde(f.picOdrazka(0)), (Misto{2100, 9330}));
    EXPECT_EQ(Kde(f.picBecko(0)), (Misto{1980, 8400}));
    EXPECT_FALSE(f.ChybiBecko(1440));
    f.OdstranBecko(1440);
    EXPECT_EQ(Kde(f.picBecko(0)), (Misto{810, 8400})) << "the flat on the staff, not one in the tray";
    f.OdstranKrizek(600);
    EXPECT_EQ(Kde(f.picKrizek(0)), (Misto{480, 8400}));
}

// "f3," with the flats in their tray: drawn as a plain head, and "fes3," in
// Ces Dur gets a flat of its own that its release parks again.
TEST_F(NotesTest, TheTrayRowIsNoFlatOfF3) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    f.lbl(38).Click();  // f3,
    EXPECT_EQ(HlavyNaOsnove(f), (std::map<int, float>{{0, 8540}}));
    EXPECT_TRUE(ZnamenkaNaOsnove(f.picBecko).empty());
    f.lbl(38).Click();

    Stupnice(f, "Ces Dur");
    f.lbl(37).Click();  // e3 is "fes3," in Ces Dur
    EXPECT_EQ(f.lblTonKlav(37).Caption.get(), "fes3,");
    EXPECT_EQ(ZnamenkaNaOsnove(f.picBecko), std::vector<float>{8400});
    f.lbl(37).Click();
    EXPECT_TRUE(ZnamenkaNaOsnove(f.picBecko).empty());
    EXPECT_TRUE(HlavyNaOsnove(f).empty());
    EXPECT_TRUE(TakeBoxes().empty());
}

// A head on the staff presses the button of the note it shows with the sign
// beside it: bitmap 102 (no second picture for 15), the red key, the name, the slot.
TEST_F(NotesTest, ADroppedHeadPressesTheButtonOfItsNote) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    f.picNota(2).Move(2250, 9380);
    f.picKrizek(4).Move(1800, 9270);
    f.OznacKnoflikNoty(2);
    EXPECT_EQ(Stisknute(f), std::vector<int>{15});
    EXPECT_TRUE(f.imgDiskant(15).Picture.get() == resources::LoadResPicture(102));
    EXPECT_EQ(f.cmdKlavesa(15).BackColor, 255u);
    EXPECT_EQ(f.lblTonKlav(15).Caption.get(), "fis1,");
    EXPECT_EQ(Sloty(f)[2], "15");

    f.picNota(1).Move(2250, 9440);  // e1: a second picture
    f.OznacKnoflikNoty(1);
    EXPECT_TRUE(f.imgDiskantPom(13).Picture.get() == resources::LoadResPicture(102));

    // No note at 10040; "c," lies below the instrument.
    f.picNota(3).Move(2250, 10040);
    f.OznacKnoflikNoty(3);
    f.picNota(4).Move(2250, 9980);
    f.OznacKnoflikNoty(4);
    const auto boxy = TakeBoxes();
    ASSERT_EQ(boxy.size(), 2u);
    EXPECT_EQ(boxy[0], kNeplatna);
    EXPECT_EQ(boxy[1].title, "Chyba při vyhledávání tónu.");
    EXPECT_EQ(boxy[1].prompt.rfind("Nota c, v nastaveném ladění neexistuje.\r", 0), 0u);
    EXPECT_EQ(Stisknute(f), (std::vector<int>{13, 15}));
    EXPECT_EQ(Sloty(f)[3], "");
}

}  // namespace
