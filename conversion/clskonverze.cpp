#include "conversion/clskonverze.h"

#include <string>

#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/system/files.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "resources/app_info/app_info.h"
#include "store/hlaseni.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

// The rows of the scale names in the scale table.
constexpr const char* kStupniceTabulky = "B1:B17";

// The cell of `oblast` (on the lookup workbook's active sheet) whose whole
// value is `klic`, left active. A key that the range does not hold as a whole
// value is error 91, as using the cell that the search did not find.
xl::Range NajdiCelou(const std::string& oblast, const std::string& klic) {
    // An empty key would find the first empty cell.
    if (!klic.empty()) {
        const xl::Range nalez = NajdiVReadOnly(oblast, vb::Variant(klic));
        if (!nalez.IsNothing()) return nalez;
    }
    vb::Raise(vb::err::ObjectNotSet, xl::kErrorSource, "Hodnota " + klic + " v oblasti " + oblast + " není.");
}

// The conversion's own form of the unexpected-error box.
void NeocekavanaChybaKonverze(int cislo) {
    forms::MsgBox(std::string("Volejte firmu ") + resources::kMakerContact + vb::vbCr + "a sdělte číslo chyby " +
                      std::to_string(cislo) + ".",
                  forms::vbCritical, "Neočekávaná chyba !");
}

}  // namespace

vb::Variant clsKonverze::Konvertuj(const std::string& LadeniZdroj, const std::string& LadeniCil,
                                   const std::string& Nota) {
    try {
        Excel().Windows(NazevReadOnly).Activate();
        Excel().Sheets("Transpozice").Select();

        try {
            const int radek = NajdiCelou(kStupniceTabulky, LadeniZdroj).Row();
            const std::string r = std::to_string(radek);
            const int sloupec = NajdiCelou("C" + r + ":BH" + r, Nota).Column();
            const xl::Range cilovaStupnice = NajdiCelou(kStupniceTabulky, LadeniCil);
            const vb::Variant vysledek = cilovaStupnice.Offset(0, sloupec - 2).Value();
            if (!vb::CStr(vysledek).empty()) return vysledek;
            // An empty cell: the tone lies outside the treble in the target
            // scale. Written into the song, the note would vanish.
            forms::MsgBox("Nota " + Nota + " ze stupnice " + LadeniZdroj + " nemá po konverzi do " + LadeniCil +
                              " na diskantu žádný knoflík: padla by mimo jeho rozsah." + vb::vbCr +
                              "Na jejím místě bude v písni zapsáno " + kNeprekonvertovano + vb::vbCr +
                              "Vymažte prosím později tento nedokončený a chybný soubor " + AktualniPisen +
                              " z Vašeho úložiště skladeb!",
                          forms::vbExclamation, "Nota mimo rozsah diskantu !");
            return kNeprekonvertovano;
        } catch (const vb::RuntimeError& e) {
            if (e.Number() != vb::err::ObjectNotSet) throw;
        }
    } catch (const vb::RuntimeError& e) {
        NeocekavanaChybaKonverze(e.Number());
        return {};
    }

    forms::MsgBox("Nota " + Nota + " se ve stupnici " + LadeniZdroj + ", ze které má být konverze do " + LadeniCil +
                      " provedena nevyskytuje!" + vb::vbCr + "Konverze nebude korektně provedena!" + vb::vbCr +
                      "Vymažte prosím později tento nedokončený a chybný soubor " + AktualniPisen +
                      " z Vašeho úložiště skladeb!",
                  forms::vbExclamation, "Nesprávné určení stupnice !");
    return kNeprekonvertovano;
}

std::string clsKonverze::ZjistiZapsaneLadeni(const std::string& Pisen) {
    Excel().Windows(Pisen).Activate();
    return vb::CStr(Excel().ActiveSheet().Range("W1").Value());
}

vb::Variant clsKonverze::ZmenaLadeni(const std::string& PuvLadeni, const std::string& NoveLadeni,
                                     const std::string& Radek) {
    const int odpoved =
        forms::MsgBox("Na řádku " + Radek + " se mění původní stupnice z " + PuvLadeni + " do " + NoveLadeni + "." +
                          vb::vbCr + "Chcete-li tento úsek konvertovat do jiné stupnice, stiskněte Ano.",
                      forms::vbYesNoCancel | forms::vbQuestion | forms::vbDefaultButton2, "Přechod do jiné stupnice");
    if (odpoved == forms::vbYes) return kZmenit;
    if (odpoved == forms::vbNo) return kNe;
    return kStorno;
}

vb::Variant clsKonverze::VytvorCilovySoubor(const std::string& LadeniCil, const std::string& NazevPisne) {
    const auto slozkaExistuje = [this](const std::string& slozka) {
        return okno_.FldExist ? okno_.FldExist(slozka) : sys::FolderExists(slozka);
    };

    vb::Variant vysledek;
    try {
        if (!slozkaExistuje(PracovniAdresar)) {
            forms::MsgBox("Cesta do C:\\Dokumenty\\Dovozivuz  nebyla nalezena." + vb::vbCrLf +
                              "Aby mohl program správně pracovat, bude nyní vytvořena tato složka." + vb::vbCrLf +
                              "Do ní se budou ukládat Vaše skladby.",
                          forms::vbExclamation, "Pracovní adresář neexistuje.");
            for (const char* slozka : {"C:\\Dokumenty", "C:\\Dokumenty\\Dovozivuz", PracovniAdresar})
                if (!slozkaExistuje(slozka)) sys::MkDir(slozka);
        }

        const std::string nazev = vb::Left(NazevPisne, vb::Len(NazevPisne) - 4) + " " + LadeniCil;
        const std::string cesta = std::string(PracovniAdresar) + "\\" + nazev + ".xls";
        const bool zustava = okno_.FileExists ? okno_.FileExists(cesta) : sys::FileExists(cesta);
        if (zustava) {
            forms::MsgBox("Začněte znovu a zadejte jiný název písně.", forms::vbInformation,
                          "Založení nové skladby přerušeno.");
            return {};
        }

        xl::Application& excel = Excel();
        excel.Workbooks().Add();
        excel.ActiveWorkbook().SaveAs({.Filename = cesta,
                                       .FileFormat = xl::xlWorkbookNormal,
                                       .Password = "",
                                       .WriteResPassword = "",
                                       .ReadOnlyRecommended = false,
                                       .CreateBackup = false});
        const std::string novy = excel.ActiveWorkbook().Name();
        vysledek = novy;
        excel.ActiveSheet().Name("Calvira12");
        if (okno_.NastavTitulek) okno_.NastavTitulek(novy);

        // The syllables of the song go with it.
        const xl::Worksheet cil = excel.ActiveSheet();
        excel.Windows(AktualniPisen).Activate();
        const xl::Worksheet zdroj = excel.ActiveSheet();
        for (int radek = 1; radek <= 900; ++radek) {
            const std::string a = "A" + std::to_string(radek);
            const vb::Variant slabika = zdroj.Range(a).Value();
            if (!slabika.IsEmpty()) cil.Range(a).Value(slabika);
        }
        excel.Windows(novy).Activate();
        excel.Range("B1").Select();
        excel.ActiveWorkbook().Save();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::ApplicationDefined)
            OznamChybuUlozeniDoSlozky(e, "Cílový soubor konverze nebyl založen.", "Cílový soubor nelze založit.");
        else
            resources::NeocekavanaChyba(e.Number());
    }
    return vysledek;
}
