#include "conversion/frmkonverze.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "notation/zapis/volby_stupnic.h"
#include "platform/excel/application.h"
#include "platform/forms/winapi.h"
#include "platform/msgbox/msgbox.h"
#include "platform/paths/paths.h"
#include "platform/system/files.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "resources/app_info/app_info.h"
#include "store/hlaseni.h"
#include "store/hmaty.h"
#include "store/module1.h"
#include "store/okna_sesitu.h"
#include "store/pisen.h"

forms::FormInstance<class frmKonverze> frmKonverze;

namespace {

// Selects column B of the row below `radek`; false on the sheet's last row,
// below which no song goes on.
bool NaDalsiRadek(xl::Application& excel, int radek) {
    if (radek >= xl::kRowsPerSheet) return false;
    excel.Range("B" + std::to_string(radek + 1)).Select();
    return true;
}

}  // namespace

frmKonverze::frmKonverze() {
    InitializeComponent();
    cmdVyberPisen.Click = [this] { cmdVyberPisen_Click(); };
    cmdGo.Click = [this] { cmdGo_Click(); };
    cmdPokracovat.Click = [this] { cmdPokracovat_Click(); };
    cmdKonec.Click = [this] { cmdKonec_Click(); };
}

frmKonverze::~frmKonverze() { NastavDrziteleSesitu({}); }

void frmKonverze::InitializeComponent() {
    Name = "frmKonverze";
    Caption = "Konverze ladění.";
    SetClientSize(4335, 7440);

    forms::Place(cmdVyberPisen, "cmdVyberPisen", 120, 120, 4095, 495);
    cmdVyberPisen.Caption = "Zde vyberte zdrojovou písničku.";
    forms::Place(Label2, "Label2", 120, 780, 1455, 255);
    Label2.Caption = "Aktuální stupnice";
    forms::Place(lblStupnice, "lblStupnice", 1680, 750, 2535, 285);
    lblStupnice.BorderStyle = 1;
    forms::Place(Label1, "Label1", 120, 1200, 2535, 255);
    Label1.Caption = "Vyberte cílové ladění";
    forms::Place(Frame1, "Frame1", 120, 1440, 1455, 5655);
    NactiVolbyStupnic(optStupnice, Frame1, 1215);
    forms::Place(lblKonec, "lblKonec", 1800, 1560, 2415, 1335);
    lblKonec.Caption =
        "Konverzi aktuálního souboru bohužel nelze provést. Zkuste jinou korektně zapsanou skladbu !";
    forms::Place(cmdGo, "cmdGo", 1800, 1560, 2415, 1335);
    cmdGo.Caption = "Provést";
    forms::Place(cmdPokracovat, "cmdPokracovat", 1800, 3120, 2415, 495);
    cmdPokracovat.Caption = "Pokračovat";
    cmdPokracovat.Visible = false;
    forms::Place(cmdKonec, "cmdKonec", 1800, 6600, 2415, 495);
    cmdKonec.Caption = "Konec";
    // Return starts the conversion; Escape closes the dialog as "Konec" does.
    cmdGo.Default = true;
    cmdKonec.Cancel = true;
    forms::Place(lblLadeni, "lblLadeni", 1800, 3840, 2415, 255);
    lblLadeni.Visible = false;
    // The label is read only where the button over it is hidden.
    lblKonec.ZOrder(1);
}

clsKonverze& frmKonverze::Konverze() {
    if (!Konverze_) Konverze_ = std::make_unique<clsKonverze>(Okno);
    return *Konverze_;
}

std::string frmKonverze::ZvolenaStupnice() const { return ::ZvolenaStupnice(optStupnice); }

void frmKonverze::Form_Load() {
    NastavDrziteleSesitu([this](const std::string& nazev) { return DrziSesit(nazev); });
    if (vb::LooseEquals(AktivujPisen(), true)) {
        PisenBylaOtevrena = true;
        try {
            const std::string ladeni = Konverze().ZjistiZapsaneLadeni(AktualniPisen);
            if (!ladeni.empty()) {
                lblStupnice.Caption = ladeni;
                cmdVyberPisen.Caption = AktualniPisen;
                cmdVyberPisen.Enabled = false;
            } else {
                cmdVyberPisen.Visible = false;
                cmdGo.Visible = false;
                Label1.Visible = false;
            }
        } catch (const vb::RuntimeError& e) {
            resources::NeocekavanaChyba(e.Number());
        }
    }
    forms::SetWindowPos(hWnd(), forms::HWND_TOPMOST, 0, 0, 0, 0, forms::SWP_NOMOVE | forms::SWP_NOSIZE);
}

void frmKonverze::cmdVyberPisen_Click() {
    Hide();
    try {
        xl::Application& excel = Excel();
        const vb::Variant soubor =
            excel.GetOpenFilename("Excel Files,*.xls", {}, "Vyberte písničku, kterou chcete konvertovat !");
        if (soubor.Type() == vb::VarType::Boolean && !soubor.AsBool()) {
            Show(forms::vbModeless);
            return;
        }
        if (!OtevriSesitPisne(vb::CStr(soubor), "konvertovat", "Nevhodný soubor.")) {
            Show(forms::vbModeless);
            return;
        }
        AktualniPisen = excel.ActiveWorkbook().Name();
        lblStupnice.Caption = vb::CStr(excel.ActiveSheet().Range("W1").Value());

        if (vb::LooseEquals(AktivujReadOnly(), true)) {
            if (!Konverze().ZjistiZapsaneLadeni(AktualniPisen).empty()) {
                cmdVyberPisen.Caption = AktualniPisen;
                cmdVyberPisen.Enabled = false;
            } else {
                forms::MsgBox("Vybraná píseň neobsahuje informaci o tom ve kterém ladění je zapsána. Konverzi nelze "
                              "provést. Vyberte jinou píseň." +
                                  vb::vbCr + "Pokročilí uživatelé mohou zapsat ladění do sloupce W.",
                              forms::vbCritical, "Nevhodný soubor.");
                if (vb::LooseEquals(AktivujPisen(), true)) ZavriVybranouPisen();
            }
        }
    } catch (const vb::RuntimeError& e) {
        resources::NeocekavanaChyba(e.Number());
    }
    Show(forms::vbModeless);
}

void frmKonverze::cmdPokracovat_Click() {
    lblLadeni.Caption = ZvolenaStupnice();
    cmdGo_Click();
}

void frmKonverze::cmdGo_Click() {
    try {
        if (lblLadeni.Caption.get().empty())
            PrvniPruchod();
        else
            PokracujPoPauze();
    } catch (const vb::RuntimeError& e) {
        // The conversion stops where it is; "Konec" saves what was done.
        resources::NeocekavanaChyba(e.Number());
    }
    // Paused or stopped with the dialog open: what was converted is written
    // under the result's name now, so that while the user decides, nothing
    // of it can be saved over the song.
    try {
        if (IsLoaded() && !Sesit_.IsNothing() && !VysledekZapsan && !ZapisVysledek()) Unload();
    } catch (const vb::RuntimeError& e) {
        resources::NeocekavanaChyba(e.Number());
    }
}

void frmKonverze::PrvniPruchod() {
    cmdGo.Enabled = false;
    if (!vb::LooseEquals(AktivujPisen(), true)) {
        forms::MsgBox("Píseň ze které se má konvertovat, není otevřena.", forms::vbCritical, "Neočekávaná chyba.");
        return;
    }
    const std::string cil = ZvolenaStupnice();
    if (cil.empty()) {
        forms::MsgBox("Neurčili jste do kterého ladění si přejete konverzi provést. Zaškrtněte požadovanou volbu a "
                      "zkuste to znovu.",
                      forms::vbExclamation, "Neúplné údaje.");
        cmdGo.Enabled = true;
        return;
    }
    const std::string zdroj = lblStupnice.Caption;
    if (zdroj.empty()) {
        forms::MsgBox("Píseň neobsahuje záznam ve kterém ladění je zapsána. Konverze nebude provedena !",
                      forms::vbCritical, "Neúplné údaje.");
        Unload();
        return;
    }
    if (zdroj == cil) {
        forms::MsgBox("Ve Vámi zvoleném ladění byla píseň již zapsána. Konverze z " + zdroj + " do " + cil +
                          " nebude provedena !",
                      forms::vbCritical, "Chyba při výběru ladění.");
        Unload();
        return;
    }

    // The song is saved as it is, and the workbook goes on as the result.
    // The result is written only once there is one: when the conversion
    // ends, stops or pauses. Until then no file under the result's name is
    // made or replaced, so that a result that cannot be written leaves what
    // was there as it was.
    xl::Application& excel = Excel();
    std::string cesta;
    std::string vysledek;
    try {
        if (vb::Len(AktualniPisen) > 4) {
            vysledek = vb::Left(AktualniPisen, vb::Len(AktualniPisen) - 4) + " " + cil + ".xls";
            cesta = std::string(PracovniAdresar) + "\\" + vysledek;
            // Saved first: a song that cannot be saved is refused before
            // anything is done for the result.
            excel.ActiveWorkbook().Save();
            // Nor is a result replaced that is open for writing elsewhere.
            if (const std::string proc = xl::OpenElsewhere(cesta); !proc.empty()) {
                forms::MsgBox(proc + "\r\nKonverze nebude provedena.", forms::vbCritical, "Konverzi nelze provést.");
                Unload();
                return;
            }
            // A result that could not be written (a write-protected file or
            // folder in its way) is refused before the user is asked to
            // replace it and before anything is converted.
            xl::CheckSaveAs(cesta);
            if (sys::FileExists(cesta) &&
                forms::MsgBox("Soubor již existuje. Přejete si ho vymazat a nahradit novým ?", forms::vbOKCancel,
                              cesta) == forms::vbCancel) {
                forms::MsgBox("Zpracování zrušeno uživatelem.", forms::vbInformation, "Storno převodu.");
                Unload();
                return;
            }
        } else {
            cesta = AktualniPisen + " " + cil;
            vysledek = cesta + ".xls";
        }
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::ApplicationDefined) throw;
        // The song or the result cannot be written: nothing of the
        // conversion is, and the song stays where it was.
        OznamChybuSouboru(e, "Konverze nebude provedena.", "Konverzi nelze provést.");
        ZapisSelhal = true;
        Unload();
        return;
    }
    Sesit_ = excel.ActiveWorkbook();
    ZdrojovaPisen = AktualniPisen;
    ZdrojovaCesta = Sesit_.FullName();
    CilovaCesta = cesta;
    VysledekZapsan = false;
    // From now on the result is the song; its workbook keeps the song's name
    // until the result is first written.
    AktualniPisen = vysledek;

    StaryNazevListu = excel.ActiveSheet().Name();
    excel.ActiveSheet().Name(cil + " Nedokončeno");

    excel.Range("B1").Select();
    // A first grip of basses only is a grip all the same.
    if (!JeHmat(excel.ActiveCell())) {
        // The copy is left for writing by hand; it is written before the
        // user is told of it.
        if (!ZapisVysledek()) {
            Unload();
            return;
        }
        forms::MsgBox("Program nemá k dispozici očekávaná data. Konverze nebude provedena. Smažte soubor " +
                          AktualniPisen + vb::vbCrLf +
                          "Eventuelně může být tento soubor použit pro ruční zápis v požadovaném ladění.",
                      forms::vbCritical, "Přerušeno na začátku.");
        Unload();
        return;
    }
    PrevadejBunky(cil, false);
}

void frmKonverze::PokracujPoPauze() {
    const std::string cil = lblLadeni.Caption;
    lblLadeni.Caption = "";
    AktivujSesit();
    PrevadejBunky(cil, true);
}

void frmKonverze::AktivujSesit() { Excel().Windows(Sesit_.Name()).Activate(); }

void frmKonverze::PrevadejBunky(const std::string& cil, bool odPrevodu) {
    xl::Application& excel = Excel();
    xl::Range bunka = excel.ActiveCell();
    for (bool vynechKontrolu = odPrevodu;; vynechKontrolu = false) {
        if (!vynechKontrolu) {
            const int radek = excel.ActiveCell().Row();
            if (vb::CStr(excel.ActiveCell().Value()).empty()) {
                // A grip of basses only has no note to convert; the song goes
                // on below it. Otherwise the song ends here.
                if (!JeHmat(excel.ActiveCell())) {
                    Dokonci();
                    return;
                }
                excel.Range("W" + std::to_string(radek)).Value(cil);
                if (!NaDalsiRadek(excel, radek)) {
                    Dokonci();
                    return;
                }
                continue;
            }
            bunka = excel.ActiveCell();

            const std::string ladeniRadku = vb::CStr(excel.Range("W" + std::to_string(radek)).Value());
            if (ladeniRadku != lblStupnice.Caption.get()) {
                const std::string odpoved =
                    vb::CStr(Konverze().ZmenaLadeni(lblStupnice.Caption, ladeniRadku, std::to_string(radek)));
                if (odpoved == kStorno) {
                    Unload();
                    return;
                }
                lblStupnice.Caption = ladeniRadku;
                if (odpoved == kZmenit) {
                    Caption = "Změňte stupnici a stikněte pokračovat.";
                    cmdPokracovat.Visible = true;
                    return;
                }
            }
        }

        if (lblStupnice.Caption.get().empty()) {
            forms::MsgBox("Není uvedeno ladění zdrojového řádku. Konverze bude předčasně ukončena.",
                          forms::vbCritical, "Neúplné údaje.");
            return;
        }
        const vb::Variant nota = Konverze().Konvertuj(lblStupnice.Caption, cil, vb::CStr(bunka.Value()));
        // An unexpected failure has been reported; the note stays as it was
        // rather than being overwritten with nothing, and the conversion stops.
        if (nota.IsEmpty()) return;

        AktivujSesit();
        excel.ActiveCell().Value(vb::CStr(nota));
        excel.ActiveCell().Offset(0, 1).Select();
        const std::string dalsi = vb::CStr(excel.ActiveCell().Value());
        if (JeSmerMechu(dalsi) || dalsi.empty()) {
            const int radek = excel.ActiveCell().Row();
            excel.Range("W" + std::to_string(radek)).Value(cil);
            if (!NaDalsiRadek(excel, radek)) {
                Dokonci();
                return;
            }
        }
    }
}

void frmKonverze::Dokonci() {
    xl::Application& excel = Excel();
    excel.Range("V1:V" + std::to_string(std::min(excel.ActiveCell().Row() + 10, xl::kRowsPerSheet))).ClearContents();
    excel.Range("B1").Select();
    excel.ActiveSheet().Name(StaryNazevListu);
    // Done only once the whole result is on disk.
    if (ZapisVysledek())
        forms::MsgBox(
            "Skladba byla na aktivním listu překonvertována podle nastavených požadavků a uložena do souboru " +
                vb::vbCr + AktualniPisen + ".",
            forms::vbInformation, "Hotovo");
    Unload();
}

bool frmKonverze::ZapisVysledek() {
    try {
        if (!VysledekZapsan) {
            Sesit_.SaveAs({.Filename = CilovaCesta});
            VysledekZapsan = true;
            AktualniPisen = Sesit_.Name();
        } else {
            Sesit_.Save();
        }
        return true;
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::ApplicationDefined) throw;
        ZahodKonverzi(e);
        return false;
    }
}

void frmKonverze::ZahodKonverzi(const vb::RuntimeError& chyba) {
    // A part of the result written at a pause is no result either.
    const std::string zapsany = VysledekZapsan ? Sesit_.FullName() : std::string();
    Sesit_.Close(false);
    Sesit_ = {};
    VysledekZapsan = false;
    if (const auto soubor = zapsany.empty() ? std::nullopt : sys::ToNativePath(zapsany)) {
        std::error_code ec;
        std::filesystem::remove(*soubor, ec);
    }
    AktualniPisen.clear();
    // Told once nothing of the conversion is to be seen any more.
    OznamChybuSouboru(chyba,
                      "Konverze nebyla dokončena a její výsledek nebyl uložen; píseň " + ZdrojovaPisen +
                          " zůstává beze změny.",
                      "Výsledek konverze nelze uložit.");
    if (!PisenBylaOtevrena) return;
    // The main window goes on with its song as the conversion found it.
    try {
        Excel().Workbooks().Open(ZdrojovaCesta);
        AktualniPisen = Excel().ActiveWorkbook().Name();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::ApplicationDefined) throw;
        OznamChybuSouboru(e, "Píseň v hlavním okně se ukončí.", "Píseň nelze znovu otevřít.");
    }
}

void frmKonverze::cmdKonec_Click() { Unload(); }

void frmKonverze::ZavriVybranouPisen() {
    xl::Application& excel = Excel();
    if (!ZapisSelhal && !excel.ActiveWorkbook().Saved()) {
        try {
            excel.ActiveWorkbook().Save();
        } catch (const vb::RuntimeError& e) {
            if (e.Number() != vb::err::ApplicationDefined) throw;
            OznamChybuSouboru(e, "Sešit se zavře bez uložení změn.", "Píseň nelze uložit.");
        }
    }
    excel.ActiveWorkbook().Close(false);
    // No song is open any more.
    AktualniPisen.clear();
}

void frmKonverze::Form_Unload(int& /*Cancel*/) {
    try {
        Excel().Visible(true);
        // A conversion that stops here leaves its result written as far as
        // it got, or nothing when that cannot be written.
        if (!Sesit_.IsNothing() && !VysledekZapsan) ZapisVysledek();
        if (PisenBylaOtevrena && AktualniPisen.empty()) {
            // The song could not be opened again after the conversion was dropped.
            if (Okno.UkonciPisen) Okno.UkonciPisen();
        } else if (PisenBylaOtevrena) {
            // The main window goes on with the result as its song; a save
            // that failed once is left to the main window's own end of it.
            Excel().Windows(AktualniPisen).Activate();
            if (!ZapisSelhal && !Excel().ActiveWorkbook().Saved()) {
                try {
                    Excel().ActiveWorkbook().Save();
                } catch (const vb::RuntimeError& e) {
                    if (e.Number() != vb::err::ApplicationDefined) throw;
                    OznamChybuSouboru(e, "Píseň zůstává otevřená, její změny nejsou uloženy.", "Píseň nelze uložit.");
                }
            }
            if (Okno.NastavTitulek) Okno.NastavTitulek(AktualniPisen);
        } else if (vb::LooseEquals(AktivujPisen(), true)) {
            ZavriVybranouPisen();
        }
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::ObjectNotSet)
            OznamZavrenyExcel();
        else
            resources::NeocekavanaChyba(e.Number());
    }
    NastavDrziteleSesitu({});
    if (Okno.Zobraz) Okno.Zobraz();
    PisenBylaOtevrena = false;
    ZapisSelhal = false;
    Sesit_ = {};
    VysledekZapsan = false;
}

bool frmKonverze::DrziSesit(const std::string& nazev) {
    if (AktualniPisen.empty() || nazev != AktualniPisen) return false;
    // A song taken over from the main window stays open there afterwards;
    // one chosen here is saved and closed with the dialog.
    forms::MsgBox("Sešit " + nazev + " právě používá konverze ladění, proto jeho okno nelze zavřít.\r\n" +
                      (PisenBylaOtevrena ? "Zavřít ho lze, až konverzi ukončíte tlačítkem „Konec“."
                                         : "Sešit se uloží a zavře sám, až konverzi ukončíte tlačítkem „Konec“."),
                  forms::vbInformation, "Konverze ladění.");
    return true;
}
