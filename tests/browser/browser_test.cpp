#include "platform/browser/browser.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextBrowser>

#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/temp_env.h"
#include "tests/support/qt_app.h"

namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::WriteFile;

std::string Page(const std::string& title, const std::string& body = {}) {
    return "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body +
           "</body></html>";
}

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("BELMORA_DRIVE_C", driveC.str());
        browser.DocumentComplete = [this] { completed.push_back(browser.LocationName()); };
        WriteFile(driveC.path() / "a.htm", Page("Stránka A", "<a href=\"b.htm\">dál</a>"));
        WriteFile(driveC.path() / "b.htm", Page("Stránka B"));
        WriteFile(driveC.path() / "c.htm", Page("Stránka C"));
    }

    // Lets the navigation under way finish.
    void WaitIdle() {
        QElapsedTimer clock;
        clock.start();
        while (browser.Busy() && clock.elapsed() < 5000) QCoreApplication::processEvents();
        ASSERT_FALSE(browser.Busy());
    }

    void Go(const std::string& address) {
        browser.Navigate(address);
        WaitIdle();
    }

    QApplication& app = forms_test::App();
    TempDir driveC;
    ScopedEnv env;
    forms::Form form;
    sys::WebBrowser browser{form};
    std::vector<std::string> completed;
};

TEST_F(BrowserTest, NavigateIsBusyUntilThePageIsInThenNamesItByItsTitle) {
    EXPECT_EQ(browser.LocationName(), "");
    browser.Navigate("C:\\a.htm");
    EXPECT_TRUE(browser.Busy());
    EXPECT_EQ(browser.LocationName(), "");
    EXPECT_TRUE(completed.empty());
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka A");
    EXPECT_EQ(completed, std::vector<std::string>{"Stránka A"});
}

TEST_F(BrowserTest, AddressesInEveryFormTheProgramWrites) {
    WriteFile(driveC.path() / "bez titulku.htm", "<html><body>text</body></html>");
    struct Case {
        std::string address;
        std::string name;
    };
    const Case cases[] = {
        {"C:\\b.htm", "Stránka B"},
        // The program folder (a Linux path) & "\name".
        {driveC.str() + "\\c.htm", "Stránka C"},
        {"file://" + driveC.str() + "/a.htm", "Stránka A"},
        // A page without a title is named after its file.
        {"C:\\bez titulku.htm", "bez titulku.htm"},
        // Addresses that cannot be read show the unreachable-address page.
        {"C:\\chybi.htm", sys::kUnreachablePageTitle},
        {"Q:\\a.htm", sys::kUnreachablePageTitle},
        {"http://example.com/", sys::kUnreachablePageTitle},
        {"", sys::kUnreachablePageTitle},
    };
    for (const Case& c : cases) {
        Go(c.address);
        EXPECT_EQ(browser.LocationName(), c.name) << c.address;
    }
}

TEST_F(BrowserTest, BackForwardAndHomeWalkTheHistory) {
    EXPECT_THROW(browser.GoBack(), vb::RuntimeError);
    EXPECT_THROW(browser.GoHome(), vb::RuntimeError);
    Go("C:\\a.htm");
    Go("C:\\b.htm");
    Go("C:\\c.htm");

    browser.GoBack();
    EXPECT_TRUE(browser.Busy());
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka B");
    browser.GoBack();
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka A");
    try {
        browser.GoBack();
        ADD_FAILURE() << "GoBack at the first page succeeded";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), sys::kBrowserOperationFailed);
    }
    EXPECT_FALSE(browser.Busy());

    browser.GoForward();
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka B");
    browser.GoForward();
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka C");
    EXPECT_THROW(browser.GoForward(), vb::RuntimeError);

    browser.GoHome();
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka A");
    EXPECT_EQ(completed.back(), "Stránka A");
}

TEST_F(BrowserTest, StopCancelsTheNavigationUnderWay) {
    Go("C:\\a.htm");
    completed.clear();
    browser.Navigate("C:\\b.htm");
    browser.Stop();
    EXPECT_FALSE(browser.Busy());
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(browser.LocationName(), "Stránka A");
    EXPECT_TRUE(completed.empty());
}

TEST_F(BrowserTest, ALinkFollowedInThePageCompletesToo) {
    Go("C:\\a.htm");
    completed.clear();
    // What clicking the link does inside the viewer.
    browser.View()->setSource(QUrl::fromLocalFile(QString::fromStdString(driveC.str() + "/b.htm")));
    EXPECT_EQ(completed, std::vector<std::string>{"Stránka B"});
    browser.GoBack();
    WaitIdle();
    EXPECT_EQ(browser.LocationName(), "Stránka A");
}

TEST(ToolbarTest, ButtonsByIndexAndKeyAndTheirClicks) {
    forms_test::App();
    forms::Form form;
    sys::ImageList images;
    QImage picture(24, 24, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    images.Add("Back", forms::Picture::FromImage(picture, 24));
    try {
        images.Add("Back", forms::Picture());
        ADD_FAILURE() << "a second picture under one key was taken";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 35602);
    }

    sys::Toolbar bar(form);
    bar.ImageList = &images;
    bar.AddButton("Back", "Back", "Zpět");
    bar.AddButton("Stop", "Chybi", "Zastavit");
    bar.Refresh();
    EXPECT_EQ(bar.Buttons(2).Key, "Stop");
    EXPECT_EQ(bar.Buttons("Back").Index, 1);
    EXPECT_FALSE(bar.Buttons("Back").Action()->icon().isNull());
    EXPECT_TRUE(bar.Buttons("Stop").Action()->icon().isNull());  // its picture is missing
    EXPECT_THROW(bar.Buttons(3), vb::RuntimeError);
    EXPECT_THROW(bar.Buttons("Home"), vb::RuntimeError);

    std::vector<std::string> clicked;
    bar.ButtonClick = [&](sys::ToolbarButton& b) { clicked.push_back(b.Key); };
    bar.Buttons("Stop").PerformClick();
    bar.Buttons(1).PerformClick();
    bar.Enabled = false;
    bar.Buttons(1).PerformClick();
    EXPECT_EQ(clicked, (std::vector<std::string>{"Stop", "Back"}));
}

}  // namespace
