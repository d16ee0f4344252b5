// The scale choice dialog and the main window's scale button that opens it.
#include "mainwindow/frmstupnice.h"

#include <string>

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "notation/zapis/volby_stupnic.h"
#include "platform/msgbox/msgbox.h"
#include "store/module1.h"


frmStupnice::frmStupnice() {
    InitializeComponent();
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdZrusit.Click = [this] { cmdZrusit_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
}

void frmStupnice::InitializeComponent() {
    Name = "frmStupnice";
    Caption = "Znáte-li tóninu, vyberte a potvrďte Ok !";
    SetClientSize(4695, 8175);

    forms::Place(Label2, "Label2", 0, 0, 3495, 255);
    Label2.Caption = "Slouží pro nastavení před zapisováním skladby !";
    forms::Place(Label1, "Label1", 2280, 480, 1215, 255);
    Label1.Caption = "Vyberte stupnici";
    forms::Place(Frame1, "Frame1", 2280, 720, 1215, 5655);
    NactiVolbyStupnic(optStupnice, Frame1, 975);
    forms::Place(cmdOK, "cmdOK", 2040, 6960, 2175, 495);
    cmdOK.Caption = "Ok";
    // Return confirms the choice; Escape closes the dialog as its close box does.
    cmdOK.Default = true;
    forms::Place(cmdZrusit, "cmdZrusit", 2040, 7560, 2175, 495);
    cmdZrusit.Caption = "Zrušit nastavení";
    forms::Place(cmdHelp, "cmdHelp", 3600, 120, 975, 255);
    cmdHelp.Caption = "Nápověda";
}

void frmStupnice::cmdOK_Click() {
    const std::string volba = ZvolenaStupnice(optStupnice);
    Form1& okno = *HlavniOkno;
    okno.cmdStupnice.Caption = volba;
    // A drawer of its own: the window's Zapis keeps its red-note slots untouched.
    clsNotyZapis noty(clsNotyZapis::Okno{okno.picKrizekStup, okno.picBeckoStup});
    noty.NastavStupnici(volba);
    Unload();
}

void frmStupnice::cmdZrusit_Click() {
    HlavniOkno->cmdStupnice.Caption = "Vyberte stupnici";
    Unload();
}

void frmStupnice::cmdHelp_Click() {
    forms::MsgBox(
        "Stupnici skladby, kterou hodláte zapsat, je vhodné identifikovat a určit předem z těchto důvodů. Má-li "
        "program tuto informaci k dispozici a je-li správná, můžete kdykoliv později tuto skladbu automaticky "
        "konvertovat do všech ostatních stupnic. To je výhodné nejen pro nácvik hry v dalších tóninách na Belmoře, "
        "ale také, pokud současně hrajete na heligonku, pro zařazení skladby do stupnice odpovídající ladění Vaší "
        "heligonky s možností využití takto upravené skladby v programu Korvel. Dále je toto určení výhodné např. "
        "pro nácvik prstokladu podle školy hry, kde může být předepsáno při nácviku prstokladu, které řady se ve "
        "které stupnici nemají používat. Znáte-li tedy stupnici, můžete využít funkce překrýt řady pro snazší "
        "orientaci při nácviku prstokladu, ať už podle školy, nebo pro upevnění vlastního návyku. Jestliže nevíte "
        "do které stupnice skladba, kterou budete zapisovat náleží, stiskněte tlačítko Zrušit nastavení.",
        forms::vbInformation, "Nápověda k výběru stupnice.");
}

forms::FormInstance<class frmStupnice> frmStupnice;

void Form1::cmdStupnice_Click() {
    UvolniPredznamenani();
    Hide();
    frmStupnice->Show(forms::vbModal);
    // Every way out of the dialog unloads it; the next opening makes it anew,
    // so the closed one is not kept (nor left for the end of the program,
    // when the window system is gone already).
    if (frmStupnice.Existing() && frmStupnice.Existing()->WasUnloaded()) frmStupnice.Reset();
    Show();
}
