// The help browser window: its load and resizing, the address line, the
// toolbar's commands, the busy indicator and the help page of the program folder.
#include "mainwindow/frmbrowser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextBrowser>
#include <QTest>

#include <fstream>
#include <string>

#include "form1_fixture.h"
#include "tests/support/render_form.h"
#include "platform/system/files.h"

namespace {

class FrmBrowserTest : public form1_test::Form1Fixture {
protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        Page("a.htm", "Stránka A");
        Page("b.htm", "Stránka B");
    }
    void TearDown() override {
        if (frmBrowserForm().IsLoaded()) frmBrowserForm().Unload();
        Form1Fixture::TearDown();
    }

    // A page on drive C.
    void Page(const std::string& file, const std::string& title) {
        std::ofstream(Root() / "C" / file) << "<html><head><meta charset=\"utf-8\"><title>" << title
                                           << "</title></head><body><p>" << title << "</p></body></html>";
    }

    // Turns the event loop until `done` holds (at most five seconds).
    template <class Condition>
    static bool Until(Condition done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    static bool Idle(frmBrowser& b) {
        return Until([&] { return !b.brwWebBrowser.Busy(); });
    }

    // Types `text` into the address line and presses Enter.
    static void TypeAddress(frmBrowser& b, const std::string& text) {
        QLineEdit* edit = static_cast<QComboBox*>(b.cboAddress.Widget())->lineEdit();
        edit->clear();
        b.cboAddress.Text.Assign("");
        QTest::keyClicks(edit, QString::fromStdString(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // A browser loaded and showing page a.htm.
    frmBrowser& OpenOnA() {
        frmBrowser& b = frmBrowserForm();
        b.Show(forms::vbModeless);
        b.brwWebBrowser.Navigate("C:\\a.htm");
        EXPECT_TRUE(Idle(b));
        return b;
    }
};

TEST_F(FrmBrowserTest, LoadShowsTheWindowAndFitsTheAddressLineAndThePage) {
    frmBrowser& b = frmBrowserForm();
    b.Load();
    EXPECT_TRUE(b.Widget()->isVisible());
    EXPECT_EQ(b.Caption.get(), "");
    EXPECT_FALSE(b.tbToolBar.Buttons("Search").Action()->icon().isNull());
    EXPECT_FLOAT_EQ(b.cboAddress.Left, 50);
    EXPECT_FLOAT_EQ(b.cboAddress.Top, 60 + 255 + 15);
    EXPECT_FLOAT_EQ(b.cboAddress.Width, b.ScaleWidth() - 100);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Width, b.ScaleWidth() - 100);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Height, b.ScaleHeight() - (540 + 675) - 100);
}

// The inner width is whole pixels of 15 twips: 90 is the widest at or below
// 101 twips, 105 the narrowest above it.
TEST_F(FrmBrowserTest, ResizingFollowsOnlyAboveAnInnerWidthOf101Twips) {
    frmBrowser& b = frmBrowserForm();
    b.Show(forms::vbModeless);
    const auto resize = [&b](int width, int height) {
        b.SetClientSize(width, height);
        QCoreApplication::processEvents();
    };
    resize(3000, 4500);
    ASSERT_FLOAT_EQ(b.brwWebBrowser.Width, 2900);
    ASSERT_FLOAT_EQ(b.brwWebBrowser.Height, 4500 - 1215 - 100);

    resize(90, 3000);
    ASSERT_FLOAT_EQ(b.ScaleWidth(), 90);
    EXPECT_FLOAT_EQ(b.cboAddress.Width, 2900);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Width, 2900);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Height, 4500 - 1215 - 100);

    resize(105, 3000);
    ASSERT_FLOAT_EQ(b.ScaleWidth(), 105);
    EXPECT_FLOAT_EQ(b.cboAddress.Width, 5);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Width, 5);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Height, b.ScaleHeight() - 1215 - 100);

    // Too low for the page: the widths follow, the page keeps its height.
    const float height = b.brwWebBrowser.Height;
    resize(1500, 900);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Width, 1400);
    EXPECT_FLOAT_EQ(b.brwWebBrowser.Height, height);
}

TEST_F(FrmBrowserTest, EnterInTheAddressLineGoesThereWithoutListingTheAddress) {
    frmBrowser& b = OpenOnA();
    ASSERT_EQ(b.Caption.get(), "Stránka A");
    TypeAddress(b, "C:\\b.htm");
    EXPECT_EQ(b.cboAddress.Text.get(), "C:\\b.htm");
    ASSERT_TRUE(Idle(b));
    EXPECT_EQ(b.brwWebBrowser.LocationName(), "Stránka B");
    EXPECT_EQ(b.Caption.get(), "Stránka B");
    EXPECT_EQ(b.cboAddress.ListCount(), 0);

    // Other keys are only typed.
    QLineEdit* edit = static_cast<QComboBox*>(b.cboAddress.Widget())->lineEdit();
    QTest::keyClicks(edit, "C:\\a.htm");
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_FALSE(b.brwWebBrowser.Busy());
    EXPECT_EQ(b.Caption.get(), "Stránka B");
}

TEST_F(FrmBrowserTest, SearchWhileIdleNamesThePageAtTheFirstTickAndStops) {
    frmBrowser& b = OpenOnA();
    b.Caption = "";
    b.tbToolBar.Buttons("Search").PerformClick();
    EXPECT_TRUE(b.timTimer.Enabled);
    EXPECT_EQ(b.Caption.get(), "");
    ASSERT_TRUE(Until([&] { return !b.timTimer.Enabled; }));
    EXPECT_EQ(b.Caption.get(), "Stránka A");
}

TEST_F(FrmBrowserTest, TheBusyIndicatorSaysWorkingWhileAPageIsComing) {
    frmBrowser& b = OpenOnA();
    b.brwWebBrowser.Navigate("C:\\b.htm");
    b.tbToolBar.Buttons("Search").PerformClick();
    b.timTimer_Timer();
    EXPECT_EQ(b.Caption.get(), "Working...");
    EXPECT_TRUE(b.timTimer.Enabled);
    ASSERT_TRUE(Until([&] { return !b.timTimer.Enabled; }));
    EXPECT_EQ(b.Caption.get(), "Stránka B");
}

TEST_F(FrmBrowserTest, StopCancelsThePageComingAndNamesThePageShown) {
    frmBrowser& b = OpenOnA();
    b.brwWebBrowser.Navigate("C:\\b.htm");
    b.timTimer.Enabled = true;
    b.Caption = "Working...";
    b.tbToolBar.Buttons("Stop").PerformClick();
    EXPECT_FALSE(b.timTimer.Enabled);
    EXPECT_FALSE(b.brwWebBrowser.Busy());
    EXPECT_EQ(b.Caption.get(), "Stránka A");
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(b.brwWebBrowser.LocationName(), "Stránka A");
}

TEST_F(FrmBrowserTest, ToolbarWalksTheHistoryAndSkipsWhatCannotBeDone) {
    frmBrowser& b = OpenOnA();
    // Nothing to go forward to, and nothing before the first page: skipped silently.
    b.tbToolBar.Buttons("Forward").PerformClick();
    b.tbToolBar.Buttons("Back").PerformClick();
    EXPECT_FALSE(b.brwWebBrowser.Busy());
    EXPECT_EQ(b.Caption.get(), "Stránka A");

    TypeAddress(b, "C:\\b.htm");
    ASSERT_TRUE(Idle(b));
    struct Step {
        const char* key;
        const char* caption;
        const char* file;
    };
    const Step steps[] = {{"Back", "Stránka A", "a.htm"}, {"Forward", "Stránka B", "b.htm"},
                          {"Home", "Stránka A", "a.htm"}, {"Refresh", "Stránka A", "a.htm"}};
    for (const Step& s : steps) {
        b.Caption = "";
        b.cboAddress.Text = "";
        b.tbToolBar.Buttons(s.key).PerformClick();
        ASSERT_TRUE(Idle(b)) << s.key;
        EXPECT_EQ(b.Caption.get(), s.caption) << s.key;
        // The address line names the page shown.
        EXPECT_EQ(b.cboAddress.Text.get(), "file://" + (Root() / "C" / s.file).string()) << s.key;
    }
    TypeAddress(b, "X:\\nikde.htm");
    ASSERT_TRUE(Idle(b));
    EXPECT_EQ(b.cboAddress.Text.get(), "X:\\nikde.htm");
}

TEST_F(FrmBrowserTest, TheHelpPageOfTheProgramFolderNamesTheWindow) {
    frmBrowser& b = frmBrowserForm();
    b.Show(forms::vbModeless);
    b.brwWebBrowser.Navigate(sys::AppPath() + "\\Korvel.htm");
    ASSERT_TRUE(Idle(b));
    EXPECT_EQ(b.Caption.get(), "Ovládání Korvela – nápověda k programu Belmora");
    EXPECT_EQ(b.brwWebBrowser.LocationName(), b.Caption.get());
    // To be looked at: the window with the help page.
    EXPECT_TRUE(form1_test::RenderToPng(b, BELMORA_TEST_OUTPUT_DIR "/frmbrowser.png"));
    // It explains the program's main uses.
    const std::string text = b.brwWebBrowser.View()->toPlainText().toStdString();
    for (const char* topic : {"Otevření písničky", "Čtení hmatu", "krok za krokem", "Automat", "Zápis nové písničky",
                              "Konverze"})
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
}

TEST_F(FrmBrowserTest, ClosingBringsTheMainWindowBackAndTheNextOpeningStartsAfresh) {
    Form1& f = Start();
    f.Hide();
    frmBrowser& first = OpenOnA();
    TypeAddress(first, "C:\\b.htm");
    ASSERT_TRUE(Idle(first));
    first.Widget()->close();  // the window's close box
    EXPECT_FALSE(first.IsLoaded());
    EXPECT_TRUE(f.Visible);

    frmBrowser& next = frmBrowserForm();
    next.Show(forms::vbModeless);
    EXPECT_EQ(next.Caption.get(), "");
    EXPECT_EQ(next.brwWebBrowser.LocationName(), "");
    EXPECT_FALSE(next.brwWebBrowser.View()->isBackwardAvailable());
}

// The browser has no button of its own to close it: Escape closes it as its
// close box does, from the page and from the address line, and the main
// window comes back. Return in the address line still goes to the address.
TEST_F(FrmBrowserTest, EscapeClosesTheBrowserAsItsCloseBoxDoes) {
    Form1& f = Start();
    for (const bool fromAddressLine : {false, true}) {
        f.Hide();
        frmBrowser& b = OpenOnA();
        QWidget* focused = b.brwWebBrowser.View();
        if (fromAddressLine) {
            TypeAddress(b, "C:\\b.htm");
            ASSERT_TRUE(Idle(b));
            EXPECT_EQ(b.Caption.get(), "Stránka B");
            focused = static_cast<QComboBox*>(b.cboAddress.Widget())->lineEdit();
        }
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Escape);
        EXPECT_FALSE(b.IsLoaded()) << fromAddressLine;
        EXPECT_FALSE(b.Widget()->isVisible()) << fromAddressLine;
        EXPECT_TRUE(f.Visible && f.Widget()->isVisible()) << fromAddressLine;
    }
}

}  // namespace
