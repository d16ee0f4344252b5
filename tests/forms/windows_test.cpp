// Windows that come up over the program: they take the keyboard focus, Qt's
// own dialogs and the boxes they raise as well as the program's forms; and
// every form opens with its title bar on the screen.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "tests/support/qt_app.h"

namespace {

using namespace forms;

// Turns the event loop until `done` holds, at most `ms` milliseconds.
bool Until(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A window of the program that is not a form (a workbook window), which
// takes the focus as the window manager might give it.
std::unique_ptr<QWidget> OtherWindowTakingTheFocus() {
    auto other = std::make_unique<QWidget>();
    other->setWindowTitle("sest.xls");
    other->show();
    other->activateWindow();
    return other;
}

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override { forms_test::App(); }
};

// A modal window keeps the focus while it is up, whoever made it: when
// another window of the program takes it, or when the focus goes nowhere
// (the window that had it went, and the window manager gave it to none of
// ours), it comes back, so that Return and Escape answer the window.
TEST_F(WindowsTest, AModalWindowGetsTheFocusBackWhoeverMadeIt) {
    struct Case {
        const char* what;
        // Raises the modal window; `up` runs once it is up, and closes it.
        std::function<void(const std::function<void(QWidget&)>& up)> raise;
    };
    const std::vector<Case> cases = {
        {"a box of Qt's own",
         [](const auto& up) {
             QTimer::singleShot(0, [&up] { up(*QApplication::activeModalWidget()); });
             QMessageBox::warning(nullptr, "Vyberte písničku", "Soubor se nepodařilo nalézt.");
         }},
        {"the open dialog's box for a file not found",
         [](const auto& up) {
             QFileDialog dialog(nullptr, "Vyberte písničku, kterou chcete zkoušet !", QDir::tempPath());
             dialog.setOption(QFileDialog::DontUseNativeDialog);
             dialog.setFileMode(QFileDialog::ExistingFile);
             QTimer::singleShot(0, [&] {
                 QTimer::singleShot(0, [&up, &dialog] {
                     QWidget* box = QApplication::activeModalWidget();
                     ASSERT_NE(box, &dialog);  // the dialog's own box, over it
                     up(*box);
                     dialog.reject();
                 });
                 dialog.findChild<QLineEdit*>("fileNameEdit")->setText("neni-tu-zadna.xls");
                 static_cast<QDialog&>(dialog).accept();  // raises the box and waits for its answer
             });
             dialog.exec();
         }},
        {"a modal form",
         [](const auto& up) {
             Form form;
             form.Caption = "Znáte-li tóninu, vyberte a potvrďte Ok !";
             QTimer::singleShot(0, [&] {
                 up(*form.Widget());
                 form.Hide();
             });
             form.Show(vbModal);
         }},
    };
    for (const Case& c : cases) {
        Form main;
        main.Caption = "Belmora";
        main.Show();
        bool hadFocus = false, backFromMain = false, backFromNowhere = false;
        c.raise([&](QWidget& window) {
            auto hasFocus = [&] { return QApplication::activeWindow() == &window; };
            hadFocus = Until(hasFocus);
            main.Widget()->activateWindow();
            backFromMain = Until(hasFocus);
            auto other = OtherWindowTakingTheFocus();
            Until([&] { return QApplication::activeWindow() == other.get(); }, 200);
            other->hide();  // the focus is nowhere now
            backFromNowhere = Until(hasFocus);
            if (auto* box = qobject_cast<QMessageBox*>(&window)) box->accept();
        });
        EXPECT_TRUE(hadFocus) << c.what;
        EXPECT_TRUE(backFromMain) << c.what;
        EXPECT_TRUE(backFromNowhere) << c.what;
        main.Hide();
    }
}

// A form shown modeless takes the focus as it comes up, even where another
// window of the program takes it just then; once it is up and has had it,
// the focus is the user's to move.
TEST_F(WindowsTest, AModelessFormTakesTheFocusAsItComesUp) {
    Form main;
    main.Show();
    Form dialog;
    dialog.Caption = "Konverze ladění.";
    dialog.Show();
    auto workbook = OtherWindowTakingTheFocus();
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeWindow(), dialog.Widget());
    QTest::qWait(1000);
    workbook->activateWindow();  // the user goes to the workbook
    QTest::qWait(300);
    EXPECT_EQ(QApplication::activeWindow(), workbook.get());
    dialog.Hide();
    main.Hide();
}

// Where a form opens: its frame's top left corner on the screen's available
// area whatever Left and Top say, the whole frame on it where it fits.
TEST_F(WindowsTest, AFormOpensWithItsTitleBarOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const float screenWidth = PixelsToTwips(area.width());
    const float screenHeight = PixelsToTwips(area.height());
    struct Case {
        const char* what;
        float left, top, width, height;
        bool fits;
    };
    const Case cases[] = {
        {"at the top left corner", 0, 0, 6540, 5055, true},
        {"beyond the right and the bottom", screenWidth + 3000, screenHeight + 3000, 6540, 5055, true},
        {"above and left of the screen", -4500, -3000, 6540, 5055, true},
        {"partly beyond the right", screenWidth - 3000, 1500, 6540, 5055, true},
        {"wider and taller than the screen", 1500, 1500, screenWidth + 3000, screenHeight + 3000, false},
        {"larger than the screen and beyond it", screenWidth, screenHeight, screenWidth + 3000, screenHeight + 3000,
         false},
    };
    for (const Case& c : cases) {
        Form form;
        form.Caption = "Ovládání Korvela";
        form.Left = c.left;
        form.Top = c.top;
        form.Width = c.width;
        form.Height = c.height;
        form.Show();
        QTest::qWait(20);
        const QRect frame = form.Widget()->frameGeometry();
        EXPECT_TRUE(area.contains(frame.topLeft())) << c.what;
        if (c.fits) {
            EXPECT_TRUE(area.contains(frame)) << c.what << " frame " << frame.x() << "," << frame.y() << " "
                                              << frame.width() << "x" << frame.height() << " area " << area.width()
                                              << "x" << area.height();
        }
        // The program's values stay as it set them.
        EXPECT_EQ(form.Left.get(), c.left) << c.what;
        EXPECT_EQ(form.Top.get(), c.top) << c.what;
        form.Hide();
    }
}

// A window system that puts the window elsewhere as it comes up (one that
// was resized before it was framed, say) is corrected; once the window is up,
// where it goes is the user's affair.
TEST_F(WindowsTest, AWindowPutAboveTheScreenAsItComesUpIsBroughtBack) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    Form form;
    form.Caption = "Ovládání Korvela";
    form.Show();
    QTest::qWait(20);
    form.Widget()->move(area.left() - 40, area.top() - 30);
    EXPECT_TRUE(Until([&] { return area.contains(form.Widget()->frameGeometry().topLeft()); }, 500));
    QTest::qWait(2500);
    form.Widget()->move(area.left() - 40, area.top() + 30);
    QTest::qWait(200);
    EXPECT_LT(form.Widget()->frameGeometry().left(), area.left());
    form.Hide();
}

}  // namespace
