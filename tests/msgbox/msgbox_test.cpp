#include <gtest/gtest.h>

#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"

using namespace forms;
using Box = ScriptedMessageBoxes::Box;

TEST(MsgBox, ABoxWithoutItsOwnTitleShowsTheProgramsTitle) {
    ScriptedMessageBoxes boxes;
    MsgBox("Neznámý tón !", vbCritical + vbOKOnly);
    MsgBox("Neočekávaná hodnota !", vbCritical, "druhý znak tónu");
    MsgBox("text");
    const std::vector<Box> expected = {
        {"Neznámý tón !", vbCritical, kProgramTitle},
        {"Neočekávaná hodnota !", vbCritical, "druhý znak tónu"},
        {"text", vbOKOnly, kProgramTitle},
    };
    EXPECT_EQ(boxes.boxes(), expected);
    EXPECT_EQ(boxes.boxes()[0].icon(), vbCritical);
    EXPECT_EQ(boxes.boxes()[0].buttons(), vbOKOnly);
}

TEST(MsgBox, FlagsSplitIntoIconButtonsAndDefaultButton) {
    const int flags = vbQuestion + vbYesNoCancel + vbDefaultButton2;
    EXPECT_EQ(IconOf(flags), vbQuestion);
    EXPECT_EQ(ButtonsOf(flags), vbYesNoCancel);
    EXPECT_EQ(DefaultButtonOf(flags), vbDefaultButton2);
    EXPECT_EQ(IconOf(vbExclamation + vbRetryCancel), vbExclamation);
    EXPECT_EQ(IconOf(vbInformation + vbAbortRetryIgnore), vbInformation);
    EXPECT_EQ(ButtonsOf(vbInformation + vbAbortRetryIgnore), vbAbortRetryIgnore);
}

TEST(MsgBox, ScriptAnswersInOrderThenTheFirstButton) {
    ScriptedMessageBoxes boxes;
    boxes.Answer(vbNo);
    boxes.Answer(vbCancel);
    EXPECT_EQ(MsgBox("a", vbYesNo), vbNo);
    EXPECT_EQ(MsgBox("b", vbOKCancel), vbCancel);
    struct Row { int buttons; int first; };
    for (Row r : {Row{vbOKOnly, vbOK}, Row{vbOKCancel, vbOK}, Row{vbAbortRetryIgnore, vbAbort},
                  Row{vbYesNoCancel, vbYes}, Row{vbYesNo, vbYes}, Row{vbRetryCancel, vbRetry}})
        EXPECT_EQ(MsgBox("c", vbQuestion + r.buttons), r.first) << r.buttons;
    EXPECT_EQ(boxes.TakeBoxes().size(), 8u);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(MsgBox, InputBoxGivesTheTextOrEmptyWhenCancelled) {
    ScriptedMessageBoxes boxes;
    boxes.AnswerInput(std::string("Píseň"));
    boxes.AnswerInput(std::nullopt);
    EXPECT_EQ(InputBox("Název", "Nová píseň"), "Píseň");
    EXPECT_EQ(InputBox("Název"), "");
    EXPECT_EQ(InputBox("Název"), "");  // nothing scripted: cancelled
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[0].title, "Nová píseň");
    EXPECT_EQ(boxes.boxes()[1].title, kProgramTitle);
}

TEST(MsgBox, ADoubleInsideAnotherPutsTheOuterOneBack) {
    MessageBoxService* const before = CurrentMessageBoxService();
    {
        ScriptedMessageBoxes outer;
        {
            ScriptedMessageBoxes inner;
            MsgBox("inner");
            EXPECT_EQ(inner.boxes().size(), 1u);
        }
        MsgBox("outer");
        ASSERT_EQ(outer.boxes().size(), 1u);
        EXPECT_EQ(outer.boxes()[0].prompt, "outer");
    }
    EXPECT_EQ(CurrentMessageBoxService(), before);
}
