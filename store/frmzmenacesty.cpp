#include "store/frmzmenacesty.h"

#include "platform/system/files.h"
#include "store/module1.h"

forms::FormInstance<class frmZmenaCesty> frmZmenaCesty;

namespace {

// Written back at exit, it names no folder, so the spreadsheet falls back on
// the folder it chooses itself.
constexpr const char* kResetNastaveni = "X:\\Nastavení bylo resetováno !!";

}  // namespace

frmZmenaCesty::frmZmenaCesty() {
    InitializeComponent();
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

void frmZmenaCesty::InitializeComponent() {
    Name = "frmZmenaCesty";
    Caption = "Změna implicitní cesty při otvírání souborů v Microsoft Excelu.";
    SetClientSize(6255, 3615);

    forms::Place(Label1, "Label1", 240, 120, 5775, 255);
    Label1.Caption = "Aktuální nastavení netýkající se Korvela ale přímo Microsoft Excelu je do složky";
    forms::Place(lblStaraCesta, "lblStaraCesta", 240, 360, 5775, 255);
    forms::Place(Label2, "Label2", 240, 720, 5775, 1215);
    Label2.Caption =
        "Jestliže si přejete toto nastavení změnit vyberte jednu z předvolených možností,  u té poslední "
        "vyplňte existující cestu podle Vašeho specifického požadavku. Špatně nastavená cesta může "
        "zapříčinit pracnější postup při otvírání a také ukládání Vašich dokumentů v aplikaci Excel. To "
        "neplatí pro písničky Korvela, které jsou vždy ukládány do C:\\Dokumenty\\Dovozivuz bez ohledu na "
        "toto nastavení.";

    struct Volba {
        const char* caption;
        float top;
        float width;
    };
    const Volba volby[4] = {
        {"C:\\Dokumenty", 2040, 2775},
        {"D:\\Dokumenty", 2400, 2775},
        {"Jiná cesta", 2760, 1095},
        {"Cesta z doby, kdy byl Excel na PC nainstalován s ohledem na profil uživatele.", 3120, 5775},
    };
    for (int i = 0; i < 4; ++i) {
        forms::OptionButton& volba = Option1.Load(i, *this);
        volba.Move(240, volby[i].top, volby[i].width, 255);
        volba.Caption = volby[i].caption;
    }
    Option1(0).Value = true;
    // The option's circle takes a little more room than the designed width
    // left beside the long caption: it uses a smaller type.
    Option1(3).FontSize = 7;

    forms::Place(txtCesta, "txtCesta", 1440, 2760, 3135, 285);
    txtCesta.Text = "C:\\";
    forms::Place(OKButton, "OKButton", 4680, 2040, 1215, 375);
    OKButton.Caption = "OK";
    forms::Place(CancelButton, "CancelButton", 4680, 2520, 1215, 375);
    CancelButton.Caption = "Cancel";
    OKButton.Default = true;
    CancelButton.Cancel = true;
}

void frmZmenaCesty::Form_Load() { lblStaraCesta.Caption = StaraCesta; }

void frmZmenaCesty::OKButton_Click() {
    std::string cesta;
    if (Option1(0).Value) {
        cesta = Option1(0).Caption;
    } else if (Option1(1).Value) {
        cesta = Option1(1).Caption;
    } else if (Option1(2).Value) {
        cesta = txtCesta.Text;
    } else if (Option1(3).Value) {
        StaraCesta = kResetNastaveni;
        forms::MsgBox("Po ukončení Korvela můžete zkontrolovat, zda volba splnila Vaše očekávání.",
                      forms::vbInformation, "Reset nastavení");
        Unload();
        return;
    }

    if (cesta.empty()) {
        Unload();
        return;
    }
    if (!ExistujeSlozka(cesta)) {
        forms::MsgBox("Požadovanou změnu nebylo možno provést.", forms::vbCritical, "Neexistující složka");
        return;
    }
    StaraCesta = cesta;
    forms::MsgBox("Jako výchozí pro aplikaci Excel byla nastavena cesta do " + cesta, forms::vbInformation,
                  "Změna konfigurace Excelu z Korvela.");
    Unload();
}

void frmZmenaCesty::CancelButton_Click() { Unload(); }

void frmZmenaCesty::Form_Unload(int& /*Cancel*/) {
    if (forms::Form* hlavni = forms::MainForm()) hlavni->Visible = true;
}

bool frmZmenaCesty::ExistujeSlozka(const std::string& path) { return sys::FolderExists(path); }
