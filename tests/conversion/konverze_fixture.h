// The conversion over the main window as the program brings it up (real
// workbook engine, real read_only.xls, calvira registered, temporary drive C,
// scripted message boxes): songs written row by row into a workbook of the
// song folder, the dialog opened through the menu item, the result read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "conversion/frmkonverze.h"
#include "conversion/okno.h"
#include "platform/vb/conversions.h"
#include "tests/mainwindow/form1_fixture.h"

namespace konverze_test {

namespace fs = std::filesystem;
using Box = forms::ScriptedMessageBoxes::Box;

// One grip row of a song.
struct Radek {
    std::vector<std::string> noty;  // B..H
    std::string smer;               // I: "Tlak", "Tah" or ""
    std::vector<std::string> basy;  // M..S
    std::string stupnice;           // W
    std::string prstoklad = {};     // V
    std::string slabika = {};       // A
};

// The letters of column `cislo` (1 = A, 27 = AA).
inline std::string Sloupec(int cislo) {
    std::string nazev;
    for (; cislo > 0; cislo = (cislo - 1) / 26) nazev.insert(nazev.begin(), static_cast<char>('A' + (cislo - 1) % 26));
    return nazev;
}

// The text of a cell of the active sheet.
inline std::string Bunka(const std::string& adresa) { return vb::CStr(ExcelAplikace->Range(adresa).Value()); }
// Cells `od` .. `do_` of row `radek` of the active sheet (column numbers).
inline std::vector<std::string> Bunky(int radek, int od, int do_) {
    std::vector<std::string> v;
    for (int s = od; s <= do_; ++s) v.push_back(Bunka(Sloupec(s) + std::to_string(radek)));
    return v;
}

class KonverzeFixture : public form1_test::Form1Fixture {
protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        if (HasFatalFailure()) return;
        hlavni_ = &Start();
        TakeBoxes();
    }
    void TearDown() override {
        frmKonverze.Reset();
        Form1Fixture::TearDown();
    }

    Form1& Hlavni() { return *hlavni_; }

    // What the menu item lends the dialog, for the engine used on its own.
    OknoKonverze Okno() {
        Form1& f = *hlavni_;
        return {.Zobraz = [&f] { f.Visible = true; },
                .UkonciPisen = [&f] { f.cmdEndEdit_Click(); },
                .NastavTitulek = [&f](const std::string& nazev) { f.Caption = nazev; },
                .FldExist = [&f](const std::string& slozka) { return f.FldExist(slozka); },
                .FileExists = [&f](const std::string& soubor) { return f.FileExists(soubor); }};
    }

    // Writes the rows into the active sheet from row 1 and saves the workbook.
    static void ZapisRadky(const std::vector<Radek>& radky) {
        for (std::size_t i = 0; i < radky.size(); ++i) {
            const Radek& r = radky[i];
            const std::string n = std::to_string(i + 1);
            const auto bunka = [&n](int sloupec, const std::string& text) {
                if (!text.empty()) ExcelAplikace->Range(Sloupec(sloupec) + n).Value(text);
            };
            bunka(1, r.slabika);
            for (std::size_t k = 0; k < r.noty.size(); ++k) bunka(2 + static_cast<int>(k), r.noty[k]);
            bunka(9, r.smer);
            for (std::size_t k = 0; k < r.basy.size(); ++k) bunka(13 + static_cast<int>(k), r.basy[k]);
            bunka(22, r.prstoklad);
            bunka(23, r.stupnice);
        }
        ExcelAplikace->ActiveWorkbook().Save();
    }

    // A song of the song folder with these rows, open in the main window as
    // opening it there leaves it.
    std::string OtevrenaPisen(const std::string& nazev, const std::vector<Radek>& radky) {
        const std::string pisen = OpenNewSong(nazev);
        ZapisRadky(radky);
        hlavni_->Caption = pisen;
        hlavni_->PovolOvladaniPisne();
        hlavni_->NastavOvladaniPisne();
        return pisen;
    }

    // The menu item, as the user picks it; the dialog it opened.
    class frmKonverze& OtevriDialog() {
        hlavni_->mnuKonverze_Click();
        class frmKonverze* dialog = frmKonverze.Existing();
        if (!dialog) throw std::logic_error("the conversion dialog did not open");
        return *dialog;
    }
    // The instance that was opened, also after it was unloaded.
    class frmKonverze& Dialog() { return *frmKonverze.Existing(); }
    bool DialogOtevreny() { return frmKonverze.Existing() && Dialog().IsLoaded(); }

    static void VyberCil(class frmKonverze& dialog, const std::string& stupnice) {
        for (int i = 0; i <= 14; ++i)
            if (dialog.optStupnice(i).Caption.get() == stupnice) dialog.optStupnice(i).Value = true;
    }

    fs::path Soubor(const std::string& nazev) const { return SongFolder() / nazev; }

    // The warning of a note that could not be converted.
    static Box Varovani(const std::string& nota, const std::string& zdroj, const std::string& cil,
                        const std::string& pisen) {
        return {"Nota " + nota + " se ve stupnici " + zdroj + ", ze které má být konverze do " + cil +
                    " provedena nevyskytuje!\rKonverze nebude korektně provedena!\rVymažte prosím později tento "
                    "nedokončený a chybný soubor " +
                    pisen + " z Vašeho úložiště skladeb!",
                forms::vbExclamation, "Nesprávné určení stupnice !"};
    }
    // The warning of a note of the source scale that falls outside the treble in the target.
    static Box MimoDiskant(const std::string& nota, const std::string& zdroj, const std::string& cil,
                           const std::string& pisen) {
        return {"Nota " + nota + " ze stupnice " + zdroj + " nemá po konverzi do " + cil +
                    " na diskantu žádný knoflík: padla by mimo jeho rozsah.\rNa jejím místě bude v písni zapsáno "
                    "Nepřekonvertováno!\rVymažte prosím později tento nedokončený a chybný soubor " +
                    pisen + " z Vašeho úložiště skladeb!",
                forms::vbExclamation, "Nota mimo rozsah diskantu !"};
    }
    static Box Hotovo(const std::string& pisen) {
        return {"Skladba byla na aktivním listu překonvertována podle nastavených požadavků a uložena do souboru \r" +
                    pisen + ".",
                forms::vbInformation, "Hotovo"};
    }
    static Box ZmenaStupnice(int radek, const std::string& z, const std::string& do_) {
        return {"Na řádku " + std::to_string(radek) + " se mění původní stupnice z " + z + " do " + do_ +
                    ".\rChcete-li tento úsek konvertovat do jiné stupnice, stiskněte Ano.",
                forms::vbYesNoCancel | forms::vbQuestion | forms::vbDefaultButton2, "Přechod do jiné stupnice"};
    }

private:
    Form1* hlavni_ = nullptr;
};

}  // namespace konverze_test
