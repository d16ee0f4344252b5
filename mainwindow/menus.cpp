// The menu bar of the main window: the items that run a button's command,
// the two display choices kept in the user's settings, the end of the
// program, the information box, the message to the author and the dialogs
// opened from the menu.
#include <string>

#include "conversion/frmkonverze.h"
#include "mainwindow/form1.h"
#include "mainwindow/frmbrowser.h"
#include "mainwindow/frmnastaveni.h"
#include "platform/msgbox/msgbox.h"
#include "platform/forms/winapi.h"
#include "platform/system/files.h"
#include "platform/system/settings.h"
#include "platform/system/shell.h"
#include "store/frmzmenacesty.h"
#include "store/module1.h"

namespace {

constexpr const char* kAplikace = "Calvira12";

// Where the message to the author goes.
constexpr const char* kAdresaAutora = "autor@belmora.example";

}  // namespace

void Form1::ConnectMenuEvents() {
    mnuNovaPisen(2).Click = [this] { mnuNovaPisen_Click(); };
    mnuOtevrit(3).Click = [this] { mnuOtevrit_Click(); };
    mnuKonecPisne(4).Click = [this] { mnuKonecPisne_Click(); };
    mnuNastavCestu.Click = [this] { mnuNastavCestu_Click(); };
    mnuKonec.Click = [this] { mnuKonec_Click(); };
    mnuKonverze.Click = [this] { mnuKonverze_Click(); };
    mnuUvolnitDiskant.Click = [this] { mnuUvolnitDiskant_Click(); };
    mnuUvolnitBasy.Click = [this] { mnuUvolnitBasy_Click(); };
    mnuUvolnitNoty.Click = [this] { mnuUvolnitNoty_Click(); };
    mnuUvolnitPultony.Click = [this] { mnuUvolnitPultony_Click(); };
    mnuUvolnitOdrazky.Click = [this] { mnuUvolnitOdrazky_Click(); };
    mnuUvolnitVse.Click = [this] { mnuUvolnitVse_Click(); };
    mnuPrekrytRady.Click = [this] { mnuPrekrytRady_Click(); };
    // "Otočit hmatník" stays disabled for the whole run and has no command.
    mnu2Rady.Click = [this] { mnu2Rady_Click(); };
    mnuCislovat.Click = [this] { mnuCislovat_Click(); };
    mnuMailAutorovi.Click = [this] { mnuMailAutorovi_Click(); };
    mnuhtm.Click = [this] { mnuhtm_Click(); };
    mnuOProgramu.Click = [this] { mnuOProgramu_Click(); };
    cmdOPrg.Click = [this] { cmdOPrg_Click(); };
    cmdStupnice.Click = [this] { cmdStupnice_Click(); };
}

// ---- Items that run a button's command --------------------------------------

void Form1::mnuNovaPisen_Click() { cmdNovaSkladba_Click(); }
void Form1::mnuOtevrit_Click() { cmdEdit_Click(); }
void Form1::mnuKonecPisne_Click() { cmdEndEdit_Click(); }
void Form1::mnuUvolnitDiskant_Click() { cmdUvolDiskant_Click(); }
void Form1::mnuUvolnitBasy_Click() { UvolniBasy(); }
void Form1::mnuUvolnitNoty_Click() { cmdUvolNoty_Click(); }
void Form1::mnuUvolnitPultony_Click() { cmdUvolniPultony_Click(); }
void Form1::mnuUvolnitOdrazky_Click() { UvolniOdrazky(); }
void Form1::mnuUvolnitVse_Click() { cmdUvolKnofl_Click(); }
void Form1::mnuOProgramu_Click() { cmdOPrg_Click(); }

// ---- Dialogs ---------------------------------------------------------------------

void Form1::mnuNastavCestu_Click() {
    // The folder dialog shows the window again when it closes.
    Hide();
    frmZmenaCesty->Show(forms::vbModeless);
}

void Form1::mnuPrekrytRady_Click() {
    Hide();
    {
        // A new dialog for every opening: it shows what is stored now.
        frmNastaveni dialog;
        dialog.Show(forms::vbModal);
        dialog.Unload();
    }
    Show();
}

void Form1::mnuhtm_Click() {
    // The browser shows the window again when it closes.
    Hide();
    frmBrowser& prohlizec = frmBrowserForm();
    prohlizec.Show(forms::vbModeless);
    prohlizec.brwWebBrowser.Navigate(sys::AppPath() + "\\Korvel.htm");
}

// ---- The end of the program ---------------------------------------------------

void Form1::mnuKonec_Click() {
    // Unloading the window ends the connection to the spreadsheet, and with
    // the main window gone the program ends.
    if (forms::MsgBox("Opravdu chcete ukončit program ?", forms::vbYesNo, "Konec programu !") == forms::vbYes)
        Unload();
}

// ---- Conversion -----------------------------------------------------------------

void Form1::mnuKonverze_Click() {
    Hide();
    // The lookup workbook holds the scale table the conversion works from;
    // without it the user has been told already and the window comes back.
    if (vb::LooseEquals(AktivujReadOnly(), false)) {
        Show();
        return;
    }
    // The dialog shows the window again when it closes, and may leave it a
    // new song to go on with.
    class frmKonverze& dialog = *frmKonverze;
    dialog.Okno = {
        .Zobraz = [this] { Visible = true; },
        .UkonciPisen = [this] { cmdEndEdit_Click(); },
        .NastavTitulek = [this](const std::string& nazev) { Caption = nazev; },
        .FldExist = [this](const std::string& slozka) { return FldExist(slozka); },
        .FileExists = [this](const std::string& soubor) { return FileExists(soubor); },
    };
    dialog.Show(forms::vbModeless);
}

// ---- Display choices kept in the user's settings --------------------------------

void Form1::mnu2Rady_Click() {
    mnu2Rady.Checked = !mnu2Rady.Checked.get();
    if (mnu2Rady.Checked.get())
        PopisKnoflikyTony();
    else
        SmazPopisKnofliku();
    sys::SaveSetting(kAplikace, "PopisKnof", "Index", mnu2Rady.Checked.get() ? "1" : "0");
}

void Form1::mnuCislovat_Click() {
    mnuCislovat.Checked = !mnuCislovat.Checked.get();
    for (int i = 0; i <= 31; ++i) lblCisKnofl(i).Visible = mnuCislovat.Checked.get();
    sys::SaveSetting(kAplikace, "Cislovani", "Index", mnuCislovat.Checked.get() ? "1" : "0");
}

// ---- Information and the message to the author -----------------------------------

void Form1::cmdOPrg_Click() {
    forms::MsgBox(
        "Belmora verze 2.1 je výukový program pro hráče na chromatický knoflíkový akordeon.\r\n"
        "Umožňuje zaznamenávat skladby podle notového záznamu, nebo přímo\r\n"
        "pouhým opsáním způsobu hry grafickým znázorněním do počítače.\r\n"
        "Při čtení skladby zobrazuje aktuální noty a knoflíky, které se právě mají stisknout.\r\n"
        "Lze určovat i prstoklad a také překrývat řady, které nemají být použity.\r\n"
        "Navíc lze hotové písničky převádět do různých ladění. Formát záznamu je kompatibilní\r\n"
        "s formátem používaným programem Korvel a tak lze uplatnit zaznamenané skladby i pro\r\n"
        "výuku na heligonky.",
        forms::vbInformation, "Program Belmora verze 2.1");
}

void Form1::mnuMailAutorovi_Click() {
    forms::MsgBox(
        "Bude spuštěn Váš výchozí poštovní klient. Minimalizujte Korvela na lištu a potom můžete přiložit nějaké "
        "písničky nebo napsat jinou zprávu. Program po stisku tlačítka Odeslat nevyžaduje okamžité připojení k "
        "internetu. Zpráva se odešle automaticky až se připojíte kdykoliv později. Vaše písničky jsou na disku C v "
        "adresáři Dokumenty/Dovozivuz.",
        forms::vbInformation, "Děkuji za Váš příspěvek.");
    // The mail program must be able to come in front of the window; the
    // window stays an ordinary one for the rest of the run.
    forms::SetWindowPos(hWnd(), forms::HWND_NOTOPMOST, 0, 0, 0, 0, forms::SWP_NOMOVE | forms::SWP_NOSIZE);
    // A mail program that cannot be started leaves nothing to tell the user.
    sys::OpenLink(std::string("\"mailto:") + kAdresaAutora +
                  "?subject=Z Belmory verze 2.1&body=Dobrý den & attach = ");
}
