// The dialog that chooses the spreadsheet's default folder for the exit, on
// the started song store (real engine, temporary drive C) with a main form
// that it hides and shows again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "platform/forms/form.h"
#include "store/frmzmenacesty.h"
#include "tests/support/press_key.h"
#include "tests/support/store_fixture.h"

namespace {

using store_test::StoreFixture;
using Box = forms::ScriptedMessageBoxes::Box;
namespace fs = std::filesystem;

constexpr const char* kPuvodni = "C:\\Moje dokumenty";
constexpr const char* kReset = "X:\\Nastavení bylo resetováno !!";

class ZmenaCestyTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        if (HasFatalFailure()) return;
        xl::Application().DefaultFilePath(kPuvodni);
        // The main window as the dialog sees it: the program's main form,
        // shown, with the song store started.
        hlavniOkno_ = std::make_unique<forms::Form>();
        forms::SetMainForm(hlavniOkno_.get());
        hlavniOkno_->Show(forms::vbModeless);
        hlavni_ = hlavniOkno_.get();
        Start();
        ASSERT_EQ(StaraCesta, kPuvodni);
        TakeBoxes();
    }
    void TearDown() override {
        frmZmenaCesty.Reset();
        forms::SetMainForm(nullptr);
        hlavniOkno_.reset();
        StoreFixture::TearDown();
    }

    // What the menu item does: the main window hides, the dialog shows.
    class frmZmenaCesty& Otevri() {
        hlavni_->Hide();
        frmZmenaCesty->Show(forms::vbModeless);
        return *frmZmenaCesty;
    }
    // The instance that was opened, also after it was unloaded.
    class frmZmenaCesty& Dialog() { return *frmZmenaCesty.Existing(); }

    bool HlavniViditelne() const { return hlavni_->Visible && hlavni_->Widget()->isVisible(); }
    bool DialogOtevreny() { return Dialog().IsLoaded() && Dialog().Widget()->isVisible(); }

public:
    // A folder or a file under drive C; a folder on a drive D of its own.
    void Slozka(const std::string& podCecem) { fs::create_directories(Root() / "C" / podCecem); }
    void Soubor(const std::string& podCecem) { std::ofstream(Root() / "C" / podCecem) << "x"; }
    void SlozkaNaD(const std::string& podDeckem) {
        fs::create_directories(Root() / "D" / podDeckem);
        Env().Set("BELMORA_DRIVE_D", (Root() / "D").string());
    }

protected:
    std::unique_ptr<forms::Form> hlavniOkno_;
    forms::Form* hlavni_ = nullptr;
};

TEST_F(ZmenaCestyTest, OpensInItsDesignShowingTheFolderInForce) {
    auto& d = Otevri();
    EXPECT_TRUE(DialogOtevreny());
    EXPECT_FALSE(HlavniViditelne());
    EXPECT_FALSE(d.IsModal());
    EXPECT_EQ(d.Caption.get(), "Změna implicitní cesty při otvírání souborů v Microsoft Excelu.");

    struct Misto {
        forms::Control* ovladac;
        float left, top, width, height;
    };
    const std::vector<Misto> mista = {
        {&d.Label1, 240, 120, 5775, 255},       {&d.lblStaraCesta, 240, 360, 5775, 255},
        {&d.Label2, 240, 720, 5775, 1215},      {&d.Option1(0), 240, 2040, 2775, 255},
        {&d.Option1(1), 240, 2400, 2775, 255},  {&d.Option1(2), 240, 2760, 1095, 255},
        {&d.Option1(3), 240, 3120, 5775, 255},  {&d.txtCesta, 1440, 2760, 3135, 285},
        {&d.OKButton, 4680, 2040, 1215, 375},   {&d.CancelButton, 4680, 2520, 1215, 375},
    };
    for (const auto& m : mista) {
        SCOPED_TRACE(m.ovladac->Name + (m.ovladac->Index >= 0 ? std::to_string(m.ovladac->Index) : ""));
        EXPECT_EQ(m.ovladac->Left, m.left);
        EXPECT_EQ(m.ovladac->Top, m.top);
        EXPECT_EQ(m.ovladac->Width, m.width);
        EXPECT_EQ(m.ovladac->Height, m.height);
        EXPECT_LE(m.left + m.width, d.ScaleWidth());
        EXPECT_LE(m.top + m.height, d.ScaleHeight());
    }

    EXPECT_EQ(d.Label1.Caption.get(),
              "Aktuální nastavení netýkající se Korvela ale přímo Microsoft Excelu je do složky");
    EXPECT_EQ(d.lblStaraCesta.Caption.get(), kPuvodni);
    EXPECT_EQ(d.Label2.Caption.get(),
              "Jestliže si přejete toto nastavení změnit vyberte jednu z předvolených možností,  u té poslední "
              "vyplňte existující cestu podle Vašeho specifického požadavku. Špatně nastavená cesta může "
              "zapříčinit pracnější postup při otvírání a také ukládání Vašich dokumentů v aplikaci Excel. To "
              "neplatí pro písničky Korvela, které jsou vždy ukládány do C:\\Dokumenty\\Dovozivuz bez ohledu "
              "na toto nastavení.");
    EXPECT_EQ(d.Option1(0).Caption.get(), "C:\\Dokumenty");
    EXPECT_EQ(d.Option1(1).Caption.get(), "D:\\Dokumenty");
    EXPECT_EQ(d.Option1(2).Caption.get(), "Jiná cesta");
    EXPECT_EQ(d.Option1(3).Caption.get(),
              "Cesta z doby, kdy byl Excel na PC nainstalován s ohledem na profil uživatele.");
    EXPECT_EQ(d.Option1.Count(), 4);
    EXPECT_TRUE(d.Option1(0).Value);
    EXPECT_FALSE(d.Option1(1).Value);
    EXPECT_FALSE(d.Option1(2).Value);
    EXPECT_FALSE(d.Option1(3).Value);
    EXPECT_EQ(d.txtCesta.Text.get(), "C:\\");
    EXPECT_FALSE(d.txtCesta.Locked);
    EXPECT_EQ(d.OKButton.Caption.get(), "OK");
    EXPECT_EQ(d.CancelButton.Caption.get(), "Cancel");

    // The options are one group: choosing one clears the others.
    d.Option1(2).Value = true;
    EXPECT_FALSE(d.Option1(0).Value);
    d.Option1(3).Value = true;
    EXPECT_FALSE(d.Option1(2).Value);
}

TEST_F(ZmenaCestyTest, EveryOpeningStartsFromTheDesignWithTheValueChosenBefore) {
    Slozka("Dokumenty");
    auto& prvni = Otevri();
    prvni.txtCesta.Text = "C:\\jinam";
    prvni.Option1(1).Value = true;
    prvni.Option1(0).Value = true;
    prvni.OKButton.PerformClick();
    ASSERT_EQ(StaraCesta, "C:\\Dokumenty");

    auto& druhy = Otevri();
    EXPECT_NE(&druhy, &prvni);
    EXPECT_EQ(druhy.lblStaraCesta.Caption.get(), "C:\\Dokumenty");
    EXPECT_TRUE(druhy.Option1(0).Value);
    EXPECT_EQ(druhy.txtCesta.Text.get(), "C:\\");

    // The reset is what the next opening shows.
    druhy.Option1(3).Value = true;
    druhy.OKButton.PerformClick();
    EXPECT_EQ(Otevri().lblStaraCesta.Caption.get(), kReset);
}

// One way of answering the dialog and what it must leave behind.
struct Odpoved {
    const char* popis;
    std::function<void(ZmenaCestyTest&, class frmZmenaCesty&)> volba;  // prepares the answer
    enum { OK, Cancel, CloseBox } tlacitko;
    std::string staraCesta;      // StaraCesta afterwards
    std::vector<Box> hlaseni;    // boxes shown
    bool zustavaOtevreny;        // the dialog stays open, the main window hidden
};

const Box kChybi{"Požadovanou změnu nebylo možno provést.", forms::vbCritical, "Neexistující složka"};

Box Nastaveno(const std::string& cesta) {
    return {"Jako výchozí pro aplikaci Excel byla nastavena cesta do " + cesta, forms::vbInformation,
            "Změna konfigurace Excelu z Korvela."};
}

const Odpoved kOdpovedi[] = {
    {"C:\\Dokumenty existing", [](auto& t, auto&) { t.Slozka("Dokumenty"); }, Odpoved::OK, "C:\\Dokumenty",
     {Nastaveno("C:\\Dokumenty")}, false},
    {"C:\\Dokumenty missing", [](auto&, auto&) {}, Odpoved::OK, kPuvodni, {kChybi}, true},
    {"D:\\Dokumenty on a machine without drive D",
     [](auto& t, auto& d) {
         t.Slozka("Dokumenty");
         d.Option1(1).Value = true;
     },
     Odpoved::OK, kPuvodni, {kChybi}, true},
    {"D:\\Dokumenty existing",
     [](auto& t, auto& d) {
         t.SlozkaNaD("Dokumenty");
         d.Option1(1).Value = true;
     },
     Odpoved::OK, "D:\\Dokumenty", {Nastaveno("D:\\Dokumenty")}, false},
    {"another folder, typed in lower case with a trailing backslash",
     [](auto& t, auto& d) {
         t.Slozka("noty");
         d.Option1(2).Value = true;
         d.txtCesta.Text = "c:\\noty\\";
     },
     Odpoved::OK, "c:\\noty\\", {Nastaveno("c:\\noty\\")}, false},
    {"another folder emptied",
     [](auto&, auto& d) {
         d.Option1(2).Value = true;
         d.txtCesta.Text = "";
     },
     Odpoved::OK, kPuvodni, {}, false},
    {"another folder that is missing",
     [](auto&, auto& d) {
         d.Option1(2).Value = true;
         d.txtCesta.Text = "C:\\neni tu";
     },
     Odpoved::OK, kPuvodni, {kChybi}, true},
    {"another folder with a blank before it (not trimmed)",
     [](auto& t, auto& d) {
         t.Slozka("noty");
         d.Option1(2).Value = true;
         d.txtCesta.Text = " C:\\noty";
     },
     Odpoved::OK, kPuvodni, {kChybi}, true},
    {"a file in place of a folder",
     [](auto& t, auto& d) {
         t.Soubor("soubor.txt");
         d.Option1(2).Value = true;
         d.txtCesta.Text = "C:\\soubor.txt";
     },
     Odpoved::OK, kPuvodni, {kChybi}, true},
    {"the reset, with no folder to check", [](auto&, auto& d) { d.Option1(3).Value = true; }, Odpoved::OK, kReset,
     {{"Po ukončení Korvela můžete zkontrolovat, zda volba splnila Vaše očekávání.", forms::vbInformation,
       "Reset nastavení"}},
     false},
    {"Cancel after choosing an existing folder",
     [](auto& t, auto& d) {
         t.Slozka("noty");
         d.Option1(2).Value = true;
         d.txtCesta.Text = "C:\\noty";
     },
     Odpoved::Cancel, kPuvodni, {}, false},
    {"Cancel after choosing the reset", [](auto&, auto& d) { d.Option1(3).Value = true; }, Odpoved::Cancel,
     kPuvodni, {}, false},
    {"the close box", [](auto& t, auto&) { t.Slozka("Dokumenty"); }, Odpoved::CloseBox, kPuvodni, {}, false},
};

TEST_F(ZmenaCestyTest, EachAnswerSetsTheFolderAndClosesOrStaysAsItShould) {
    for (const Odpoved& o : kOdpovedi) {
        SCOPED_TRACE(o.popis);
        StaraCesta = kPuvodni;
        std::error_code ec;
        fs::remove_all(Root() / "C" / "Dokumenty", ec);
        fs::remove_all(Root() / "C" / "noty", ec);
        auto& d = Otevri();
        o.volba(*this, d);

        switch (o.tlacitko) {
        case Odpoved::OK: d.OKButton.PerformClick(); break;
        case Odpoved::Cancel: d.CancelButton.PerformClick(); break;
        case Odpoved::CloseBox: d.Widget()->close(); break;
        }

        EXPECT_EQ(StaraCesta, o.staraCesta);
        EXPECT_EQ(TakeBoxes(), o.hlaseni);
        EXPECT_EQ(DialogOtevreny(), o.zustavaOtevreny);
        EXPECT_EQ(HlavniViditelne(), !o.zustavaOtevreny);
        // The spreadsheet hears of the choice only at the program's end.
        EXPECT_EQ(ExcelAplikace->DefaultFilePath(), PracovniAdresar);
        if (o.zustavaOtevreny) {
            EXPECT_EQ(d.lblStaraCesta.Caption.get(), kPuvodni);
            d.CancelButton.PerformClick();
            EXPECT_TRUE(HlavniViditelne());
        }
        Env().Set("BELMORA_DRIVE_D", "");
    }
}

// The dialog's keys do what its buttons do: Return presses the focused
// button, elsewhere (the text box among them) "OK"; Escape presses "Cancel".
// The arrows go round the four choices.
TEST_F(ZmenaCestyTest, KeysDoWhatTheButtonsDo) {
    using testsupport::PressKey;
    struct Case {
        const char* what;
        std::function<void(class frmZmenaCesty&)> keys;
        std::string staraCesta;
        std::vector<Box> hlaseni;
    };
    const Case cases[] = {
        {"another folder typed in, Return in the text box",
         [&](class frmZmenaCesty& d) {
             d.Option1(2).Value = true;
             d.txtCesta.Text = "C:\\noty";
             PressKey(d.txtCesta, Qt::Key_Return);
         },
         "C:\\noty", {Nastaveno("C:\\noty")}},
        {"the arrow to the next choice, keypad Enter",
         [&](class frmZmenaCesty& d) {
             PressKey(d.Option1(0), Qt::Key_Down);
             PressKey(d.Option1(1), Qt::Key_Up);
             PressKey(d.Option1(0), Qt::Key_Up);  // round to the reset
             ASSERT_TRUE(d.Option1(3).Value.get());
             PressKey(d.Option1(3), Qt::Key_Enter, Qt::KeypadModifier);
         },
         kReset,
         {{"Po ukončení Korvela můžete zkontrolovat, zda volba splnila Vaše očekávání.", forms::vbInformation,
           "Reset nastavení"}}},
        {"Escape in the text box",
         [&](class frmZmenaCesty& d) {
             d.Option1(2).Value = true;
             d.txtCesta.Text = "C:\\noty";
             PressKey(d.txtCesta, Qt::Key_Escape);
         },
         kPuvodni, {}},
    };
    Slozka("Dokumenty");
    Slozka("noty");
    for (const Case& c : cases) {
        StaraCesta = kPuvodni;
        c.keys(Otevri());
        EXPECT_EQ(StaraCesta, c.staraCesta) << c.what;
        EXPECT_EQ(TakeBoxes(), c.hlaseni) << c.what;
        EXPECT_FALSE(DialogOtevreny()) << c.what;
        EXPECT_TRUE(HlavniViditelne()) << c.what;
    }
}

TEST_F(ZmenaCestyTest, AfterAMissingFolderTheUserCanChooseAgain) {
    auto& d = Otevri();
    d.Option1(1).Value = true;
    d.OKButton.PerformClick();
    ASSERT_TRUE(DialogOtevreny());
    TakeBoxes();

    Slozka("hudba");
    d.Option1(2).Value = true;
    d.txtCesta.Text = "C:\\hudba";
    d.OKButton.PerformClick();
    EXPECT_EQ(StaraCesta, "C:\\hudba");
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{Nastaveno("C:\\hudba")});
    EXPECT_FALSE(DialogOtevreny());
    EXPECT_TRUE(HlavniViditelne());
}

}  // namespace
