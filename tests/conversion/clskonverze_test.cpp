// The conversion engine on the real scale table of read_only.xls (and on
// rows of our own planted into it): one note into another scale, the notes
// that cannot be converted, the song's scale, the scale-change question and
// the empty target workbook.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "conversion/clskonverze.h"
#include "platform/com/vb_variant.h"
#include "platform/forms/qt_msgbox.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "tests/conversion/konverze_fixture.h"

namespace {

using konverze_test::Box;
using konverze_test::Bunka;
using konverze_test::Bunky;
using konverze_test::KonverzeFixture;
namespace fs = std::filesystem;

class KonvertujTest : public KonverzeFixture {
protected:
    void SetUp() override {
        KonverzeFixture::SetUp();
        if (HasFatalFailure()) return;
        pisen_ = OpenNewSong("Pisen.xls");
        okno_ = Okno();
    }

    // Writes `hodnoty` into row `radek` of the scale table from column
    // `sloupec` on; the song's window is active again afterwards.
    void Tabulka(int radek, int sloupec, const std::vector<std::string>& hodnoty) {
        ExcelAplikace->Windows(NazevReadOnly).Activate();
        ExcelAplikace->Sheets("Transpozice").Select();
        for (std::size_t i = 0; i < hodnoty.size(); ++i)
            ExcelAplikace->Range(konverze_test::Sloupec(sloupec + static_cast<int>(i)) + std::to_string(radek))
                .Value(hodnoty[i]);
        ExcelAplikace->Windows(pisen_).Activate();
    }
    std::string TabulkaBunka(const std::string& adresa) {
        ExcelAplikace->Windows(NazevReadOnly).Activate();
        const std::string text = vb::CStr(ExcelAplikace->Sheets("Transpozice").Range(adresa).Value());
        ExcelAplikace->Windows(pisen_).Activate();
        return text;
    }

    std::string pisen_;
    OknoKonverze okno_;
};

TEST_F(KonvertujTest, NoteTakesTheCellOfItsColumnInTheTargetRow) {
    clsKonverze k(okno_);
    struct Pripad {
        const char *zdroj, *cil, *nota, *vysledek;
    };
    // Each target row lies by whole octaves so that its tonic is near C's:
    // C to G goes a fourth down, C to F a fourth up; enharmonic scales keep
    // the pitch and change the spelling.
    const Pripad pripady[] = {
        {"C Dur", "G Dur", "c1,", "g,"},       {"C Dur", "F Dur", "e1,", "a1,"},    {"B Dur", "C Dur", "es1,", "f1,"},
        {"Fis Dur", "Ges Dur", "ais1,", "b1,"}, {"Ces Dur", "H Dur", "fes1,", "e1,"}, {"F Dur", "G Dur", "b1,", "c1,"},
        {"C Dur", "As Dur", "e4,", "c4,"},     {"Des Dur", "Es Dur", "c1,", "d1,"},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(std::string(p.zdroj) + " -> " + p.cil + ": " + p.nota);
        const vb::Variant v = k.Konvertuj(p.zdroj, p.cil, p.nota);
        EXPECT_EQ(vb::CStr(v), p.vysledek);
        EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), NazevReadOnly);
        EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Transpozice");
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(KonvertujTest, NoteIsFoundOnlyAsAWholeCellWhereverLongerNamesStand) {
    clsKonverze k(okno_);
    // Row 10 is B Dur; es1, stands in column N. Names that contain "es1," are
    // planted before it (C..E, where B Dur's row is empty; C is searched last)
    // and after its last tone (AK, AL). A hit on one of them would take C Dur's
    // empty cell of its column, not f1, of es1,'s column.
    ASSERT_EQ(TabulkaBunka("B10"), "B Dur");
    ASSERT_EQ(TabulkaBunka("N10"), "es1,");
    const std::vector<std::vector<std::pair<int, std::string>>> vysadby = {
        {{4, "des1,"}},
        {{3, "ges1,"}, {5, "des1,"}, {37, "ges1,"}},
        {{37, "des1,"}, {38, "ges1,"}},
    };
    for (const auto& vysadba : vysadby) {
        for (const auto& [sloupec, nota] : vysadba) Tabulka(10, sloupec, {nota});
        EXPECT_EQ(vb::CStr(k.Konvertuj("B Dur", "C Dur", "es1,")), "f1,");
        for (const auto& [sloupec, nota] : vysadba) Tabulka(10, sloupec, {""});
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(KonvertujTest, ScaleEsDurIsFoundBelowDesGesAndCesDur) {
    clsKonverze k(okno_);
    // Es Dur moves from row 11 to row 16, below Des, Ges and Ces Dur.
    std::vector<std::string> esDur;
    for (int s = 3; s <= 60; ++s) esDur.push_back(TabulkaBunka(konverze_test::Sloupec(s) + "11"));
    ASSERT_EQ(TabulkaBunka("B11"), "Es Dur");
    Tabulka(11, 2, {"—"});
    Tabulka(16, 2, {"Es Dur"});
    Tabulka(16, 3, esDur);

    EXPECT_EQ(vb::CStr(k.Konvertuj("C Dur", "Es Dur", "c1,")), "es1,");
    EXPECT_EQ(vb::CStr(k.Konvertuj("Es Dur", "C Dur", "es1,")), "c1,");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(KonvertujTest, WhatCannotBeConvertedIsReportedAndMarked) {
    clsKonverze k(okno_);
    struct Pripad {
        const char *zdroj, *cil, *nota;
        bool mimoDiskant = false;  // a tone of the source scale that has no button in the target
    };
    const Pripad pripady[] = {
        {"C Dur", "G Dur", "cis1,"},       // not a tone of the source scale
        {"C Dur", "G Dur", "c1"},          // only part of a name of the row
        {"C Dur", "X Dur", "c1,"},         // no such target scale
        {"Moll", "G Dur", "c1,"},          // no such source scale (typed into W by hand)
        {"Es", "C Dur", "es1,"},           // a source name only inside longer scale names
        {"C Dur", "G Dur", "e,", true},    // the target row has no tone there: below the treble
        {"C Dur", "D Dur", "e4,", true},   // ... or above it
        {"C Dur", "G Dur", ""},            // nothing to convert
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(std::string(p.zdroj) + " -> " + p.cil + ": " + p.nota);
        EXPECT_EQ(vb::CStr(k.Konvertuj(p.zdroj, p.cil, p.nota)), kNeprekonvertovano);
        const Box cekany =
            p.mimoDiskant ? MimoDiskant(p.nota, p.zdroj, p.cil, pisen_) : Varovani(p.nota, p.zdroj, p.cil, pisen_);
        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{cekany}));
    }
}

TEST_F(KonvertujTest, LowestAndHighestTonesNeverComeBackEmpty) {
    clsKonverze k(okno_);
    const char* const stupnice[] = {"C Dur", "G Dur",  "D Dur",  "A Dur",   "E Dur",   "H Dur",   "Fis Dur", "Cis Dur",
                                    "F Dur", "B Dur",  "Es Dur", "As Dur",  "Des Dur", "Ges Dur", "Ces Dur"};
    int oznaceno = 0;
    for (const char* cil : stupnice) {
        for (const char* nota : {"e,", "f,", "e4,"}) {
            const std::string v = vb::CStr(k.Konvertuj("C Dur", cil, nota));
            EXPECT_FALSE(v.empty()) << nota << " -> " << cil;
            oznaceno += v == kNeprekonvertovano;
        }
    }
    // A move up or down reaches beyond the treble somewhere at its ends.
    EXPECT_GT(oznaceno, 0);
    EXPECT_EQ(TakeBoxes().size(), static_cast<std::size_t>(oznaceno));
}

TEST_F(KonvertujTest, UnexpectedFailureGivesEmptyAfterTheCriticalBox) {
    clsKonverze k(okno_);
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->Sheets("Transpozice").Name("Jinak");

    EXPECT_TRUE(k.Konvertuj("C Dur", "G Dur", "c1,").IsEmpty());
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{std::string("Volejte firmu ") + resources::kMakerContact +
                                                  "\ra sdělte číslo chyby 9.",
                                              forms::vbCritical, "Neočekávaná chyba !"}}));
}

TEST_F(KonvertujTest, SongsScaleIsTheTextOfW1) {
    clsKonverze k(okno_);
    EXPECT_EQ(k.ZjistiZapsaneLadeni(pisen_), "");
    ExcelAplikace->Range("W1").Value("F Dur");
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    EXPECT_EQ(k.ZjistiZapsaneLadeni(pisen_), "F Dur");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), pisen_);

    ExcelAplikace->ActiveWorkbook().Close(false);
    try {
        k.ZjistiZapsaneLadeni(pisen_);
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(KonvertujTest, ScaleChangeQuestionAndItsThreeAnswers) {
    clsKonverze k(okno_);
    const std::pair<int, const char*> odpovedi[] = {
        {forms::vbYes, kZmenit}, {forms::vbNo, kNe}, {forms::vbCancel, kStorno}};
    for (const auto& [tlacitko, odpoved] : odpovedi) {
        Boxes().Answer(tlacitko);
        EXPECT_EQ(vb::CStr(k.ZmenaLadeni("C Dur", "F Dur", "9")), odpoved);
        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{ZmenaStupnice(9, "C Dur", "F Dur")}));
    }
}

// The question in a real box: Enter takes the default button, Esc cancels.
TEST_F(KonvertujTest, ScaleChangeQuestionByEnterAndEsc) {
    clsKonverze k(okno_);
    forms::QtMessageBoxes skutecne;
    forms::MessageBoxService* predtim = forms::SetMessageBoxService(&skutecne);
    for (const auto& [klavesa, odpoved] : {std::pair{Qt::Key_Return, kNe}, std::pair{Qt::Key_Escape, kStorno}}) {
        bool stisknuto = false;
        QTimer::singleShot(0, [&stisknuto, klav = klavesa] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, klav);
            stisknuto = true;
            // A key the box did not take must not leave the test waiting.
            if (QApplication::activeModalWidget() == box) box->close();
        });
        EXPECT_EQ(vb::CStr(k.ZmenaLadeni("C Dur", "F Dur", "9")), odpoved);
        EXPECT_TRUE(stisknuto);
    }
    forms::SetMessageBoxService(predtim);
}

// ---- The empty target workbook ---------------------------------------------------

class CilovySouborTest : public KonverzeFixture {
protected:
    void SetUp() override {
        KonverzeFixture::SetUp();
        if (HasFatalFailure()) return;
        pisen_ = OtevrenaPisen("Polka.xls", {{{"c1,"}, "Tlak", {}, "C Dur", "", "Šla"},
                                             {{"d1,"}, "Tah", {}, "C Dur", "", "Nanynka"}});
        ExcelAplikace->Range("A900").Value("konec");
        ExcelAplikace->Range("A901").Value("za koncem");
        okno_ = Okno();
    }
    std::string pisen_;
    OknoKonverze okno_;
};

TEST_F(CilovySouborTest, NewWorkbookCarriesTheSyllablesUnderTheSongsAndTheTargetsName) {
    clsKonverze k(okno_);
    const vb::Variant novy = k.VytvorCilovySoubor("G Dur", pisen_);

    EXPECT_EQ(vb::CStr(novy), "Polka G Dur.xls");
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(fs::exists(Soubor("Polka G Dur.xls")));
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "Polka G Dur.xls");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Calvira12");
    EXPECT_EQ(Hlavni().Caption.get(), "Polka G Dur.xls");
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$1");
    EXPECT_EQ(Bunky(1, 1, 2), (std::vector<std::string>{"Šla", ""}));
    EXPECT_EQ(Bunka("A2"), "Nanynka");
    EXPECT_EQ(Bunka("A900"), "konec");
    EXPECT_EQ(Bunka("A901"), "");
    EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    EXPECT_EQ(AktualniPisen, pisen_);  // the song stays the program's song
}

TEST_F(CilovySouborTest, MissingSongFolderIsAnnouncedAndMadeLevelByLevel) {
    fs::remove_all(Root() / "C" / "Dokumenty");
    clsKonverze k(okno_);

    EXPECT_EQ(vb::CStr(k.VytvorCilovySoubor("F Dur", pisen_)), "Polka F Dur.xls");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Cesta do C:\\Dokumenty\\Dovozivuz  nebyla nalezena.\r\n"
                                              "Aby mohl program správně pracovat, bude nyní vytvořena tato složka.\r\n"
                                              "Do ní se budou ukládat Vaše skladby.",
                                              forms::vbExclamation, "Pracovní adresář neexistuje."}}));
    EXPECT_TRUE(fs::exists(Soubor("Polka F Dur.xls")));
}

TEST_F(CilovySouborTest, ExistingFileKeptStopsAndReplacedGoesOn) {
    const Box otazka{"Přejete si vymazat z disku původní písničku a nahradit ji novou ?",
                     forms::vbYesNo | forms::vbExclamation, "Tato skladba již existuje!"};
    testsupport::WriteFile(Soubor("Polka G Dur.xls"), "stará");
    clsKonverze k(okno_);

    Boxes().Answer(forms::vbNo);
    EXPECT_TRUE(k.VytvorCilovySoubor("G Dur", pisen_).IsEmpty());
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{otazka,
                                             {"Začněte znovu a zadejte jiný název písně.", forms::vbInformation,
                                              "Založení nové skladby přerušeno."}}));
    EXPECT_EQ(testsupport::ReadFile(Soubor("Polka G Dur.xls")), "stará");

    Boxes().Answer(forms::vbYes);
    EXPECT_EQ(vb::CStr(k.VytvorCilovySoubor("G Dur", pisen_)), "Polka G Dur.xls");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{otazka}));
    EXPECT_NE(testsupport::ReadFile(Soubor("Polka G Dur.xls")), "stará");
}

TEST_F(CilovySouborTest, FailuresAreReportedAndNothingIsMade) {
    clsKonverze k(okno_);
    // A name too short to carry ".xls".
    EXPECT_TRUE(k.VytvorCilovySoubor("G Dur", "abc").IsEmpty());
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{resources::NeocekavanaChybaText(5), forms::vbCritical,
                                              "Neočekávaná chyba !"}}));

    // A folder that cannot be saved into.
    fs::remove_all(SongFolder());
    testsupport::WriteFile(SongFolder(), "soubor místo složky");
    OknoKonverze bezSlozky = okno_;
    bezSlozky.FldExist = [](const std::string&) { return true; };
    clsKonverze k2(bezSlozky);
    EXPECT_TRUE(k2.VytvorCilovySoubor("G Dur", pisen_).IsEmpty());
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Cesta C:\\Dokumenty\\Dovozivuz nenalezena. Aby mohl program správně "
                                              "pracovat, vytvořte nejprve ručně tento adresář !!!",
                                              forms::vbCritical, "Pracovní adresář neexistuje."}}));
}

// The folder is there but the file cannot be written (a folder has its name):
// the box names the file and the cause, not a missing folder.
TEST_F(CilovySouborTest, AFileThatCannotBeWrittenIsNamedWithItsCause) {
    fs::create_directories(Soubor("Polka G Dur.xls"));
    clsKonverze k(okno_);

    EXPECT_TRUE(k.VytvorCilovySoubor("G Dur", pisen_).IsEmpty());
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Soubor „C:\\Dokumenty\\Dovozivuz\\Belmora\\Polka G Dur.xls“ nelze "
                                              "uložit: je to složka.\r\nCílový soubor konverze nebyl založen.\r\n"
                                              "Číslo chyby: 1004.",
                                              forms::vbCritical, "Cílový soubor nelze založit."}}));
    EXPECT_TRUE(fs::is_directory(Soubor("Polka G Dur.xls")));
}

}  // namespace
