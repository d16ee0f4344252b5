// The menus of the main window: the display choices and what they store, the
// end of the program, the conversion item without the lookup workbook, the
// item that stays disabled, the dialogs opened from the menu and the message
// to the author.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>

#include "conversion/frmkonverze.h"
#include "mainwindow/frmbrowser.h"
#include "mainwindow/frmnastaveni.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/system/settings.h"
#include "platform/system/shell.h"
#include "store/frmzmenacesty.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;

// Records whether the main window was visible while each box was up, then
// lets the scripted boxes answer.
class WatchingBoxes : public forms::MessageBoxService {
public:
    WatchingBoxes(Form1& form, forms::MessageBoxService* inner) : form_(form), inner_(inner) {
        previous_ = forms::SetMessageBoxService(this);
    }
    ~WatchingBoxes() override { forms::SetMessageBoxService(previous_); }
    int Show(const std::string& prompt, int flags, const std::string& title) override {
        windowVisible.push_back(form_.Visible.get());
        return inner_->Show(prompt, flags, title);
    }
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        return inner_->Input(prompt, title, defaultText);
    }
    std::vector<bool> windowVisible;

private:
    Form1& form_;
    forms::MessageBoxService* inner_;
    forms::MessageBoxService* previous_ = nullptr;
};

// One launch of the desktop's opener, as the hook saw it.
struct Launch {
    std::string program;
    std::vector<std::string> args;
    bool windowTopmost;
};

class MenusTest : public Form1Fixture {
protected:
    void TearDown() override {
        sys::SetLaunchHook(nullptr);
        forms::SetModalDriver(nullptr);
        if (frmBrowserForm().IsLoaded()) frmBrowserForm().Unload();
        frmZmenaCesty.Reset();
        frmKonverze.Reset();
        Form1Fixture::TearDown();
    }
    static std::string Stored(const std::string& section) {
        return sys::GetSetting("Calvira12", section, "Index", "<missing>");
    }
};

int VisibleNumberLabels(Form1& f) {
    int n = 0;
    for (int i = 0; i <= 31; ++i) n += f.lblCisKnofl(i).Visible ? 1 : 0;
    return n;
}

// ---- The display choices -------------------------------------------------------

TEST_F(MenusTest, ToneNamesItemTogglesTheNamesAndStoresItsFinalState) {
    Form1& f = Start();
    ASSERT_FALSE(f.mnu2Rady.Checked);

    ASSERT_TRUE(f.mnu2Rady.PerformClick());
    EXPECT_TRUE(f.mnu2Rady.Checked);
    EXPECT_EQ(Stored("PopisKnof"), "1");
    EXPECT_EQ(f.lbl(1).Caption.get(), "e");
    EXPECT_EQ(f.lbl(49).Caption.get(), "e4");
    EXPECT_EQ(f.lblSynchro(2).Caption.get(), "f");

    ASSERT_TRUE(f.mnu2Rady.PerformClick());
    EXPECT_FALSE(f.mnu2Rady.Checked);
    EXPECT_EQ(Stored("PopisKnof"), "0");
    EXPECT_EQ(f.lbl(1).Caption.get(), "");
    EXPECT_EQ(f.lblSynchro(2).Caption.get(), "");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(MenusTest, StoredChoicesComeBackAtTheNextStart) {
    {
        Form1& f = Start();
        f.mnu2Rady.PerformClick();
        f.mnuCislovat.PerformClick();
        f.Unload();
    }
    Form1& again = Start();
    EXPECT_TRUE(again.mnu2Rady.Checked);
    EXPECT_TRUE(again.mnuCislovat.Checked);
    EXPECT_EQ(again.lbl(1).Caption.get(), "e");
    EXPECT_EQ(VisibleNumberLabels(again), 32);
}

TEST_F(MenusTest, NumberingItemShowsAndHidesAllLabelsAndStoresItsState) {
    // Letter labels on, so labels 0-24 carry the captions the load put there.
    Setting("Znaceni", "Index", "1");
    Setting("Cislovani", "Index", "1");
    Form1& f = Start();
    ASSERT_TRUE(f.mnuCislovat.Checked);
    ASSERT_EQ(VisibleNumberLabels(f), 32);
    ASSERT_EQ(f.lblCisKnofl(18).Caption.get(), "5s");

    ASSERT_TRUE(f.mnuCislovat.PerformClick());
    EXPECT_FALSE(f.mnuCislovat.Checked);
    EXPECT_EQ(VisibleNumberLabels(f), 0);
    EXPECT_EQ(Stored("Cislovani"), "0");

    ASSERT_TRUE(f.mnuCislovat.PerformClick());
    EXPECT_TRUE(f.mnuCislovat.Checked);
    EXPECT_EQ(VisibleNumberLabels(f), 32);
    EXPECT_EQ(Stored("Cislovani"), "1");
    EXPECT_EQ(f.lblCisKnofl(18).Caption.get(), "5s");
}

// ---- The end of the program -------------------------------------------------------

TEST_F(MenusTest, EndAnsweredNoLeavesProgramSongAndSpreadsheetAlone) {
    Form1& f = Start();
    const std::string song = OpenNewSong("Pisen.xls");
    ExcelAplikace->Range("B3").Value("c1,");
    Boxes().Answer(forms::vbNo);

    ASSERT_TRUE(f.mnuKonec.PerformClick());

    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"Opravdu chcete ukončit program ?", forms::vbYesNo, "Konec programu !"}}));
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible);
    ASSERT_TRUE(ExcelAplikace);
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), song);
    EXPECT_TRUE(vb::LooseEquals(ExcelAplikace->Range("B3").Value(), "c1,"));
    EXPECT_TRUE(vb::LooseEquals(AktivujReadOnly(), true));
}

TEST_F(MenusTest, EndAnsweredYesUnloadsTheWindowAndEndsTheSpreadsheet) {
    Form1& f = Start();
    bool ended = false;
    f.Unloaded = [&] { ended = true; };
    Boxes().Answer(forms::vbYes);

    ASSERT_TRUE(f.mnuKonec.PerformClick());

    EXPECT_TRUE(ended);
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_FALSE(ExcelAplikace);
}

// ---- Conversion -------------------------------------------------------------------

TEST_F(MenusTest, ConversionWithoutTheLookupWorkbookReportsAndBringsTheWindowBack) {
    Form1& f = Start();
    const std::string song = OpenNewSong("Pisen.xls");
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->ActiveWorkbook().Close(false);
    ExcelAplikace->Windows(song).Activate();
    WatchingBoxes watch(f, &Boxes());

    ASSERT_TRUE(f.mnuKonverze.PerformClick());

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Chyba.");
    EXPECT_EQ(boxes[0].icon(), forms::vbCritical);
    EXPECT_EQ(watch.windowVisible, std::vector<bool>{false});  // hidden while the message is up
    EXPECT_TRUE(f.Visible);
    EXPECT_TRUE(f.Widget()->isVisible());
}

// ---- The item that has no command -----------------------------------------------------

TEST_F(MenusTest, TurningTheKeyboardCannotBeChosen) {
    Form1& f = Start();
    OpenNewSong("Pisen.xls");
    f.NastavOvladaniPisne();
    f.mnu2Rady.PerformClick();
    f.mnuCislovat.PerformClick();

    EXPECT_FALSE(f.mnuOtocitHmatnik.Enabled);
    EXPECT_FALSE(f.mnuOtocitHmatnik.PerformClick());
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- Dialogs opened from the menu --------------------------------------------------------

TEST_F(MenusTest, OverlayItemOpensAFreshDialogWithTheWindowHiddenAndShowsItAgain) {
    Form1& f = Start();
    std::vector<frmNastaveni*> opened;
    std::vector<bool> hidden;
    forms::SetModalDriver([&](forms::Form& shown) {
        auto* dialog = dynamic_cast<frmNastaveni*>(&shown);
        ASSERT_NE(dialog, nullptr);
        opened.push_back(dialog);
        hidden.push_back(!f.Visible.get());
        dialog->chkZabrany(2).Value = forms::vbChecked;
        dialog->cmdOK.PerformClick();
    });

    ASSERT_TRUE(f.mnuPrekrytRady.PerformClick());

    EXPECT_EQ(hidden, std::vector<bool>{true});
    EXPECT_TRUE(f.Visible);
    EXPECT_TRUE(f.cmdZabrana(2).Visible);
    EXPECT_EQ(sys::GetSetting("Calvira12", "Zabrany", "2"), "1");

    // The next opening is another dialog, showing what is stored.
    forms::SetModalDriver([&](forms::Form& shown) {
        auto* dialog = dynamic_cast<frmNastaveni*>(&shown);
        ASSERT_NE(dialog, nullptr);
        hidden.push_back(!f.Visible.get());
        EXPECT_EQ(dialog->chkZabrany(2).Value.get(), forms::vbChecked);
        dialog->cmdZrušit.PerformClick();
    });
    ASSERT_TRUE(f.mnuPrekrytRady.PerformClick());
    EXPECT_EQ(hidden, (std::vector<bool>{true, true}));
    EXPECT_TRUE(f.Visible);
}

TEST_F(MenusTest, HelpItemShowsTheHelpPageWhileTheWindowIsHidden) {
    Form1& f = Start();
    ASSERT_TRUE(f.mnuhtm.PerformClick());

    frmBrowser& browser = frmBrowserForm();
    EXPECT_FALSE(f.Visible);
    EXPECT_TRUE(browser.Visible);
    QElapsedTimer waited;
    waited.start();
    while (browser.brwWebBrowser.Busy() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    ASSERT_FALSE(browser.brwWebBrowser.Busy());
    EXPECT_EQ(browser.brwWebBrowser.LocationName(), "Ovládání Korvela – nápověda k programu Belmora");

    browser.Unload();
    EXPECT_TRUE(f.Visible);
}

TEST_F(MenusTest, FolderItemShowsTheFolderDialogModelessWithTheWindowHidden) {
    Form1& f = Start();
    ASSERT_TRUE(f.mnuNastavCestu.PerformClick());
    EXPECT_FALSE(f.Visible);
    ASSERT_NE(frmZmenaCesty.Existing(), nullptr);
    EXPECT_TRUE(frmZmenaCesty->Visible);
    EXPECT_FALSE(frmZmenaCesty->IsModal());
    frmZmenaCesty->Unload();
    EXPECT_TRUE(f.Visible);
}

// ---- Items that run a button's command -----------------------------------------------------

TEST_F(MenusTest, ReleaseAllItemReleasesAsItsButtonDoes) {
    Form1& f = Start();
    f.lbl(10).Tag = "1";
    f.ImgBas(5).Tag = "1";
    f.picNota(0).Top = 9000;
    Form1 button;  // the same state released by the button itself, to compare
    button.lbl(10).Tag = "1";
    button.ImgBas(5).Tag = "1";
    button.picNota(0).Top = 9000;
    button.cmdUvolKnofl.PerformClick();

    ASSERT_TRUE(f.mnuUvolnitVse.PerformClick());

    EXPECT_EQ(f.lbl(10).Tag, button.lbl(10).Tag);
    EXPECT_EQ(f.ImgBas(5).Tag, button.ImgBas(5).Tag);
    EXPECT_EQ(f.picNota(0).Top, button.picNota(0).Top);
    EXPECT_NE(f.picNota(0).Top, 9000);
}

// ---- Information and the message to the author ------------------------------------------

TEST_F(MenusTest, MailItemDropsTopmostBeforeTheMailProgramAndForTheRestOfTheRun) {
    Form1& f = Start();
    ASSERT_TRUE(f.IsTopmost());
    std::vector<Launch> launches;
    sys::SetLaunchHook([&](const std::string& program, const std::vector<std::string>& args) {
        launches.push_back({program, args, f.IsTopmost()});
        return true;
    });

    ASSERT_TRUE(f.mnuMailAutorovi.PerformClick());

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags, forms::vbInformation | forms::vbOKOnly);
    EXPECT_EQ(boxes[0].title, "Děkuji za Váš příspěvek.");
    EXPECT_EQ(boxes[0].prompt.rfind("Bude spuštěn Váš výchozí poštovní klient.", 0), 0u);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, "xdg-open");
    ASSERT_EQ(launches[0].args.size(), 1u);
    const std::string& link = launches[0].args[0];
    EXPECT_EQ(link.rfind("mailto:", 0), 0u) << link;
    const auto subject = link.find("?subject=Z%20Belmory%20verze%202.1&body=Dobr%C3%BD%20den%20&%20attach%20=%20");
    ASSERT_NE(subject, std::string::npos) << link;
    EXPECT_GT(subject, std::string("mailto:").size()) << "no address in " << link;
    EXPECT_FALSE(launches[0].windowTopmost);
    EXPECT_FALSE(f.IsTopmost());

    // Hiding and showing the window again does not make it topmost again.
    f.mnuKonverze.PerformClick();
    EXPECT_FALSE(f.Visible);
    frmKonverze->cmdKonec.PerformClick();
    EXPECT_TRUE(f.Visible);
    EXPECT_FALSE(f.IsTopmost());
}

TEST_F(MenusTest, MailProgramThatDoesNotStartShowsNothing) {
    Form1& f = Start();
    int attempts = 0;
    sys::SetLaunchHook([&](const std::string&, const std::vector<std::string>&) {
        ++attempts;
        return false;
    });
    ASSERT_TRUE(f.mnuMailAutorovi.PerformClick());
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(TakeBoxes().size(), 1u);  // the announcement only
    EXPECT_TRUE(f.Visible);
    EXPECT_FALSE(f.IsTopmost());
}

}  // namespace
