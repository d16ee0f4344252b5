// Windows that come up over the program take the keyboard focus, Qt's own
// dialogs and the boxes they raise as well as the program's forms.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "qt_app.h"

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

}  // namespace
