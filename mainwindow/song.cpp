// The song's life cycle in the main window: a new song, opening a song,
// switching between its sheets (tunings) and ending it, with the folder and
// file checks they need.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/system/files.h"
#include "platform/paths/paths.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "resources/app_info/app_info.h"
#include "store/hlaseni.h"
#include "store/module1.h"
#include "store/pisen.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDokumenty = "C:\\Dokumenty";
constexpr const char* kDovozivuz = "C:\\Dokumenty\\Dovozivuz";

// What follows a save of the open song that failed.
constexpr const char* kPisenNeulozena =
    "Píseň zůstává otevřená a její soubor je beze změny: změny písně zatím nejsou uloženy.";

// The idle look of the "Jak dál" buttons: the system colour of a button face.
constexpr forms::OleColor kBarvaTlacitka = 0x8000000B;

// Longest file name the file system holds, in bytes, less the 8 more that
// the spreadsheet's temporary file beside it has while the song is saved.
constexpr std::size_t kNejdelsiNazevSouboru = 255 - 8;

// The typed name becomes the file name in the song folder. A name that would
// put the file elsewhere (a folder separator, a name that is only "." or
// "..") or that no file can have (a control character, too long) is refused.
bool NazevPisneJePouzitelny(const std::string& nazev) {
    if (nazev == "." || nazev == "..") return false;
    if (nazev.size() + 4 > kNejdelsiNazevSouboru) return false;
    for (const char znak : nazev) {
        const auto bajt = static_cast<unsigned char>(znak);
        if (znak == '/' || znak == '\\' || bajt < 0x20 || bajt == 0x7F) return false;
    }
    return true;
}

// Today and the time of day, as the spreadsheet keeps them (days since
// 30 Dec 1899; the time as the fraction of a day).
struct DatumCas {
    vb::Date datum;
    vb::Date cas;
};

DatumCas Ted() {
    const std::time_t ted = std::time(nullptr);
    std::tm mistni{};
    ::localtime_r(&ted, &mistni);
    using namespace std::chrono;
    const year_month_day den{year{mistni.tm_year + 1900}, month{static_cast<unsigned>(mistni.tm_mon + 1)},
                             day{static_cast<unsigned>(mistni.tm_mday)}};
    const auto dnu = (sys_days{den} - sys_days{year{1899} / December / 30}).count();
    const double sekund = mistni.tm_hour * 3600.0 + mistni.tm_min * 60.0 + mistni.tm_sec;
    return {vb::Date{static_cast<double>(dnu)}, vb::Date{sekund / 86400.0}};
}

// The hidden creation stamp of a new song: each cell written on its own, a
// cell that cannot be written left out, and the whole stamp in white.
void ZapisRazitko() {
    const DatumCas ted = Ted();
    const auto zapis = [](const char* bunka, const vb::Variant& hodnota) {
        try {
            Excel().Range(bunka).Value(hodnota);
        } catch (const vb::RuntimeError&) {
        }
    };
    zapis("HC32341", resources::App.LegalCopyright);
    zapis("HC32344", ted.datum);
    zapis("HC32345", ted.cas);
    zapis("HC32346", resources::App.Title);
    zapis("HC32347", static_cast<std::int16_t>(resources::App.Major));
    zapis("HC32348", static_cast<std::int16_t>(resources::App.Minor));
    zapis("HC32349", static_cast<std::int16_t>(resources::App.Revision));
    zapis("HC32350", resources::App.Path());
    try {
        Excel().Range("HC32341:HC32350").Font().ColorIndex(2);
    } catch (const vb::RuntimeError&) {
    }
}

// Makes the missing levels of the song folder; the one that could not be
// made is reported.
bool VytvorSlozky(Form1& okno) {
    std::string slozka;
    try {
        if (!okno.FldExist(kDokumenty)) {
            sys::MkDir(slozka = kDokumenty);
            sys::MkDir(slozka = kDovozivuz);
            sys::MkDir(slozka = PracovniAdresar);
        } else if (!okno.FldExist(kDovozivuz)) {
            sys::MkDir(slozka = kDovozivuz);
            sys::MkDir(slozka = PracovniAdresar);
        } else {
            sys::MkDir(slozka = PracovniAdresar);
        }
        return true;
    } catch (const vb::RuntimeError& e) {
        forms::MsgBox("Složku " + slozka + " se nepodařilo vytvořit (chyba číslo " + std::to_string(e.Number()) +
                          ").\r\nVytvořte ji prosím ručně a začněte znovu.",
                      forms::vbCritical, "Pracovní adresář nelze vytvořit.");
        return false;
    }
}

bool SesitJeOtevren(const std::string& nazev) {
    try {
        Excel().Windows(nazev);
        return true;
    } catch (const vb::RuntimeError&) {
        return false;
    }
}

}  // namespace

void Form1::ConnectSongEvents() {
    cmdNovaSkladba.Click = [this] { cmdNovaSkladba_Click(); };
    cmdEdit.Click = [this] { cmdEdit_Click(); };
    cmdEndEdit.Click = [this] { cmdEndEdit_Click(); };
    Combo1.Click = [this] { Combo1_Click(); };
}

// A folder exists when the program can change into it.
bool Form1::FldExist(const std::string& FolderPath) {
    std::error_code ec;
    const fs::path puvodni = fs::current_path(ec);
    if (ec) return false;
    const auto slozka = sys::ToNativePath(FolderPath);
    if (!slozka) return false;
    fs::current_path(*slozka, ec);
    if (ec) return false;
    fs::current_path(puvodni, ec);
    return !ec;
}

// True when the file is (still) there on return: the user keeps it, or it
// cannot be deleted. False when there was none or the user had it deleted.
bool Form1::FileExists(const std::string& strFileName) {
    while (sys::FileExists(strFileName)) {
        // A song open for writing elsewhere is not deleted under that window.
        if (const std::string proc = xl::OpenElsewhere(strFileName); !proc.empty()) {
            forms::MsgBox(proc, forms::vbExclamation, "Tato skladba již existuje!");
            return true;
        }
        if (forms::MsgBox("Přejete si vymazat z disku původní písničku a nahradit ji novou ?",
                          forms::vbYesNo + forms::vbExclamation, "Tato skladba již existuje!") == forms::vbNo)
            return true;
        const auto soubor = sys::ToNativePath(strFileName);
        std::error_code ec;
        if (!soubor || !fs::remove(*soubor, ec) || ec) {
            forms::MsgBox("Soubor nelze smazat. Přístup byl odmítnut.", forms::vbCritical, "Chyba při mazání souboru.");
            return true;
        }
    }
    return false;
}

void Form1::cmdNovaSkladba_Click() {
    if (!FldExist(PracovniAdresar)) {
        forms::MsgBox(std::string("Cesta do ") + PracovniAdresar +
                          " nebyla nalezena.\r\n"
                          "Aby mohl program správně pracovat, bude nyní vytvořena tato složka.\r\n"
                          "Do ní se budou ukládat Vaše skladby.",
                      forms::vbExclamation, "Pracovní adresář neexistuje.");
        if (!VytvorSlozky(*this)) return;
    }

    const std::string nazev = forms::InputBox("Zadejte název nové písničky.", "Nová skladba.");
    if (nazev.empty()) return;
    if (!NazevPisneJePouzitelny(nazev)) {
        forms::MsgBox("Zadaný název nelze použít jako název souboru písně.\r\n"
                      "Název nesmí obsahovat lomítka / a \\ ani neviditelné řídicí znaky, nesmí být tvořen jen "
                      "tečkou nebo dvěma tečkami a nesmí být příliš dlouhý.\r\n"
                      "Začněte znovu a zadejte jiný název písně.",
                      forms::vbExclamation, "Založení nové skladby přerušeno.");
        return;
    }
    // Two open workbooks cannot share a name: the new song would not be saved
    // under it (the lookup workbook read_only.xls is always open).
    if (SesitJeOtevren(nazev + ".xls")) {
        forms::MsgBox("Sešit s názvem " + nazev + ".xls je v programu již otevřen, proto tento název nelze "
                          "použít pro novou písničku.\r\nZačněte znovu a zadejte jiný název písně.",
                      forms::vbExclamation, "Založení nové skladby přerušeno.");
        return;
    }
    const std::string cesta = std::string(PracovniAdresar) + "\\" + nazev + ".xls";
    if (FileExists(cesta)) {
        forms::MsgBox("Začněte znovu a zadejte jiný název písně.", forms::vbInformation,
                      "Založení nové skladby přerušeno.");
        return;
    }

    try {
        Excel().Workbooks().Add();
        Excel().ActiveWorkbook().SaveAs({.Filename = cesta,
                                         .FileFormat = xl::xlWorkbookNormal,
                                         .Password = "",
                                         .WriteResPassword = "",
                                         .ReadOnlyRecommended = false,
                                         .CreateBackup = false});
        AktualniPisen = Excel().ActiveWorkbook().Name();
        Excel().ActiveSheet().Name(lblLadeni.Caption.get());
        PovolOvladaniPisne();
        NastavOvladaniPisne();
        Caption = Excel().ActiveWorkbook().Name();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::ApplicationDefined)
            OznamChybuUlozeniDoSlozky(e, "Nová píseň nebyla založena.", "Novou píseň nelze založit.");
        else
            resources::NeocekavanaChyba(e.Number());
        return;
    }

    ZapisRazitko();
}

void Form1::cmdEdit_Click() {
    Hide();
    try {
        const vb::Variant soubor =
            Excel().GetOpenFilename("Excel Files,*.xls", {}, "Vyberte písničku, kterou chcete zkoušet !");
        if (!(soubor.Type() == vb::VarType::Boolean && !soubor.AsBool())) {
            if (!OtevriSesitPisne(vb::CStr(soubor), "otevřít jako písničku", "Písničku nelze otevřít.")) {
                Show(forms::vbModeless);
                return;
            }
            AktualniPisen = Excel().ActiveWorkbook().Name();
            Caption = AktualniPisen;
            PovolOvladaniPisne();
            NastavOvladaniPisne();
            VyberSloupecB();
            NactiListy(Combo1, lblLadeni);
            ZacatekPasu = Excel().ActiveCell().Row();
            KrokPasu = 1;
            lblTon.Caption = std::to_string(ZacatekPasu);
            ZobrazRadek();
            ObnovNotovyPas();
        }
    } catch (const vb::RuntimeError& e) {
        OznamChybuSPokracovanim("Při otevírání písně", e.Number(), "Chyba při otevírání písně.");
    }
    Show(forms::vbModeless);
}

void Form1::NastavOvladaniPisne() {
    cmdEdit.Enabled = false;
    cmdNovaSkladba.Enabled = false;
    mnuOtevrit(3).Enabled = false;
    mnuNovaPisen(2).Enabled = false;
    Combo1.Visible = true;
    lblLadeni.Caption = Excel().ActiveSheet().Name();
    Combo1.Text = lblLadeni.Caption.get();

    // The sound files lie in the song folder under the song's name.
    const char* const pripony[3] = {"mp3", "mid", "wav"};
    const std::string zaklad = vb::Left(AktualniPisen, vb::Len(AktualniPisen) - 3);
    for (int i = 0; i <= 2; ++i)
        cmdZvuk(i).Visible = sys::FileExists(std::string(PracovniAdresar) + "\\" + zaklad + pripony[i]);
}

void Form1::Combo1_Click() {
    int radek = 0;
    try {
        Excel().Windows(AktualniPisen).Activate();
        radek = Excel().ActiveCell().Row();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::SubscriptOutOfRange)
            forms::MsgBox("List nelze přepnout !\r\n"
                          "Uživatel, nebo jiný program zavřel soubor s aktuální skladbou.\r\n"
                          "Pro příště prosím nezavírejte soubory Excelu ručně !",
                          forms::vbExclamation, "Nenalezena aktuální skladba.");
        else
            OznamChybuSPokracovanim("Při kliknutí na ComboBox", e.Number(), "Neočekávaná chyba programu.");
        return;
    }

    try {
        const std::string list = Combo1.Text.get();
        Excel().Sheets(list).Select();
        Excel().Range("B" + std::to_string(radek)).Select();
        lblLadeni.Caption = list;
        ZobrazSmerMechu();
        ZobrazRadek();
        ObnovNotovyPas();
        try {
            Excel().ActiveWorkbook().Save();
        } catch (const vb::RuntimeError& chyba) {
            if (chyba.Number() != vb::err::ApplicationDefined) throw;
            OznamChybuSouboru(chyba, kPisenNeulozena, "Píseň nelze uložit.");
        }
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::SubscriptOutOfRange) {
            // The user renamed or deleted the sheet in the spreadsheet: the
            // list is read afresh before the user is asked to choose again.
            Combo1.Clear();
            try {
                NactiListy(Combo1, lblLadeni);
            } catch (const vb::RuntimeError& chyba) {
                resources::NeocekavanaChyba(chyba.Number());
            }
            forms::MsgBox("Požadavek na volbu jiného listu nemohl být proveden, neboť původní název listu uživatel "
                          "změnil. Tato změna byla nyní programem akceptována avšak nelze jednoznačně určit Váš "
                          "záměr, neboť list který volíte již neexistuje. Zvolte prosím požadovaný list znovu !",
                          forms::vbExclamation, "Opakujte akci !!!");
        } else {
            OznamChybuSPokracovanim("Při kliknutí na ComboBox", e.Number(), "Neočekávaná chyba programu.");
        }
    }
}

void Form1::cmdEndEdit_Click() {
    lblStupnice.Caption = "";
    try {
        if (Excel().ActiveWorkbook().Name() == AktualniPisen) {
            Excel().ActiveWorkbook().Save();
            Excel().ActiveWorkbook().Close();
        } else if (!AktualniPisen.empty()) {
            Excel().Windows(AktualniPisen).Activate();
            Excel().ActiveWorkbook().Save();
            Excel().ActiveWorkbook().Close();
        }
    } catch (const vb::RuntimeError& e) {
        switch (e.Number()) {
        case vb::err::SubscriptOutOfRange:
            forms::MsgBox("Píseň nelze uložit !\r\n"
                          "Uživatel, nebo jiný program zavřel soubor s aktuální skladbou.\r\n"
                          "Pro příště prosím nezavírejte soubory Excelu ručně !",
                          forms::vbExclamation, "Nenalezena aktuální skladba.");
            break;
        case vb::err::ObjectNotSet:
            OznamZavrenyExcel();
            break;
        case vb::err::ApplicationDefined:
            // The file could not be written: the song stays open with its changes.
            OznamChybuSouboru(e, kPisenNeulozena, "Píseň nelze uložit.");
            return;
        default:
            resources::NeocekavanaChyba(e.Number());
            return;
        }
    }

    AktualniPisen = "";
    ZakazOvladaniPisne();
    cmdJakDal.BackColor = kBarvaTlacitka;
    cmdJakDalZpet.BackColor = kBarvaTlacitka;
    Caption = "Belmora";
    lblTon.Caption = "1";
    SmazPopisRadku();
    cmdEdit.Enabled = true;
    mnuOtevrit(3).Enabled = true;
    mnuNovaPisen(2).Enabled = true;
    cmdNovaSkladba.Enabled = true;

    UvolniDiskant();
    UvolniBasy();
    UvolniIntervaly();
    UvolniKlavesy();
    SkryjNoty();
    SmazSlabiky();
    SmazTonyKlaves();
    cmdUvolNoty_Click();
    UvolniPultony();
    UvolniOdrazky();

    Combo1.Clear();
    lblLadeni.Caption = "Calvira12";
}
