// The scale choice: the scale button opens the dialog with the main window
// hidden, and the dialog hands the choice back in the button's caption with
// the key signature drawn on the entry staff.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QMainWindow>
#include <QTest>

#include "mainwindow/frmstupnice.h"
#include "notation/zapis/notyzapis.h"
#include "platform/msgbox/msgbox.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;

struct Place {
    float left;
    float top;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& p, std::ostream* os) { *os << "(" << p.left << ", " << p.top << ")"; }

// Where the key-signature pictures rest off the staff.
Place RestingFlat(int i) { return {1080.0f - 90.0f * static_cast<float>(i), 7560}; }
Place RestingSharp(int i) { return {480.0f - 90.0f * static_cast<float>(i), 7680}; }
// The sharps of a key signature on the staff, in order.
const Place kSharps[7] = {{1490, 8850}, {1590, 9030}, {1690, 8790}, {1790, 8970},
                          {1890, 9150}, {1990, 8910}, {2090, 9090}};

Place At(const forms::Control& c) { return {c.Left.get(), c.Top.get()}; }

class ScaleDialogTest : public Form1Fixture {
protected:
    void TearDown() override {
        forms::SetModalDriver(nullptr);
        frmStupnice.Reset();
        Form1Fixture::TearDown();
    }

    // Clicks the scale button; `user` plays the user in the open dialog.
    // Records whether the main window was hidden meanwhile.
    void ChooseScale(Form1& f, std::function<void(class frmStupnice&)> user) {
        forms::SetModalDriver([&, user = std::move(user)](forms::Form& shown) {
            auto* dialog = dynamic_cast<class frmStupnice*>(&shown);
            ASSERT_NE(dialog, nullptr);
            windowHiddenMeanwhile_.push_back(!f.Visible.get() && !f.Widget()->isVisible());
            user(*dialog);
        });
        f.cmdStupnice.PerformClick();
        forms::SetModalDriver(nullptr);
        EXPECT_TRUE(f.Visible);
        EXPECT_TRUE(f.Widget()->isVisible());
    }

    std::vector<bool> windowHiddenMeanwhile_;
};

void ExpectKeySignatureCleared(Form1& f) {
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(At(f.picBeckoStup(i)), RestingFlat(i)) << "flat " << i;
        EXPECT_EQ(At(f.picKrizekStup(i)), RestingSharp(i)) << "sharp " << i;
    }
}

TEST_F(ScaleDialogTest, OkWithFisDurPutsTheCaptionAndSixSharps) {
    Form1& f = Start();
    f.Zapis().NastavStupnici("As Dur");  // a signature of flats already on the staff

    ChooseScale(f, [](class frmStupnice& d) {
        d.optStupnice(6).Value = true;
        d.cmdOK.PerformClick();
    });

    EXPECT_EQ(windowHiddenMeanwhile_, std::vector<bool>{true});
    EXPECT_EQ(f.cmdStupnice.Caption.get(), "Fis Dur");
    for (int k = 0; k <= 5; ++k) EXPECT_EQ(At(f.picKrizekStup(k)), kSharps[k]) << "sharp " << k;
    EXPECT_EQ(At(f.picKrizekStup(6)), RestingSharp(6));
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(At(f.picBeckoStup(i)), RestingFlat(i)) << "flat " << i;
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ScaleDialogTest, OkWithNothingSelectedEmptiesTheCaptionAndDrawsNoSignature) {
    Form1& f = Start();
    f.cmdStupnice.Caption = "D Dur";
    f.Zapis().NastavStupnici("D Dur");

    ChooseScale(f, [](class frmStupnice& d) { d.cmdOK.PerformClick(); });

    EXPECT_EQ(f.cmdStupnice.Caption.get(), "");
    ExpectKeySignatureCleared(f);
}

TEST_F(ScaleDialogTest, CancellingTheSettingNamesNoScaleAndLeavesTheSignatureCleared) {
    Form1& f = Start();
    ChooseScale(f, [](class frmStupnice& d) {
        d.optStupnice(7).Value = true;
        d.cmdOK.PerformClick();
    });
    ASSERT_EQ(f.cmdStupnice.Caption.get(), "Cis Dur");

    ChooseScale(f, [](class frmStupnice& d) {
        d.optStupnice(3).Value = true;  // chosen, then the setting cancelled
        d.cmdZrusit.PerformClick();
    });

    EXPECT_EQ(f.cmdStupnice.Caption.get(), "Vyberte stupnici");
    ExpectKeySignatureCleared(f);
}

TEST_F(ScaleDialogTest, EveryOpeningStartsWithNoScaleSelected) {
    Form1& f = Start();
    ChooseScale(f, [](class frmStupnice& d) {
        d.optStupnice(14).Value = true;
        d.cmdOK.PerformClick();
    });
    ASSERT_EQ(f.cmdStupnice.Caption.get(), "Ces Dur");

    std::vector<int> selected;
    std::vector<std::string> captions;
    ChooseScale(f, [&](class frmStupnice& d) {
        for (int i = 0; i <= 14; ++i) {
            if (d.optStupnice(i).Value.get()) selected.push_back(i);
            captions.push_back(d.optStupnice(i).Caption.get());
        }
        d.Widget()->close();  // the close box
    });

    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(captions, (std::vector<std::string>{"C Dur", "G Dur", "D Dur", "A Dur", "E Dur", "H Dur", "Fis Dur",
                                                  "Cis Dur", "F Dur", "B Dur", "Es Dur", "As Dur", "Des Dur",
                                                  "Ges Dur", "Ces Dur"}));
    // Closed with the close box: the caption stays, the signature stays cleared.
    EXPECT_EQ(f.cmdStupnice.Caption.get(), "Ces Dur");
    ExpectKeySignatureCleared(f);
    EXPECT_EQ(windowHiddenMeanwhile_, (std::vector<bool>{true, true}));
}

TEST_F(ScaleDialogTest, HelpLeavesTheDialogOpen) {
    Form1& f = Start();
    bool openAfterHelp = false;
    ChooseScale(f, [&](class frmStupnice& d) {
        d.optStupnice(1).Value = true;
        d.cmdHelp.PerformClick();
        openAfterHelp = d.IsLoaded() && d.Widget()->isVisible() && d.optStupnice(1).Value.get();
        d.cmdOK.PerformClick();
    });

    EXPECT_TRUE(openAfterHelp);
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags, forms::vbInformation | forms::vbOKOnly);
    EXPECT_EQ(boxes[0].title, "Nápověda k výběru stupnice.");
    EXPECT_EQ(boxes[0].prompt.rfind("Stupnici skladby, kterou hodláte zapsat,", 0), 0u);
    EXPECT_EQ(f.cmdStupnice.Caption.get(), "G Dur");
}

// The dialog's keys do what its buttons do: Return presses the focused
// button and elsewhere "Ok"; Escape closes the dialog as its close box does.
// The fifteen scales are one stop for Tab, the arrows choose among them.
TEST_F(ScaleDialogTest, KeysDoWhatTheButtonsDo) {
    Form1& f = Start();
    // A key to the widget that has the focus in the dialog.
    auto press = [](class frmStupnice& d, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(d.Widget()->focusWidget(), key, modifiers);
    };
    struct Case {
        const char* what;
        std::function<void(class frmStupnice&)> user;
        std::string caption;  // of the scale button afterwards
    };
    const Case cases[] = {
        {"Return on Ok",
         [&](class frmStupnice& d) {
             d.optStupnice(6).Value = true;
             d.cmdOK.SetFocus();
             press(d, Qt::Key_Return);
         },
         "Fis Dur"},
        {"Tab to the scales, arrows, keypad Enter",
         [&](class frmStupnice& d) {
             d.cmdHelp.SetFocus();
             press(d, Qt::Key_Tab);
             ASSERT_EQ(d.Widget()->focusWidget(), d.optStupnice(0).Widget());
             press(d, Qt::Key_Down);
             press(d, Qt::Key_Down);
             press(d, Qt::Key_Enter, Qt::KeypadModifier);
         },
         "D Dur"},
        {"Escape", [&](class frmStupnice& d) {
             d.optStupnice(3).Value = true;
             d.optStupnice(3).SetFocus();
             press(d, Qt::Key_Escape);
         },
         "D Dur"},  // as the close box: the caption stays
    };
    for (const Case& c : cases) {
        ChooseScale(f, c.user);
        EXPECT_EQ(f.cmdStupnice.Caption.get(), c.caption) << c.what;
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

}  // namespace
