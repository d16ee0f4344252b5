// The Qt message and input boxes: VB's buttons, icons, default button and
// return codes, answered by a simulated user.
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/msgbox.h"
#include "platform/forms/qt_msgbox.h"
#include "qt_app.h"

namespace {

using namespace forms;

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<std::string> buttons;
    std::string defaultButton;
};

// Answers the next box by pressing the button captioned `press` ("" = Escape).
void AnswerNextBox(Seen& seen, const std::string& press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.buttons.push_back(b->text().toStdString());
        std::sort(seen.buttons.begin(), seen.buttons.end());
        if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text().toStdString();
        if (press.empty()) {
            box->reject();
            return;
        }
        for (QAbstractButton* b : box->buttons())
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
        QMessageBox::Icon icon;
        std::vector<std::string> buttons;  // sorted
        std::string defaultButton;
    };
    const std::vector<Case> cases = {
        {vbOKOnly, "OK", vbOK, QMessageBox::NoIcon, {"OK"}, "OK"},
        {vbOKOnly | vbInformation, "", vbOK, QMessageBox::Information, {"OK"}, "OK"},
        {vbOKCancel, "Storno", vbCancel, QMessageBox::NoIcon, {"OK", "Storno"}, "OK"},
        {vbOKCancel, "", vbCancel, QMessageBox::NoIcon, {"OK", "Storno"}, "OK"},
        {vbYesNo | vbQuestion | vbDefaultButton2, "Ne", vbNo, QMessageBox::Question, {"Ano", "Ne"}, "Ne"},
        {vbYesNo, "Ano", vbYes, QMessageBox::NoIcon, {"Ano", "Ne"}, "Ano"},
        {vbYesNoCancel | vbExclamation | vbDefaultButton3, "", vbCancel, QMessageBox::Warning,
         {"Ano", "Ne", "Storno"}, "Storno"},
        {vbAbortRetryIgnore | vbCritical, "Ignorovat", vbIgnore, QMessageBox::Critical,
         {"Ignorovat", "Opakovat", "Přerušit"}, "Přerušit"},
        {vbRetryCancel | vbCritical, "Opakovat", vbRetry, QMessageBox::Critical, {"Opakovat", "Storno"}, "Opakovat"},
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

TEST_F(QtMsgBoxTest, AMessageLineIsNotBrokenAtQtsNarrowDefaultWidth) {
    const QString line = "Umožňuje zaznamenávat skladby podle notového záznamu, nebo přímo";
    int labelWidth = 0, lineWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        labelWidth = label->minimumWidth();
        lineWidth = QFontMetrics(label->font()).horizontalAdvance(line);
        box->accept();
    });
    MsgBox("Krátký řádek\r\n" + line.toStdString(), vbInformation, "O programu");
    EXPECT_GT(lineWidth, 0);
    EXPECT_GE(labelWidth, lineWidth);
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

}  // namespace
