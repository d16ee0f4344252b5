#include "mainwindow/frmnastaveni.h"

#include <string>

#include "mainwindow/form1.h"
#include "platform/system/settings.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "store/module1.h"

namespace {

constexpr const char* kAplikace = "Calvira12";
constexpr const char* kSekce = "Zabrany";

// Rows covered by the first fingering of the scale on each preset button,
// for chkZabrany 1, 2, 3, 4, 5.
constexpr int kCDur[5] = {1, 1, 0, 0, 0};
constexpr int kGDur[5] = {1, 0, 0, 0, 1};
constexpr int kFDur[5] = {0, 0, 0, 1, 1};
constexpr int kNic[5] = {0, 0, 0, 0, 0};

}  // namespace

frmNastaveni::frmNastaveni() { InitializeComponent(); }

frmNastaveni::~frmNastaveni() = default;

void frmNastaveni::InitializeComponent() {
    Name = "frmNastaveni";
    Caption = "Slouží k nácviku prstokladu stupnic";
    SetClientSize(4215, 3135);

    fraZabrany.Move(240, 120, 3015, 735);
    fraZabrany.Caption = "Překrýt řady   5      4      3      2      1    ";
    for (int i = 1; i <= 5; ++i) {
        auto& box = chkZabrany.Load(i, fraZabrany);
        // 5 leftmost at 1080, each lower row 360 further right.
        box.Move(1080.0f + 360.0f * static_cast<float>(5 - i), 240, 255, 255);
    }

    auto button = [](forms::CommandButton& b, const char* caption, float left, float top, float width) {
        b.Move(left, top, width, 375);
        b.Caption = caption;
    };
    button(cmdCDur, "C Dur", 240, 1080, 855);
    button(cmdGDur, "G Dur", 1200, 1080, 855);
    button(cmdFDur, "F Dur", 2160, 1080, 855);
    button(cmdNic, "Vyčistit", 3120, 1080, 855);

    // Under each preset the scales that share its covering, top to bottom.
    struct Popis {
        int index;
        const char* caption;
        float left;
        float top;
    };
    const Popis popisy[] = {
        {0, "A Dur", 480, 1440},    {1, "Es Dur", 480, 1680},   {2, "Fis Dur", 480, 1920},
        {3, "Ges Dur", 480, 2160},  {4, "B Dur", 1440, 1440},   {5, "E Dur", 1440, 1680},
        {6, "Des Dur", 1440, 1920}, {7, "Cis Dur", 1440, 2160}, {11, "D Dur", 2400, 1440},
        {10, "As Dur", 2400, 1680}, {9, "H Dur", 2400, 1920},   {8, "Ces Dur", 2400, 2160},
    };
    for (const Popis& p : popisy) {
        auto& l = Label1.Load(p.index, *this);
        l.Move(p.left, p.top, 615, 255);
        // One line each.
        l.WordWrap = false;
        l.Caption = p.caption;
    }

    button(cmdOK, "Ok", 240, 2520, 1095);
    button(cmdZrušit, "Zrušit", 1560, 2520, 1095);
    button(cmdNapoveda, "Nápověda", 2880, 2520, 1095);
    cmdOK.Default = true;
    cmdZrušit.Cancel = true;

    cmdCDur.Click = [this] { cmdCDur_Click(); };
    cmdGDur.Click = [this] { cmdGDur_Click(); };
    cmdFDur.Click = [this] { cmdFDur_Click(); };
    cmdNic.Click = [this] { cmdNic_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdZrušit.Click = [this] { cmdZrušit_Click(); };
    cmdNapoveda.Click = [this] { cmdNapoveda_Click(); };
}

void frmNastaveni::Form_Load() {
    for (int i = 1; i <= 5; ++i) {
        const std::string ulozeno = sys::GetSetting(kAplikace, kSekce, std::to_string(i), "0");
        // The program stores only "1" and "0". Any other text shows the box
        // as the main window treats it at start: ticked where it shows the
        // overlay, unticked where it does not or cannot read the value.
        int hodnota = forms::vbUnchecked;
        try {
            hodnota = vb::CBool(vb::Variant(ulozeno)) ? forms::vbChecked : forms::vbUnchecked;
        } catch (const vb::RuntimeError&) {
        }
        chkZabrany(i).Value = hodnota;
    }
}

void frmNastaveni::ZaskrtniRady(const int (&radky)[5]) {
    for (int i = 1; i <= 5; ++i) chkZabrany(i).Value = radky[i - 1];
}

void frmNastaveni::cmdCDur_Click() { ZaskrtniRady(kCDur); }

void frmNastaveni::cmdGDur_Click() { ZaskrtniRady(kGDur); }

void frmNastaveni::cmdFDur_Click() { ZaskrtniRady(kFDur); }

void frmNastaveni::cmdNic_Click() { ZaskrtniRady(kNic); }

void frmNastaveni::cmdOK_Click() {
    for (int i = 1; i <= 5; ++i) {
        const int hodnota = chkZabrany(i).Value;
        sys::SaveSetting(kAplikace, kSekce, std::to_string(i), std::to_string(hodnota));
        if (HlavniOkno) HlavniOkno->cmdZabrana(i).Visible = hodnota != 0;
    }
    Hide();
}

void frmNastaveni::cmdZrušit_Click() { Hide(); }

void frmNastaveni::cmdNapoveda_Click() {
    forms::MsgBox(
        "Zaškrtnutím políček můžete označit řady, které se nemají použít při nácviku prstokladu např. podle "
        "školy hry z literatury.\r"
        "Tlačítka s názvy stupnic slouží pro překrytí řad při hře prvním ze tří základních prstokladů.\r"
        "Stupnice vypsané pod těmito tlačítky mají totožné nastavení.\r"
        "Jiný prstoklad však vyžaduje jiné nastavení, které je třeba určit zaškrtnutím políček.",
        forms::vbInformation + forms::vbOKOnly, "Nápověda");
}
