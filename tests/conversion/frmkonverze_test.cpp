// The conversion dialog opened from the main window's menu: whole songs
// converted, the pause where the scale changes, the rows that end a song or
// do not, the refusals, and closing the dialog.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/xls/xls_io.h"
#include "resources/app_info/app_info.h"
#include "tests/conversion/konverze_fixture.h"
#include "tests/support/render_form.h"
#include "tests/support/doubles/scripted_file_dialog.h"
#include "tests/support/press_key.h"
#include "tests/support/private_mount.h"
#include "tests/support/workbook_windows.h"
#include "tests/support/write_protect.h"

namespace {

using konverze_test::Box;
using konverze_test::Bunka;
using konverze_test::Bunky;
using konverze_test::KonverzeFixture;
using konverze_test::Radek;
namespace fs = std::filesystem;
using Noty = std::vector<std::string>;

const std::string kNep = kNeprekonvertovano;

// The treble cells B..H of a row.
Noty Vyska(int radek) { return Bunky(radek, 2, 8); }
Noty Sedm(Noty n) {
    n.resize(7);
    return n;
}

class KonverzeTest : public KonverzeFixture {
protected:
    // Opens the dialog over the open song, chooses the target and runs "Provést".
    void Proved(const std::string& cil) {
        class frmKonverze& d = OtevriDialog();
        VyberCil(d, cil);
        d.cmdGo.PerformClick();
    }
    // The workbook open under `nazev` (opened when it is not).
    static xl::Worksheet List(const std::string& nazev) {
        ExcelAplikace->Workbooks().Open(std::string(PracovniAdresar) + "\\" + nazev);
        return ExcelAplikace->ActiveSheet();
    }
};

// Three grips in C Dur with basses, fingerings and syllables.
std::vector<Radek> PisenVCDur() {
    return {{{"c1,", "e1,", "g1,"}, "Tlak", {"C zákl.", "C dur"}, "C Dur", "l13;1\\", "Ach"},
            {{"h,", "d1,", "g1,"}, "Tah", {"G zákl.", "G dur"}, "C Dur", "l11;2\\", "synku"},
            {{"c2,"}, "Tlak", {"C zákl."}, "C Dur", "", "synku"}};
}

TEST_F(KonverzeTest, MenuItemOpensTheDialogOverTheOpenSong) {
    OtevrenaPisen("Pisen.xls", PisenVCDur());
    class frmKonverze& d = OtevriDialog();

    EXPECT_FALSE(Hlavni().Visible);
    EXPECT_TRUE(d.IsLoaded());
    EXPECT_TRUE(d.Widget()->isVisible());
    EXPECT_FALSE(d.IsModal());
    EXPECT_TRUE(d.IsTopmost());
    EXPECT_EQ(d.Caption.get(), "Konverze ladění.");
    EXPECT_EQ(d.lblStupnice.Caption.get(), "C Dur");
    EXPECT_EQ(d.cmdVyberPisen.Caption.get(), "Pisen.xls");
    EXPECT_FALSE(d.cmdVyberPisen.Enabled);
    EXPECT_TRUE(d.cmdGo.Visible && d.cmdGo.Enabled);
    EXPECT_FALSE(d.cmdPokracovat.Visible);
    EXPECT_FALSE(d.lblLadeni.Visible);
    for (int i = 0; i <= 14; ++i) EXPECT_FALSE(d.optStupnice(i).Value) << i;
    EXPECT_EQ(d.optStupnice(0).Caption.get(), "C Dur");
    EXPECT_EQ(d.optStupnice(14).Caption.get(), "Ces Dur");
    // To be looked at: the dialog as it opens.
    EXPECT_TRUE(form1_test::RenderToPng(d, BELMORA_TEST_OUTPUT_DIR "/frmkonverze.png"));

    d.cmdKonec.PerformClick();
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_TRUE(Hlavni().Visible && Hlavni().Widget()->isVisible());
    EXPECT_EQ(Hlavni().Caption.get(), "Pisen.xls");
    EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    EXPECT_TRUE(TakeBoxes().empty());
}

// The dialog's keys do what its buttons do: Return presses the focused
// button, elsewhere "Provést"; Escape closes the dialog as "Konec" does. The
// fifteen targets are one stop for Tab, the arrows choose among them.
TEST_F(KonverzeTest, KeysDoWhatTheButtonsDo) {
    OtevrenaPisen("Pisen.xls", PisenVCDur());
    using testsupport::PressKey;
    struct Closing {
        const char* what;
        std::function<void(class frmKonverze&)> keys;
    };
    const Closing closings[] = {
        {"Tab to Konec, Return",
         [&](class frmKonverze& d) {
             d.cmdGo.SetFocus();
             QTest::keyClick(d.cmdGo.Widget(), Qt::Key_Tab);
             ASSERT_EQ(d.Widget()->focusWidget(), d.cmdKonec.Widget());
             QTest::keyClick(d.cmdKonec.Widget(), Qt::Key_Return);
         }},
        {"keypad Enter on Konec", [&](class frmKonverze& d) { PressKey(d.cmdKonec, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Escape on a target", [&](class frmKonverze& d) {
             VyberCil(d, "F Dur");
             PressKey(d.optStupnice(8), Qt::Key_Escape);
         }},
    };
    for (const Closing& c : closings) {
        c.keys(OtevriDialog());
        EXPECT_FALSE(DialogOtevreny()) << c.what;
        EXPECT_TRUE(Hlavni().Visible && Hlavni().Widget()->isVisible()) << c.what;
        EXPECT_EQ(Hlavni().Caption.get(), "Pisen.xls") << c.what;
    }
    EXPECT_FALSE(fs::exists(Soubor("Pisen F Dur.xls")));
    EXPECT_TRUE(TakeBoxes().empty());

    // From the first target the arrow goes to the next, and Return converts into it.
    class frmKonverze& d = OtevriDialog();
    VyberCil(d, "C Dur");
    PressKey(d.optStupnice(0), Qt::Key_Down);
    EXPECT_EQ(d.Widget()->focusWidget(), d.optStupnice(1).Widget());
    QTest::keyClick(d.optStupnice(1).Widget(), Qt::Key_Return);
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Pisen G Dur.xls")}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(Hlavni().Caption.get(), "Pisen G Dur.xls");
    EXPECT_EQ(Vyska(3), Sedm({"g1,"}));
}

TEST_F(KonverzeTest, WholeSongFromCDurToGDur) {
    OtevrenaPisen("Pisen.xls", PisenVCDur());
    const std::string stary = ExcelAplikace->ActiveSheet().Name();

    Proved("G Dur");

    const std::string vysledek = "Pisen G Dur.xls";
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo(vysledek)}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_TRUE(Hlavni().Visible);
    // The main window goes on with the result.
    EXPECT_EQ(AktualniPisen, vysledek);
    EXPECT_EQ(Hlavni().Caption.get(), vysledek);
    ASSERT_EQ(ExcelAplikace->ActiveWorkbook().Name(), vysledek);
    EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    EXPECT_TRUE(fs::exists(Soubor(vysledek)));
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), stary);
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$1");

    EXPECT_EQ(Vyska(1), Sedm({"g,", "h,", "d1,", "", "", "", ""}));
    EXPECT_EQ(Vyska(2), Sedm({"fis,", "a,", "d1,"}));
    EXPECT_EQ(Vyska(3), Sedm({"g1,"}));
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(Bunka("W" + std::to_string(r)), "G Dur") << r;
        EXPECT_EQ(Bunka("V" + std::to_string(r)), "") << r;
    }
    // Syllables, bellows and basses stay; nothing is written below the song.
    EXPECT_EQ(Bunky(1, 1, 1), Noty{"Ach"});
    EXPECT_EQ(Bunky(2, 9, 14), (Noty{"Tah", "", "", "", "G zákl.", "G dur"}));
    EXPECT_EQ(Bunky(4, 1, 23), Noty(23, ""));

    // The source song keeps its notes.
    const xl::Worksheet zdroj = List("Pisen.xls");
    EXPECT_EQ(vb::CStr(zdroj.Range("B1").Value()), "c1,");
    EXPECT_EQ(vb::CStr(zdroj.Range("V1").Value()), "l13;1\\");
    EXPECT_EQ(vb::CStr(zdroj.Range("W1").Value()), "C Dur");
}

TEST_F(KonverzeTest, SevenNoteRowEndsAtTheBellowsAndTheNextRowFollows) {
    OtevrenaPisen("Sedm.xls", {{{"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"}, "Tah", {}, "C Dur"},
                               {{"c2,"}, "Tlak", {}, "C Dur"}});
    Proved("F Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Sedm F Dur.xls")}));
    EXPECT_EQ(Vyska(1), (Noty{"f1,", "g1,", "a1,", "b1,", "c2,", "d2,", "e2,"}));
    EXPECT_EQ(Bunka("I1"), "Tah");
    EXPECT_EQ(Vyska(2), Sedm({"f2,"}));
    EXPECT_EQ(Bunka("W2"), "F Dur");
    EXPECT_EQ(Bunka("W3"), "");
    EXPECT_EQ(Bunka("B3"), "");
}

TEST_F(KonverzeTest, GripOfBassesOnlyInTheMiddleDoesNotEndTheSong) {
    OtevrenaPisen("Basy.xls", {{{"c1,"}, "Tlak", {"C zákl."}, "C Dur"},
                               {{}, "Tah", {"G zákl.", "G dur"}, "C Dur"},
                               {{"e1,", "g1,"}, "Tlak", {}, "C Dur"},
                               {{}, "", {"F zákl."}, ""}});
    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Basy G Dur.xls")}));
    EXPECT_EQ(Vyska(1), Sedm({"g,"}));
    EXPECT_EQ(Bunky(2, 2, 14), (Noty{"", "", "", "", "", "", "", "Tah", "", "", "", "G zákl.", "G dur"}));
    EXPECT_EQ(Bunka("W2"), "G Dur");
    EXPECT_EQ(Vyska(3), Sedm({"h,", "d1,"}));
    EXPECT_EQ(Bunka("W3"), "G Dur");
    // The song ends at the first row without notes and bellows.
    EXPECT_EQ(Bunky(4, 13, 13), Noty{"F zákl."});
    EXPECT_EQ(Bunka("W4"), "");
}

TEST_F(KonverzeTest, FirstGripOfBassesOnlyIsConvertedToo) {
    OtevrenaPisen("Basy.xls", {{{}, "Tlak", {"C zákl."}, "C Dur"}, {{"c1,"}, "Tah", {}, "C Dur"}});
    Proved("F Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Basy F Dur.xls")}));
    EXPECT_EQ(Bunka("W1"), "F Dur");
    EXPECT_EQ(Vyska(2), Sedm({"f1,"}));
}

TEST_F(KonverzeTest, NoteNotInTheScaleIsMarkedAndTheStripStopsThere) {
    OtevrenaPisen("Chyba.xls", {{{"c1,", "cis1,", "g1,"}, "Tlak", {}, "C Dur"}, {{"e,"}, "Tah", {}, "C Dur"},
                                {{"c1,"}, "Tlak", {}, "C Dur"}});
    Proved("G Dur");

    const std::string vysledek = "Chyba G Dur.xls";
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Varovani("cis1,", "C Dur", "G Dur", vysledek),
                                             MimoDiskant("e,", "C Dur", "G Dur", vysledek), Hotovo(vysledek)}));
    EXPECT_EQ(Vyska(1), Sedm({"g,", kNep, "d1,"}));
    EXPECT_EQ(Vyska(2), Sedm({kNep}));

    // Reading the result: the strip's first step shows the note before the marker only.
    Form1& f = Hlavni();
    f.cmdPrvni_Click();
    f.ObnovNotovyPas();
    int hlavy = 0;
    for (int s = 5; s <= 9; ++s) hlavy += f.imgNota(s).Visible ? 1 : 0;
    EXPECT_EQ(hlavy, 1);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(KonverzeTest, ScaleChangeAnsweredNoGoesOnIntoTheSameTarget) {
    std::vector<Radek> radky(8, Radek{{"c1,", "e1,"}, "Tlak", {}, "C Dur"});
    for (int i = 0; i < 3; ++i) radky.push_back({{"f1,", "b1,"}, "Tah", {}, "F Dur"});
    OtevrenaPisen("Zmena.xls", radky);
    Boxes().Answer(forms::vbNo);

    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{ZmenaStupnice(9, "C Dur", "F Dur"), Hotovo("Zmena G Dur.xls")}));
    EXPECT_EQ(Vyska(8), Sedm({"g,", "h,"}));
    // F Dur into G Dur: the table keeps each tonic near C's, F's above and
    // G's below it, so the part moves a seventh down.
    EXPECT_EQ(Vyska(9), Sedm({"g,", "c1,"}));
    EXPECT_EQ(Vyska(11), Sedm({"g,", "c1,"}));
    for (int r = 1; r <= 11; ++r) EXPECT_EQ(Bunka("W" + std::to_string(r)), "G Dur") << r;
}

TEST_F(KonverzeTest, ScaleChangeAnsweredYesPausesForAnotherTarget) {
    std::vector<Radek> radky(8, Radek{{"c1,"}, "Tlak", {}, "C Dur", "l9;1\\"});
    for (int i = 0; i < 3; ++i) radky.push_back({{"f1,", "a1,"}, "Tah", {}, "F Dur", "l14;2\\"});
    OtevrenaPisen("Zmena.xls", radky);
    const std::string stary = ExcelAplikace->ActiveSheet().Name();
    Boxes().Answer(forms::vbYes);

    Proved("G Dur");

    class frmKonverze& d = Dialog();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{ZmenaStupnice(9, "C Dur", "F Dur")}));
    ASSERT_TRUE(DialogOtevreny());
    EXPECT_EQ(d.Caption.get(), "Změňte stupnici a stikněte pokračovat.");
    EXPECT_TRUE(d.cmdPokracovat.Visible);
    EXPECT_FALSE(d.cmdGo.Enabled);
    EXPECT_EQ(d.lblStupnice.Caption.get(), "F Dur");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "G Dur Nedokončeno");
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$9");
    EXPECT_EQ(Vyska(8), Sedm({"g,"}));
    EXPECT_EQ(Vyska(9), Sedm({"f1,", "a1,"}));
    EXPECT_FALSE(Hlavni().Visible);

    VyberCil(d, "B Dur");
    d.cmdPokracovat.PerformClick();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Zmena G Dur.xls")}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(d.lblLadeni.Caption.get(), "");
    // F Dur into B Dur: a fourth down.
    EXPECT_EQ(Vyska(9), Sedm({"b,", "d1,"}));
    EXPECT_EQ(Vyska(11), Sedm({"b,", "d1,"}));
    for (int r = 1; r <= 8; ++r) EXPECT_EQ(Bunka("W" + std::to_string(r)), "G Dur") << r;
    for (int r = 9; r <= 11; ++r) EXPECT_EQ(Bunka("W" + std::to_string(r)), "B Dur") << r;
    EXPECT_EQ(Bunka("V9"), "");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), stary);
}

TEST_F(KonverzeTest, ScaleChangeCancelledOrUnnamedStopsWithTheResultSavedUnfinished) {
    std::vector<Radek> radky = {{{"c1,"}, "Tlak", {}, "C Dur"}, {{"d1,"}, "Tah", {}, "C Dur"},
                                {{"e1,"}, "Tlak", {}, ""}};
    for (const int odpoved : {forms::vbCancel, forms::vbNo}) {
        SCOPED_TRACE(odpoved);
        OtevrenaPisen(odpoved == forms::vbCancel ? "Storno.xls" : "Bez.xls", radky);
        const std::string vysledek = odpoved == forms::vbCancel ? "Storno G Dur.xls" : "Bez G Dur.xls";
        Boxes().Answer(odpoved);
        Proved("G Dur");

        std::vector<Box> cekane{ZmenaStupnice(3, "C Dur", "")};
        if (odpoved == forms::vbNo) {
            // The row names no scale: the conversion stops, the dialog stays.
            cekane.push_back({"Není uvedeno ladění zdrojového řádku. Konverze bude předčasně ukončena.",
                              forms::vbCritical, "Neúplné údaje."});
            EXPECT_TRUE(DialogOtevreny());
            EXPECT_FALSE(Dialog().cmdGo.Enabled);
            Dialog().cmdKonec.PerformClick();
        }
        EXPECT_EQ(TakeBoxes(), cekane);
        EXPECT_FALSE(DialogOtevreny());
        EXPECT_TRUE(Hlavni().Visible);
        EXPECT_EQ(Hlavni().Caption.get(), vysledek);
        EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "G Dur Nedokončeno");
        EXPECT_EQ(Vyska(2), Sedm({"a,"}));
        EXPECT_EQ(Vyska(3), Sedm({"e1,"}));
        EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
        Hlavni().cmdEndEdit_Click();
        TakeBoxes();
    }
}

TEST_F(KonverzeTest, ExistingResultCancelledKeepsItAndConfirmedReplacesIt) {
    const std::string cesta = std::string(PracovniAdresar) + "\\Pisen G Dur.xls";
    const Box otazka{"Soubor již existuje. Přejete si ho vymazat a nahradit novým ?", forms::vbOKCancel, cesta};

    OtevrenaPisen("Pisen.xls", PisenVCDur());
    testsupport::WriteFile(Soubor("Pisen G Dur.xls"), "starý výsledek");
    Boxes().Answer(forms::vbCancel);
    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{otazka,
                                             {"Zpracování zrušeno uživatelem.", forms::vbInformation,
                                              "Storno převodu."}}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(testsupport::ReadFile(Soubor("Pisen G Dur.xls")), "starý výsledek");
    EXPECT_EQ(AktualniPisen, "Pisen.xls");
    EXPECT_EQ(Bunka("B1"), "c1,");

    Boxes().Answer(forms::vbOK);
    Proved("G Dur");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{otazka, Hotovo("Pisen G Dur.xls")}));
    EXPECT_EQ(Bunka("B1"), "g,");
    EXPECT_NE(testsupport::ReadFile(Soubor("Pisen G Dur.xls")), "starý výsledek");
}

TEST_F(KonverzeTest, RefusalsBeforeTheConversionStarts) {
    OtevrenaPisen("Pisen.xls", PisenVCDur());

    // No target chosen: asked again, the button comes back.
    class frmKonverze& d = OtevriDialog();
    d.cmdGo.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Neurčili jste do kterého ladění si přejete konverzi provést. "
                                              "Zaškrtněte požadovanou volbu a zkuste to znovu.",
                                              forms::vbExclamation, "Neúplné údaje."}}));
    EXPECT_TRUE(d.cmdGo.Enabled);
    EXPECT_TRUE(DialogOtevreny());

    // The song's own scale: the dialog closes, nothing new is saved.
    VyberCil(d, "C Dur");
    d.cmdGo.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Ve Vámi zvoleném ladění byla píseň již zapsána. Konverze z C Dur do "
                                              "C Dur nebude provedena !",
                                              forms::vbCritical, "Chyba při výběru ladění."}}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_TRUE(Hlavni().Visible);
    EXPECT_EQ(std::distance(fs::directory_iterator(SongFolder()), fs::directory_iterator()), 1);
    EXPECT_EQ(AktualniPisen, "Pisen.xls");
}

TEST_F(KonverzeTest, SongWithoutGripsIsStoppedAtTheStart) {
    OtevrenaPisen("Prazdna.xls", {{{}, "", {"C zákl."}, "C Dur"}});
    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Program nemá k dispozici očekávaná data. Konverze nebude provedena. "
                                              "Smažte soubor Prazdna G Dur.xls\r\nEventuelně může být tento soubor "
                                              "použit pro ruční zápis v požadovaném ladění.",
                                              forms::vbCritical, "Přerušeno na začátku."}}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_TRUE(fs::exists(Soubor("Prazdna G Dur.xls")));
}

TEST_F(KonverzeTest, OpenSongWithoutScaleLeavesOnlyTheEnd) {
    OtevrenaPisen("Bez.xls", {{{"c1,"}, "Tlak", {}, ""}});
    class frmKonverze& d = OtevriDialog();

    EXPECT_FALSE(d.cmdVyberPisen.Visible);
    EXPECT_FALSE(d.cmdGo.Visible);
    EXPECT_FALSE(d.Label1.Visible);
    EXPECT_TRUE(d.lblKonec.Visible);
    EXPECT_EQ(d.lblKonec.Caption.get(),
              "Konverzi aktuálního souboru bohužel nelze provést. Zkuste jinou korektně zapsanou skladbu !");
    EXPECT_TRUE(d.cmdKonec.Visible);
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- The song's window while the dialog works on it -----------------------------------

// The user's close of the window of the song the dialog works on.
Box VKonverzi(const std::string& sesit, bool prevzata) {
    return {"Sešit " + sesit + " právě používá konverze ladění, proto jeho okno nelze zavřít.\r\n" +
                (prevzata ? "Zavřít ho lze, až konverzi ukončíte tlačítkem „Konec“."
                          : "Sešit se uloží a zavře sám, až konverzi ukončíte tlačítkem „Konec“."),
            forms::vbInformation, "Konverze ladění."};
}

// Whether the workbook's window is open and shown.
bool OknoOtevrene(const std::string& sesit) {
    auto* okno = testsupport::WorkbookWindowOf(*ExcelAplikace, sesit);
    return okno && okno->isVisible();
}

// The song taken over from the main window keeps its window while the dialog
// is open, before "Provést" and at the pause; the conversion then finishes as
// it does, and the main window goes on with the result as its song, whose
// window the user may close as any song's.
TEST_F(KonverzeTest, TheSongsWindowStaysOpenWhileTheDialogWorksOnIt) {
    std::vector<Radek> radky(8, Radek{{"c1,"}, "Tlak", {}, "C Dur"});
    for (int i = 0; i < 3; ++i) radky.push_back({{"f1,", "a1,"}, "Tah", {}, "F Dur"});
    OtevrenaPisen("Zmena.xls", radky);
    class frmKonverze& d = OtevriDialog();

    testsupport::CloseAsTheUser(*ExcelAplikace, "Zmena.xls");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{VKonverzi("Zmena.xls", true)}));
    EXPECT_TRUE(OknoOtevrene("Zmena.xls"));
    EXPECT_TRUE(DialogOtevreny());

    Boxes().Answer(forms::vbYes);
    VyberCil(d, "G Dur");
    d.cmdGo.PerformClick();
    ASSERT_TRUE(d.cmdPokracovat.Visible);
    TakeBoxes();
    testsupport::CloseAsTheUser(*ExcelAplikace, "Zmena G Dur.xls");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{VKonverzi("Zmena G Dur.xls", true)}));
    EXPECT_TRUE(OknoOtevrene("Zmena G Dur.xls"));
    EXPECT_EQ(AktualniPisen, "Zmena G Dur.xls");
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$B$9");

    VyberCil(d, "B Dur");
    d.cmdPokracovat.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Zmena G Dur.xls")}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(Hlavni().Caption.get(), "Zmena G Dur.xls");

    testsupport::CloseAsTheUser(*ExcelAplikace, "Zmena G Dur.xls");
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_EQ(Hlavni().Caption.get(), "Belmora");
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    const xl::internal::Book vysledek = xl::internal::ReadXlsFile(Soubor("Zmena G Dur.xls").string());
    EXPECT_EQ(vysledek.sheets[0].cells.at({9, 2}).text, "b,");
    EXPECT_EQ(vysledek.sheets[0].cells.at({1, 23}).text, "G Dur");
}

// ---- A song chosen in the dialog ---------------------------------------------------

class VyberPisneTest : public KonverzeTest {
protected:
    // A song of the song folder, saved and closed.
    void UlozenaPisen(const std::string& nazev, const std::vector<Radek>& radky) {
        OpenNewSong(nazev);
        ZapisRadky(radky);
        ExcelAplikace->ActiveWorkbook().Close();
        AktualniPisen.clear();
    }
    xl::ScriptedFileDialogs dialogy_;
};

TEST_F(VyberPisneTest, ChosenSongIsConvertedSavedAndClosed) {
    UlozenaPisen("Valcik.xls", PisenVCDur());
    dialogy_.Answer((SongFolder() / "Valcik.xls").string());
    class frmKonverze& d = OtevriDialog();
    EXPECT_TRUE(d.cmdVyberPisen.Enabled);
    EXPECT_EQ(d.lblStupnice.Caption.get(), "");

    d.cmdVyberPisen.PerformClick();

    ASSERT_EQ(dialogy_.requests().size(), 1u);
    EXPECT_EQ(dialogy_.requests()[0].title, "Vyberte písničku, kterou chcete konvertovat !");
    EXPECT_TRUE(d.Widget()->isVisible());
    EXPECT_EQ(d.cmdVyberPisen.Caption.get(), "Valcik.xls");
    EXPECT_FALSE(d.cmdVyberPisen.Enabled);
    EXPECT_EQ(d.lblStupnice.Caption.get(), "C Dur");
    EXPECT_EQ(AktualniPisen, "Valcik.xls");
    // The song keeps its window while the dialog works on it.
    testsupport::CloseAsTheUser(*ExcelAplikace, "Valcik.xls");
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{VKonverzi("Valcik.xls", false)}));
    EXPECT_TRUE(OknoOtevrene("Valcik.xls"));

    VyberCil(d, "D Dur");
    d.cmdGo.PerformClick();

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Valcik D Dur.xls")}));
    // The result is saved and closed; the main window has no song.
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_EQ(Hlavni().Caption.get(), "Belmora");
    EXPECT_TRUE(Hlavni().Visible);
    const xl::Worksheet list = List("Valcik D Dur.xls");
    EXPECT_EQ(vb::CStr(list.Range("B1").Value()), "d1,");
    EXPECT_EQ(vb::CStr(list.Range("W3").Value()), "D Dur");
}

TEST_F(VyberPisneTest, ChoiceCancelledOrUnsuitableLeavesNoSong) {
    UlozenaPisen("BezStupnice.xls", {{{"c1,"}, "Tlak", {}, ""}});
    class frmKonverze& d = OtevriDialog();

    d.cmdVyberPisen.PerformClick();  // cancelled
    EXPECT_TRUE(d.Widget()->isVisible());
    EXPECT_TRUE(d.cmdVyberPisen.Enabled);
    EXPECT_EQ(AktualniPisen, "");

    dialogy_.Answer((SongFolder() / "BezStupnice.xls").string());
    d.cmdVyberPisen.PerformClick();
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{"Vybraná píseň neobsahuje informaci o tom ve kterém ladění je zapsána. Konverzi "
                                 "nelze provést. Vyberte jinou píseň.\rPokročilí uživatelé mohou zapsat ladění do "
                                 "sloupce W.",
                                 forms::vbCritical, "Nevhodný soubor."}}));
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_TRUE(d.cmdVyberPisen.Enabled);
    EXPECT_TRUE(d.Widget()->isVisible());

    // The lookup workbook is not a song: it stays open and unsaved.
    dialogy_.Answer(testsupport::ProgramDir() + "/read_only.xls");
    const auto pred = fs::last_write_time(testsupport::ProgramDir() + "/read_only.xls");
    d.cmdVyberPisen.PerformClick();
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Nevhodný soubor.");
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_NO_THROW(ExcelAplikace->Windows(NazevReadOnly).Activate());
    EXPECT_EQ(fs::last_write_time(testsupport::ProgramDir() + "/read_only.xls"), pred);

    // "Provést" without a song.
    VyberCil(d, "G Dur");
    d.cmdGo.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Píseň ze které se má konvertovat, není otevřena.", forms::vbCritical,
                                              "Neočekávaná chyba."}}));
    EXPECT_FALSE(d.cmdGo.Enabled);
}

// ---- Closing -------------------------------------------------------------------------

TEST_F(KonverzeTest, ClosingWithoutTheSpreadsheetOrTheSongStillShowsTheMainWindow) {
    struct Pripad {
        const char* co;
        Box box;
    };
    const Pripad pripady[] = {
        {"spreadsheet gone",
         {"Soubor nelze uložit !\r\nUživatel, nebo jiný program zavřel Excel.\r\nTato chyba může způsobit "
          "nestabilitu systému !",
          forms::vbExclamation, "Nenalezena externí aplikace."}},
        {"song closed in the spreadsheet", {resources::NeocekavanaChybaText(9), forms::vbCritical, "Neočekávaná chyba !"}},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.co);
        OtevrenaPisen("Pisen.xls", PisenVCDur());
        class frmKonverze& d = OtevriDialog();
        std::shared_ptr<xl::Application> excel = ExcelAplikace;
        if (std::string(p.co) == "spreadsheet gone")
            ExcelAplikace.reset();
        else
            ExcelAplikace->ActiveWorkbook().Close(false);

        d.cmdKonec.PerformClick();

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{p.box}));
        EXPECT_FALSE(d.IsLoaded());
        EXPECT_TRUE(Hlavni().Visible && Hlavni().Widget()->isVisible());
        ExcelAplikace = excel;
        if (AktualniPisen == "Pisen.xls" && vb::LooseEquals(AktivujPisen(), true))
            ExcelAplikace->ActiveWorkbook().Close(false);
        fs::remove(Soubor("Pisen.xls"));
    }
}

TEST_F(KonverzeTest, UnexpectedFailureStopsWithTheNoteKept) {
    OtevrenaPisen("Pisen.xls", PisenVCDur());
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->Sheets("Transpozice").Name("Jinak");

    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{std::string("Volejte firmu ") + resources::kMakerContact +
                                                  "\ra sdělte číslo chyby 9.",
                                              forms::vbCritical, "Neočekávaná chyba !"}}));
    ASSERT_TRUE(DialogOtevreny());
    EXPECT_FALSE(Dialog().cmdGo.Enabled);
    Dialog().cmdKonec.PerformClick();
    // The result was saved as the song it is, its first note untouched.
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "Pisen G Dur.xls");
    EXPECT_EQ(Bunka("B1"), "c1,");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "G Dur Nedokončeno");
    EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- Songs that cannot be written ---------------------------------------------------

// The refusal of a conversion whose song or result cannot be written.
Box NelzeKonvertovat(const std::string& pricina) {
    return {pricina + "\r\nKonverze nebude provedena.\r\nČíslo chyby: 1004.", forms::vbCritical,
            "Konverzi nelze provést."};
}
// A file of the song folder as the messages name it.
std::string VeSlozce(const fs::path& soubor) {
    return std::string(PracovniAdresar) + "\\" + soubor.filename().string();
}
std::string ChranenySoubor(const fs::path& soubor) {
    return "Soubor „" + VeSlozce(soubor) + "“ nelze uložit: je chráněný proti zápisu.";
}

// A song of the main window that cannot be saved (a file without write
// permission, or one the system protects): the conversion says why, writes
// nothing, and the main window keeps its song; closing the dialog says
// nothing more.
TEST_F(KonverzeTest, SongThatCannotBeSavedIsNotConvertedAndStaysInTheMainWindow) {
    for (const bool rezimSouboru : {true, false}) {
        SCOPED_TRACE(rezimSouboru ? "mode 0444" : "protected by the system");
        OtevrenaPisen("Pisen.xls", PisenVCDur());
        const fs::path soubor = Soubor("Pisen.xls");
        const std::string predtim = testsupport::ReadFile(soubor);
        std::optional<testsupport::WriteProtected> ochrana;
        if (rezimSouboru) {
            fs::permissions(soubor, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        } else {
            ochrana.emplace(soubor);
            if (!ochrana->Active()) GTEST_SKIP() << "no write protection here";
        }

        Proved("G Dur");

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{NelzeKonvertovat(ChranenySoubor(soubor))}));
        EXPECT_FALSE(DialogOtevreny());
        EXPECT_TRUE(Hlavni().Visible);
        EXPECT_EQ(Hlavni().Caption.get(), "Pisen.xls");
        EXPECT_EQ(AktualniPisen, "Pisen.xls");
        EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "Pisen.xls");
        EXPECT_EQ(Bunka("B1"), "c1,");
        EXPECT_FALSE(fs::exists(Soubor("Pisen G Dur.xls")));
        EXPECT_EQ(testsupport::ReadFile(soubor), predtim);

        ochrana.reset();
        fs::permissions(soubor, fs::perms::owner_read | fs::perms::owner_write);
        ExcelAplikace->ActiveWorkbook().Close(false);
        AktualniPisen.clear();
        fs::remove(soubor);
    }
}

// The song folder cannot take the result (it is write-protected), or an old
// result cannot be replaced (the folder or the file is write-protected): the
// box names the one that refuses before anything is asked or converted;
// nothing is made or deleted, and the song, saved elsewhere, stays open as it was.
TEST_F(KonverzeTest, ResultThatCannotBeMadeOrReplacedIsReportedAndTheSongStays) {
    const fs::path noty = Root() / "C" / "Noty";
    fs::create_directories(noty);
    fs::create_directories(SongFolder());
    xl::Workbook kniha = ExcelAplikace->Workbooks().Add();
    kniha.SaveAs({.Filename = "C:\\Noty\\Pisen.xls"});
    AktualniPisen = "Pisen.xls";
    ZapisRadky(PisenVCDur());
    Hlavni().Caption = AktualniPisen;
    const std::string slozka = "Soubor „" + VeSlozce("Pisen G Dur.xls") + "“ nelze uložit: do složky „" +
                               PracovniAdresar + "“ nelze zapisovat.";

    struct Pripad {
        const char* co;
        bool staryVysledek;
        bool chranenySoubor;  // else the folder is protected
        Box box;
    };
    const Pripad pripady[] = {
        {"no result yet, the folder protected", false, false, NelzeKonvertovat(slozka)},
        {"an old result, the folder protected", true, false, NelzeKonvertovat(slozka)},
        {"an old result protected itself", true, true, NelzeKonvertovat(ChranenySoubor("Pisen G Dur.xls"))},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.co);
        if (p.staryVysledek) testsupport::WriteFile(Soubor("Pisen G Dur.xls"), "starý výsledek");
        testsupport::WriteProtected ochrana(p.chranenySoubor ? Soubor("Pisen G Dur.xls") : SongFolder());
        if (!ochrana.Active()) GTEST_SKIP() << "no write protection here";

        Proved("G Dur");

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{p.box}));
        EXPECT_FALSE(DialogOtevreny());
        EXPECT_EQ(Hlavni().Caption.get(), "Pisen.xls");
        EXPECT_EQ(AktualniPisen, "Pisen.xls");
        EXPECT_EQ(Bunka("B1"), "c1,");
        EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "List1");
        if (p.staryVysledek)
            EXPECT_EQ(testsupport::ReadFile(Soubor("Pisen G Dur.xls")), "starý výsledek");
        else
            EXPECT_FALSE(fs::exists(Soubor("Pisen G Dur.xls")));
        ochrana.Lift();
        fs::remove(Soubor("Pisen G Dur.xls"));
    }
}

// A song that fills the sheet to its last row converts to its end, as a
// shorter one does: no range or cell is built below the sheet.
TEST_F(KonverzeTest, SongThatFillsTheSheetIsConvertedToItsLastRow) {
    struct Pripad {
        const char* co;
        int radku;
        bool posledniJenBasy;
    };
    const Pripad pripady[] = {
        {"one row short of the sheet", xl::kRowsPerSheet - 1, false},
        {"the whole sheet, notes last", xl::kRowsPerSheet, false},
        {"the whole sheet, basses only last", xl::kRowsPerSheet, true},
    };
    xl::ScriptedFileDialogs dialogy;
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.co);
        // Grips of basses only between notes at the start and at the end:
        // every row is walked, few are looked up.
        const auto text = [](std::string t) {
            xl::internal::Cell c;
            c.kind = xl::internal::Cell::Kind::Text;
            c.text = std::move(t);
            return c;
        };
        xl::internal::Book kniha;
        xl::internal::Sheet list;
        list.name = "Calvira12";
        for (int r = 1; r <= p.radku; ++r) {
            const bool noty = r == 1 || (r >= p.radku - 1 && !(r == p.radku && p.posledniJenBasy));
            if (noty) list.cells[{r, 2}] = text("c1,");
            list.cells[{r, 9}] = text("Tlak");
            list.cells[{r, 23}] = text("C Dur");
        }
        list.cells[{1, 22}] = text("l13;1\\");
        list.cells[{p.radku, 22}] = text("l14;2\\");
        kniha.sheets.push_back(std::move(list));
        fs::create_directories(SongFolder());
        xl::internal::WriteXlsFile(kniha, Soubor("Plna.xls").string());
        dialogy.Answer(Soubor("Plna.xls").string());
        class frmKonverze& d = OtevriDialog();
        d.cmdVyberPisen.PerformClick();
        VyberCil(d, "G Dur");

        d.cmdGo.PerformClick();

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Plna G Dur.xls")}));
        EXPECT_FALSE(DialogOtevreny());
        const xl::internal::Book vysledek = xl::internal::ReadXlsFile(Soubor("Plna G Dur.xls").string());
        ASSERT_EQ(vysledek.sheets.size(), 1u);
        const auto bunka = [&](int radek, int sloupec) {
            const xl::internal::Cell* c = vysledek.sheets[0].cells.Find({radek, sloupec});
            return c ? c->text.str() : std::string();
        };
        EXPECT_EQ(vysledek.sheets[0].name, "Calvira12");
        EXPECT_EQ(bunka(1, 2), "g,");
        EXPECT_EQ(bunka(p.radku, 2), p.posledniJenBasy ? "" : "g,");
        EXPECT_EQ(bunka(p.radku - 1, 2), "g,");
        for (const int r : {1, p.radku / 2, p.radku}) EXPECT_EQ(bunka(r, 23), "G Dur") << r;
        EXPECT_EQ(bunka(1, 22), "");
        EXPECT_EQ(bunka(p.radku, 22), "");
        fs::remove(Soubor("Plna.xls"));
        fs::remove(Soubor("Plna G Dur.xls"));
    }
}

// A song chosen in the dialog that cannot be saved: the dialog says why and
// closes the workbook it opened; the program is as before, and the next
// conversion offers the file dialog again. Once the file can be written, it
// converts, and the main window still has no song.
TEST_F(VyberPisneTest, ChosenSongThatCannotBeSavedIsClosedAndNotKept) {
    UlozenaPisen("Valcik.xls", PisenVCDur());
    UlozenaPisen("BezStupnice.xls", {{{"c1,"}, "Tlak", {}, ""}});
    const fs::path soubor = Soubor("Valcik.xls");
    const auto jenCteni = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(soubor, jenCteni);
    fs::permissions(Soubor("BezStupnice.xls"), jenCteni);

    // Chosen and converted.
    dialogy_.Answer(soubor.string());
    class frmKonverze& d = OtevriDialog();
    d.cmdVyberPisen.PerformClick();
    VyberCil(d, "G Dur");
    d.cmdGo.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{NelzeKonvertovat(ChranenySoubor(soubor))}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_EQ(Hlavni().Caption.get(), "Belmora");
    EXPECT_FALSE(fs::exists(Soubor("Valcik G Dur.xls")));

    // Chosen and left with "Konec"; chosen without a scale: closed with no word of a save.
    class frmKonverze& d2 = OtevriDialog();
    EXPECT_TRUE(d2.cmdVyberPisen.Enabled);
    EXPECT_EQ(d2.cmdVyberPisen.Caption.get(), "Zde vyberte zdrojovou písničku.");
    dialogy_.Answer(soubor.string());
    d2.cmdVyberPisen.PerformClick();
    d2.cmdKonec.PerformClick();
    dialogy_.Answer(Soubor("BezStupnice.xls").string());
    class frmKonverze& d3 = OtevriDialog();
    d3.cmdVyberPisen.PerformClick();
    const auto boxy = TakeBoxes();
    ASSERT_EQ(boxy.size(), 1u);
    EXPECT_EQ(boxy[0].title, "Nevhodný soubor.");
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_TRUE(d3.cmdVyberPisen.Enabled);
    d3.cmdKonec.PerformClick();
    EXPECT_TRUE(TakeBoxes().empty());

    // Writable again: converted, and the main window has no song still.
    fs::permissions(soubor, fs::perms::owner_read | fs::perms::owner_write);
    dialogy_.Answer(soubor.string());
    class frmKonverze& d4 = OtevriDialog();
    d4.cmdVyberPisen.PerformClick();
    VyberCil(d4, "G Dur");
    d4.cmdGo.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Valcik G Dur.xls")}));
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_EQ(Hlavni().Caption.get(), "Belmora");
    EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
}

// ---- One song open for writing in one place -----------------------------------------

std::string OtevrenaJinde(const std::string& soubor) {
    return "Soubor " + soubor +
           " je již otevřen k zápisu v jiném okně programu. Dokud je otevřen tam, nelze ho zde otevřít k zápisu ani "
           "přepsat: změny by se navzájem přepsaly. Zavřete ho nejprve tam.";
}

// The song chosen, and the result of the song of the main window, are open
// for writing in another window (another engine here): the song is not taken,
// and the result is neither deleted nor written.
TEST_F(VyberPisneTest, SongOrResultOpenInAnotherWindowIsLeftToIt) {
    UlozenaPisen("Valcik.xls", PisenVCDur());
    auto jinde = xl::CreateExcelApplication();
    const std::string valcik = std::string(PracovniAdresar) + "\\Valcik.xls";
    jinde->Workbooks().Open(valcik);

    dialogy_.Answer(Soubor("Valcik.xls").string());
    class frmKonverze& d = OtevriDialog();
    d.cmdVyberPisen.PerformClick();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{OtevrenaJinde(valcik), forms::vbExclamation, "Nevhodný soubor."}}));
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_TRUE(d.cmdVyberPisen.Enabled);
    d.cmdKonec.PerformClick();

    // The other window has the result of Pisen.xls open.
    jinde->ActiveWorkbook().Close(false);
    jinde->Workbooks().Add();
    jinde->ActiveWorkbook().SaveAs({.Filename = std::string(PracovniAdresar) + "\\Pisen G Dur.xls"});
    const std::string vysledek = testsupport::ReadFile(Soubor("Pisen G Dur.xls"));
    OtevrenaPisen("Pisen.xls", PisenVCDur());
    Proved("G Dur");

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{OtevrenaJinde(std::string(PracovniAdresar) + "\\Pisen G Dur.xls") +
                                                  "\r\nKonverze nebude provedena.",
                                              forms::vbCritical, "Konverzi nelze provést."}}));
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_EQ(AktualniPisen, "Pisen.xls");
    EXPECT_EQ(Hlavni().Caption.get(), "Pisen.xls");
    EXPECT_EQ(testsupport::ReadFile(Soubor("Pisen G Dur.xls")), vysledek);
}

// ---- A nearly full disk -----------------------------------------------------------

// The song folder on a small file system of its own (3 MB, as a small drive
// C), filled up in the test; the songs and the dialog as in the tests above.
class PlnyDiskTest : public KonverzeTest {
protected:
    // Runs `body` with the song folder on its own small file system; skipped
    // where that cannot be had.
    void NaMalemDisku(const std::function<void()>& body) {
        fs::create_directories(SongFolder());
        if (!ReadyToFork()) GTEST_SKIP() << "threads running: no fork";
        testsupport::InPrivateMount(SongFolder(), "size=3m", body);
    }

    // A long song in C Dur: `radku` grips with notes, basses, fingerings and
    // syllables that no two rows share.
    static std::vector<Radek> DlouhaPisen(int radku) {
        static const char* const noty[] = {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,", "h1,"};
        std::vector<Radek> radky;
        for (int r = 0; r < radku; ++r)
            radky.push_back({{noty[r % 7], noty[(r + 2) % 7], noty[(r + 4) % 7]},
                             r % 2 ? "Tah" : "Tlak",
                             {"C zákl.", "G dur"},
                             "C Dur",
                             "l" + std::to_string(13 + r % 5) + ";1\\",
                             "slabika " + std::to_string(r + 1)});
        return radky;
    }

    // A song saved in the folder C:\Noty, outside the small disk, open in
    // the main window.
    std::string PisenMimoDisk(const std::string& nazev, const std::vector<Radek>& radky) {
        fs::create_directories(Root() / "C" / "Noty");
        ExcelAplikace->Workbooks().Add().SaveAs({.Filename = "C:\\Noty\\" + nazev});
        AktualniPisen = nazev;
        ZapisRadky(radky);
        Hlavni().Caption = nazev;
        Hlavni().PovolOvladaniPisne();
        Hlavni().NastavOvladaniPisne();
        return nazev;
    }

    // The file names of the song folder.
    std::vector<std::string> Soubory() const {
        std::vector<std::string> jmena;
        for (const auto& e : fs::directory_iterator(SongFolder())) jmena.push_back(e.path().filename().string());
        std::sort(jmena.begin(), jmena.end());
        return jmena;
    }

    // The treble notes of row `radek` of the first sheet of a saved song.
    static std::vector<std::string> NotyVSouboru(const fs::path& soubor, int radek) {
        const xl::internal::Book kniha = xl::internal::ReadXlsFile(soubor.string());
        std::vector<std::string> noty;
        for (int c = 2; c <= 4; ++c) {
            const xl::internal::Cell* bunka = kniha.sheets.at(0).cells.Find({radek, c});
            noty.push_back(bunka ? bunka->text.str() : std::string());
        }
        return noty;
    }

    static Box NelzeUlozitVysledek(const std::string& vysledek, const std::string& pisen) {
        return {"Soubor „" + std::string(PracovniAdresar) + "\\" + vysledek +
                    "“ nelze uložit: disk je plný (nebo je vyčerpána kvóta místa na disku).\r\nKonverze nebyla "
                    "dokončena a její výsledek nebyl uložen; píseň " +
                    pisen + " zůstává beze změny.\r\nČíslo chyby: 1004.",
                forms::vbCritical, "Výsledek konverze nelze uložit."};
    }

    // The main window goes on with the song as it was before the conversion.
    void HlavniOknoMaPuvodniPisen(const std::string& pisen) {
        EXPECT_FALSE(DialogOtevreny());
        EXPECT_TRUE(Hlavni().Visible);
        EXPECT_EQ(AktualniPisen, pisen);
        EXPECT_EQ(Hlavni().Caption.get(), pisen);
        ASSERT_EQ(ExcelAplikace->ActiveWorkbook().Name(), pisen);
        EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 2);
        EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "List1");
        EXPECT_EQ(Bunka("B1"), "c1,");
        EXPECT_EQ(Bunka("V1"), "l13;1\\");
        EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    }
};

// The song and its result on a disk with room for one copy of the song but
// not two: the result is written once, whole, and the conversion says so
// only then.
TEST_F(PlnyDiskTest, AResultThatFitsIsWrittenWholeBeforeItIsDone) {
    NaMalemDisku([&] {
        OtevrenaPisen("Velka.xls", DlouhaPisen(900));
        const auto velikost = fs::file_size(Soubor("Velka.xls"));
        testsupport::FillDisk(SongFolder() / "plno", velikost * 3 / 2);

        Proved("G Dur");

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{Hotovo("Velka G Dur.xls")}));
        EXPECT_EQ(Soubory(), (std::vector<std::string>{"Velka G Dur.xls", "Velka.xls", "plno"}));
        EXPECT_EQ(NotyVSouboru(Soubor("Velka G Dur.xls"), 1), (std::vector<std::string>{"g,", "h,", "d1,"}));
        EXPECT_EQ(NotyVSouboru(Soubor("Velka G Dur.xls"), 900), (std::vector<std::string>{"c1,", "e1,", "g,"}));
        EXPECT_EQ(NotyVSouboru(Soubor("Velka.xls"), 1), (std::vector<std::string>{"c1,", "e1,", "g1,"}));
        EXPECT_EQ(AktualniPisen, "Velka G Dur.xls");
        EXPECT_TRUE(ExcelAplikace->ActiveWorkbook().Saved());
    });
}

// A result that does not fit (the song lies on another disk): no "Hotovo",
// the box names the file and the cause, no file is left under the result's
// name, an old result the user agreed to replace stays as it was, and the
// main window goes on with its song as it was.
TEST_F(PlnyDiskTest, AResultThatDoesNotFitLeavesNothingAndTheSongAsItWas) {
    NaMalemDisku([&] {
        for (const bool staryVysledek : {false, true}) {
            SCOPED_TRACE(staryVysledek ? "an old result" : "no result yet");
            const std::string pisen = PisenMimoDisk(staryVysledek ? "Druha.xls" : "Velka.xls", DlouhaPisen(900));
            const std::string vysledek = staryVysledek ? "Druha G Dur.xls" : "Velka G Dur.xls";
            const auto velikost = fs::file_size(Root() / "C" / "Noty" / pisen);
            if (staryVysledek) testsupport::WriteFile(Soubor(vysledek), "starý výsledek");
            testsupport::FillDisk(SongFolder() / "plno", velikost / 2);
            std::vector<Box> cekane;
            if (staryVysledek) {
                cekane.push_back({"Soubor již existuje. Přejete si ho vymazat a nahradit novým ?", forms::vbOKCancel,
                                  std::string(PracovniAdresar) + "\\" + vysledek});
                Boxes().Answer(forms::vbOK);
            }
            cekane.push_back(NelzeUlozitVysledek(vysledek, pisen));

            Proved("G Dur");

            EXPECT_EQ(TakeBoxes(), cekane);
            if (staryVysledek) {
                EXPECT_EQ(Soubory(), (std::vector<std::string>{vysledek, "plno"}));
                EXPECT_EQ(testsupport::ReadFile(Soubor(vysledek)), "starý výsledek");
            } else {
                EXPECT_EQ(Soubory(), std::vector<std::string>{"plno"});
            }
            HlavniOknoMaPuvodniPisen(pisen);
            EXPECT_EQ(NotyVSouboru(Root() / "C" / "Noty" / pisen, 1), (std::vector<std::string>{"c1,", "e1,", "g1,"}));

            Hlavni().cmdEndEdit_Click();
            EXPECT_TRUE(TakeBoxes().empty());
            fs::remove(SongFolder() / "plno");
        }
    });
}

// A conversion that paused where the scale changes and cannot write its
// whole result when it resumes: no "Hotovo", no file under the result's name
// (the part written at the pause is removed), the song as it was. A song
// that cannot be opened again (its file gone meanwhile) is ended in the
// main window.
TEST_F(PlnyDiskTest, APausedConversionWhoseResultNoLongerFitsLeavesNothing) {
    NaMalemDisku([&] {
        for (const bool pisenZmizi : {false, true}) {
            SCOPED_TRACE(pisenZmizi ? "the song's file gone meanwhile" : "the song's file there");
            std::vector<Radek> radky = DlouhaPisen(900);
            for (std::size_t r = 450; r < radky.size(); ++r) {
                radky[r].noty = {"f1,", "a1,", "c2,"};
                radky[r].stupnice = "F Dur";
            }
            const std::string pisen = PisenMimoDisk(pisenZmizi ? "Druha.xls" : "Velka.xls", radky);
            const std::string vysledek = pisenZmizi ? "Druha G Dur.xls" : "Velka G Dur.xls";
            Boxes().Answer(forms::vbYes);

            Proved("G Dur");

            EXPECT_EQ(TakeBoxes(), (std::vector<Box>{ZmenaStupnice(451, "C Dur", "F Dur")}));
            ASSERT_TRUE(DialogOtevreny());
            // The part converted so far is the result while the user chooses.
            EXPECT_EQ(Soubory(), std::vector<std::string>{vysledek});
            EXPECT_EQ(NotyVSouboru(Soubor(vysledek), 1), (std::vector<std::string>{"g,", "h,", "d1,"}));
            testsupport::FillDisk(SongFolder() / "plno");
            if (pisenZmizi) fs::rename(Root() / "C" / "Noty" / pisen, Root() / "C" / "Noty" / "jinam.xls");
            VyberCil(Dialog(), "B Dur");
            Dialog().cmdPokracovat.PerformClick();

            std::vector<Box> cekane{NelzeUlozitVysledek(vysledek, pisen)};
            if (pisenZmizi)
                cekane.push_back({"Soubor C:\\Noty\\" + pisen +
                                      " nebyl nalezen. Zkontrolujte, zda nebyl přejmenován, přesunut nebo odstraněn, a "
                                      "zda je název zapsán správně.\r\nPíseň v hlavním okně se ukončí.\r\nČíslo chyby: "
                                      "1004.",
                                  forms::vbCritical, "Píseň nelze znovu otevřít."});
            EXPECT_EQ(TakeBoxes(), cekane);
            EXPECT_EQ(Soubory(), std::vector<std::string>{"plno"});
            if (pisenZmizi) {
                EXPECT_FALSE(DialogOtevreny());
                EXPECT_TRUE(Hlavni().Visible);
                EXPECT_EQ(AktualniPisen, "");
                EXPECT_EQ(Hlavni().Caption.get(), "Belmora");
                EXPECT_TRUE(Hlavni().cmdEdit.Enabled.get());
                EXPECT_FALSE(Hlavni().cmdEndEdit.Enabled.get());
                EXPECT_EQ(ExcelAplikace->Workbooks().Count(), 1);
            } else {
                HlavniOknoMaPuvodniPisen(pisen);
                Hlavni().cmdEndEdit_Click();
            }
            EXPECT_TRUE(TakeBoxes().empty());
            fs::remove(SongFolder() / "plno");
        }
    });
}

}  // namespace
