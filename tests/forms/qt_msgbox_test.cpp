// The Qt message and input boxes: VB's buttons, icons, default button and
// return codes, answered by a simulated user.
#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/msgbox/msgbox.h"
#include "platform/forms/qt_msgbox.h"
#include "platform/forms/winapi.h"
#include "tests/support/qt_app.h"

namespace {

using namespace forms;

struct Seen {
    QString title, text;
    int icon = -1;
    std::vector<std::string> buttons;
    std::string defaultButton;
    QWidget* parent = nullptr;
    bool onTop = false;
};

MessageDialog* OpenBox() { return dynamic_cast<MessageDialog*>(QApplication::activeModalWidget()); }

// Answers the next box by pressing the button captioned `press` ("" = Escape).
void AnswerNextBox(Seen& seen, const std::string& press) {
    QTimer::singleShot(0, [&seen, press] {
        MessageDialog* box = OpenBox();
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->Text();
        seen.icon = IconOf(box->Flags());
        seen.parent = box->parentWidget();
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        for (const auto& [b, code] : box->Buttons()) {
            seen.buttons.push_back(b->text().toStdString());
            if (b->isDefault()) seen.defaultButton = b->text().toStdString();
        }
        if (press.empty()) {
            box->reject();
            return;
        }
        for (const auto& [b, code] : box->Buttons())
            if (b->text().toStdString() == press) b->click();
    });
}

class QtMsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        forms_test::App();
        previous_ = SetMessageBoxService(&boxes_);
    }
    void TearDown() override { SetMessageBoxService(previous_); }
    QtMessageBoxes boxes_;
    MessageBoxService* previous_ = nullptr;
};

TEST_F(QtMsgBoxTest, ButtonsIconsDefaultsAndCodes) {
    struct Case {
        int flags;
        std::string press;
        int code;
        int icon;
        std::vector<std::string> buttons;  // in their order
        std::string defaultButton;
    };
    const std::vector<Case> cases = {
        {vbOKOnly, "OK", vbOK, 0, {"OK"}, "OK"},
        {vbOKOnly | vbInformation, "", vbOK, vbInformation, {"OK"}, "OK"},
        {vbOKCancel, "Storno", vbCancel, 0, {"OK", "Storno"}, "OK"},
        {vbOKCancel, "", vbCancel, 0, {"OK", "Storno"}, "OK"},
        {vbYesNo | vbQuestion | vbDefaultButton2, "Ne", vbNo, vbQuestion, {"Ano", "Ne"}, "Ne"},
        {vbYesNo, "Ano", vbYes, 0, {"Ano", "Ne"}, "Ano"},
        {vbYesNoCancel | vbExclamation | vbDefaultButton3, "", vbCancel, vbExclamation, {"Ano", "Ne", "Storno"},
         "Storno"},
        {vbAbortRetryIgnore | vbCritical, "Ignorovat", vbIgnore, vbCritical, {"Přerušit", "Opakovat", "Ignorovat"},
         "Přerušit"},
        {vbRetryCancel | vbCritical, "Opakovat", vbRetry, vbCritical, {"Opakovat", "Storno"}, "Opakovat"},
    };
    for (const auto& c : cases) {
        Seen seen;
        AnswerNextBox(seen, c.press);
        const int code = MsgBox("Opravdu chcete ukončit program ?", c.flags, "Konec programu !");
        EXPECT_EQ(code, c.code) << c.flags << " " << c.press;
        EXPECT_EQ(seen.icon, c.icon) << c.flags;
        EXPECT_EQ(seen.buttons, c.buttons) << c.flags;
        EXPECT_EQ(seen.defaultButton, c.defaultButton) << c.flags;
        EXPECT_EQ(seen.title, QString::fromUtf8("Konec programu !"));
    }
}

TEST_F(QtMsgBoxTest, NoTitleShowsTheProgramsTitleAndLineBreaksBecomeNewLines) {
    Seen seen;
    AnswerNextBox(seen, "OK");
    MsgBox("první\r\ndruhý\rtřetí");
    EXPECT_EQ(seen.title, "Belmora");
    EXPECT_EQ(seen.text, QString::fromUtf8("první\ndruhý\ntřetí"));
}

// Every line of the text, and the whole title, has room in the box: a line
// is kept whole up to the box's reading width, a longer one (even a single
// word such as a path) wraps instead of being cut off on the right.
TEST_F(QtMsgBoxTest, TextAndTitleAreNeverCutOff) {
    const std::string shortLine = "Umožňuje zaznamenávat skladby podle notového záznamu, nebo přímo";
    const std::string path = "C:\\" + std::string(200, 'x') + ".xls";
    const std::string mail =
        "Bude spuštěn Váš výchozí poštovní klient. Minimalizujte Korvela na lištu a potom můžete přiložit nějaké "
        "písničky nebo napsat jinou zprávu. Program po stisku tlačítka Odeslat nevyžaduje okamžité připojení.";
    struct Case {
        std::string prompt, title;
        bool firstLineWhole;
    };
    const std::vector<Case> cases = {
        {"Krátký řádek\r\n" + shortLine, "O programu", true},
        {mail, "Děkuji za Váš příspěvek.", false},
        {"Soubor " + path + " nelze otevřít.", "Chyba", false},
        {"Ok", "Změna implicitní cesty při otvírání souborů v Microsoft Excelu.", true},
    };
    for (const auto& c : cases) {
        int labelWidth = -1, needed = 0, labelHeight = 0, boxWidth = 0, titleWidth = 0, shortWidth = 0;
        QTimer::singleShot(0, [&] {
            MessageDialog* box = OpenBox();
            ASSERT_NE(box, nullptr);
            QLabel* label = box->TextLabel();
            labelWidth = label->width();
            labelHeight = label->height();
            needed = label->heightForWidth(label->width());
            boxWidth = box->width();
            titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(box->windowTitle());
            shortWidth = QFontMetrics(label->font()).horizontalAdvance(QString::fromStdString(shortLine));
            box->accept();
        });
        MsgBox(c.prompt, vbInformation, c.title);
        EXPECT_GE(labelHeight, needed) << c.prompt;
        EXPECT_GT(boxWidth, titleWidth) << c.title;
        EXPECT_LE(labelWidth, kBoxTextWidth) << c.prompt;
        if (c.firstLineWhole && c.prompt.size() > 10) {
            EXPECT_GE(labelWidth, shortWidth);
        }
    }
}

// A box belongs to the program's current form, whichever window is active:
// the topmost form when there is one, and it stands above it.
TEST_F(QtMsgBoxTest, ABoxBelongsToTheCurrentFormAndStandsAboveIt) {
    Form main;
    main.Caption = "Belmora";
    main.Show();
    SetWindowPos(main.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    QWidget other;  // stands for a workbook window that is the active window
    other.show();
    other.activateWindow();
    ASSERT_EQ(CurrentForm(), &main);

    Seen seen;
    AnswerNextBox(seen, "OK");
    MsgBox("Mnohoprstost", vbCritical, "Mnohoprstost !");
    EXPECT_EQ(seen.parent, main.Widget());
    EXPECT_TRUE(seen.onTop);

    SetWindowPos(main.hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Seen plain;
    AnswerNextBox(plain, "OK");
    MsgBox("Záznam neuveden.");
    EXPECT_EQ(plain.parent, main.Widget());
    EXPECT_FALSE(plain.onTop);

    QWidget* inputParent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inputParent = dialog->parentWidget();
        dialog->reject();
    });
    InputBox("Název", "Nová píseň");
    EXPECT_EQ(inputParent, main.Widget());

    main.Hide();
    Seen none;
    AnswerNextBox(none, "OK");
    MsgBox("Bez okna");
    EXPECT_EQ(none.parent, nullptr);
    EXPECT_TRUE(none.onTop);  // nothing of the program's may cover it
}

// A box that asks a question cannot be dismissed without an answer.
TEST_F(QtMsgBoxTest, EscapeDoesNotAnswerAYesNoBox) {
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        MessageDialog* box = OpenBox();
        ASSERT_NE(box, nullptr);
        box->reject();
        stillOpen = box->isVisible();
        box->Buttons()[1].first->click();
    });
    EXPECT_EQ(MsgBox("Opravdu chcete ukončit program ?", vbYesNo, "Konec programu !"), vbNo);
    EXPECT_TRUE(stillOpen);
}

TEST_F(QtMsgBoxTest, InputBoxGivesTheTextOrEmptyWhenCancelled) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textValue(), "C:\\");
        dialog->setTextValue("D:\\Dokumenty");
        dialog->accept();
    });
    EXPECT_EQ(InputBox("Cesta", "", "C:\\"), "D:\\Dokumenty");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Belmora");
        dialog->reject();
    });
    EXPECT_EQ(InputBox("Cesta", "", "C:\\"), "");
}

// Turns the event loop until `done` holds, at most `ms` milliseconds.
template <class Condition>
bool Until(Condition done, int ms = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The window that has the focus once the events have been seen to.
QWidget* ActiveAfter(int ms) {
    QTest::qWait(ms);
    return QApplication::activeWindow();
}

// A click that is still waiting to be seen to when a command raises a box (or
// shows a modal form) does not run another command inside it: while a modal
// window is up, the program's other windows take no input, as with the
// classic modal box, and the click is dropped.
TEST_F(QtMsgBoxTest, AClickWaitingWhileABoxComesRunsNoCommandInsideIt) {
    struct Case {
        const char* what;
        std::function<void()> modal;  // raises the modal window and returns when it was answered
    };
    const std::vector<Case> cases = {
        {"message box",
         [] {
             QTimer::singleShot(150, [] { OpenBox()->Buttons()[0].first->click(); });
             MsgBox("Mnohoprstost", vbCritical, "Mnohoprstost !");
         }},
        {"input box",
         [] {
             QTimer::singleShot(150, [] { QApplication::activeModalWidget()->close(); });
             InputBox("Zadejte název nové písničky.", "Nová skladba.");
         }},
        {"modal form",
         [] {
             Form dialog;
             dialog.Caption = "Nastavení";
             QTimer::singleShot(150, [&dialog] { dialog.Hide(); });
             dialog.Show(vbModal);
         }},
    };
    for (const Case& c : cases) {
        Form main;
        CommandButton prvni(main), tlak(main);
        prvni.Move(0, 0, 1380, 375);
        tlak.Move(0, 600, 1380, 375);
        main.Show();
        std::vector<std::string> log;
        tlak.Click = [&] { log.push_back("tlak"); };
        prvni.Click = [&] {
            log.push_back("první");
            // The user's next click is already waiting when the box comes.
            QWidget* button = tlak.Widget();
            const QPointF at(10, 10);
            const QPointF global = button->mapToGlobal(at);
            QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                                Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            c.modal();
            log.push_back("první hotovo");
        };
        QTest::mouseClick(prvni.Widget(), Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_EQ(log, (std::vector<std::string>{"první", "první hotovo"})) << c.what;
        // Once the box is gone, a click runs its command again.
        QTest::mouseClick(tlak.Widget(), Qt::LeftButton);
        EXPECT_EQ(log.back(), "tlak") << c.what;
        main.Hide();
    }
}

// A box keeps the keyboard focus for as long as it is up: when another window
// of the program takes it (the main window, a workbook window shown
// meanwhile), or when a box raised over it is answered, the focus comes back
// to the box, so that Return answers it.
TEST_F(QtMsgBoxTest, ABoxGetsTheFocusBackWhileItIsUp) {
    struct Case {
        const char* what;
        bool mainShown;
        std::function<void(Form& main)> takeFocus;  // run while the box is up and has the focus
    };
    const std::vector<Case> cases = {
        {"the main window activated", true, [](Form& main) { main.Widget()->activateWindow(); }},
        {"a workbook window shown while no form is", false,
         [](Form&) {
             auto* workbook = new QWidget;
             workbook->setAttribute(Qt::WA_DeleteOnClose);
             workbook->setWindowTitle("sest.xls");
             workbook->show();
             workbook->activateWindow();
             QTimer::singleShot(1500, workbook, &QWidget::close);
         }},
        {"a box over it answered", true,
         [](Form&) {
             QTimer::singleShot(100, [] {
                 auto* over = OpenBox();
                 if (over) over->Buttons()[0].first->click();
             });
             MsgBox("Záznam neuveden.", vbCritical, "Neprovedeno.");
         }},
    };
    for (const Case& c : cases) {
        Form main;
        main.Caption = "Belmora";
        if (c.mainShown) main.Show();
        bool hadFocus = false, gotItBack = false;
        QTimer::singleShot(0, [&] {
            MessageDialog* box = OpenBox();
            ASSERT_NE(box, nullptr);
            hadFocus = Until([&] { return QApplication::activeWindow() == box; });
            QTest::qWait(1200);  // the box has been up a while
            c.takeFocus(main);
            gotItBack = ActiveAfter(400) == box;
            box->Buttons()[0].first->click();
        });
        MsgBox("Mnohoprstost", vbCritical, "Mnohoprstost !");
        EXPECT_TRUE(hadFocus) << c.what;
        EXPECT_TRUE(gotItBack) << c.what;
        main.Hide();
    }
}

}  // namespace
