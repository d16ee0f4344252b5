// Fingering input: a double-click on a treble label asks for the finger and
// appends one item to Prstoklad; the keyboard writer stores it, reading shows
// it on the labels.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include <optional>
#include <string>
#include <vector>

#include "tests/mainwindow/recording/recording_fixture.h"

namespace {

using namespace recording_test;

const Box kOtazka{"Zadejte číslo prstu, kterým má být mačkán tento knoflík. 1 = palec až 5 = malíček.", -1,
                  "Označení prstokladu"};

class FingeringTest : public RecordingFixture {};

// Answers become items in the order given, of kind "l" or "s" by the label;
// a semicolon in the answer stays; Cancel or nothing typed adds nothing; the
// button itself is not touched.
TEST_F(FingeringTest, AnswersAreAppendedAsItems) {
    Form1& f = StartRecording();
    struct Row {
        bool synchro;
        int n;
        std::optional<std::string> odpoved;
        std::string prstoklad;
    };
    const Row rows[] = {
        {false, 13, "2", "l13;2\\"},
        {true, 20, "4", "l13;2\\s20;4\\"},
        {false, 13, std::nullopt, "l13;2\\s20;4\\"},
        {false, 13, "", "l13;2\\s20;4\\"},
        {false, 13, "1;2", "l13;2\\s20;4\\l13;1;2\\"},
        {false, 1, "5", "l13;2\\s20;4\\l13;1;2\\l1;5\\"},
    };
    for (const Row& r : rows) {
        Boxes().AnswerInput(r.odpoved);
        if (r.synchro) f.lblSynchro(r.n).DblClick();
        else f.lbl(r.n).DblClick();
        EXPECT_EQ(f.Prstoklad, r.prstoklad);
        EXPECT_EQ(TakeBoxes(), std::vector<Box>{kOtazka});
    }
    EXPECT_TRUE(Stisknute(f).empty());
    EXPECT_TRUE(HlavyNaOsnove(f).empty());
}

// An answer the reader could not take back apart is refused with a message:
// one with a backslash, and one that makes its item longer than 255
// characters (counted as characters, not bytes).
TEST_F(FingeringTest, AnswersThatCannotBeReadBackAreRefused) {
    Form1& f = StartRecording();
    // "l13;" and "\" take five characters: 250 more fit.
    const std::string vejde(250, '1');
    std::string ceske;
    for (int i = 0; i < 250; ++i) ceske += "č";
    struct Row {
        std::string odpoved;
        bool prijata;
    };
    const Row rows[] = {{"1\\s20;4", false}, {"\\", false}, {vejde, true}, {vejde + "1", false}, {ceske, true},
                        {ceske + "č", false}};
    std::string ocekavany;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.odpoved.size());
        Boxes().AnswerInput(r.odpoved);
        f.lbl(13).DblClick();
        if (r.prijata) ocekavany += "l13;" + r.odpoved + "\\";
        EXPECT_EQ(f.Prstoklad, ocekavany);
        const auto boxy = TakeBoxes();
        ASSERT_EQ(boxy.size(), r.prijata ? 1u : 2u);
        if (!r.prijata) {
            EXPECT_EQ(boxy[1].title, "Neplatné označení prstu.");
            EXPECT_EQ(boxy[1].flags, forms::vbExclamation);
        }
    }
}

// Written with "> Tlak" and read again: both fingers of one button, the
// latest on top, and the semicolon answer whole, on a second label too.
TEST_F(FingeringTest, WrittenFingeringIsShownWhenTheRowIsRead) {
    Form1& f = StartRecording();
    f.lbl(13).Click();
    f.lbl(20).Click();
    for (const char* odpoved : {"1", "3"}) {
        Boxes().AnswerInput(std::string(odpoved));
        f.lbl(13).DblClick();
    }
    Boxes().AnswerInput(std::string("1;2"));
    f.lblSynchro(20).DblClick();
    f.cmdTlak.Click();
    EXPECT_EQ(Bunka("V1"), "l13;1\\l13;3\\s20;1;2\\");

    ExcelAplikace->Range("B1").Select();
    f.cmdReadTlak_Click();
    EXPECT_EQ(f.lbl(13).Caption.get(), "3\r\n1\r\n");
    EXPECT_EQ(f.lblSynchro(20).Caption.get(), "1;2\r\n");
}

// A real double-click on a label, through the window system: the button is
// pressed once (Click before DblClick), then the finger is asked for.
TEST_F(FingeringTest, ADoubleClickPressesTheButtonOnceThenAsks) {
    Form1& f = StartRecording();
    Boxes().AnswerInput(std::string("2"));
    QWindow* okno = f.Widget()->windowHandle();
    ASSERT_NE(okno, nullptr);
    const QPoint stred = f.lbl(13).Widget()->mapTo(f.Widget()->window(), QPoint(20, 20));
    QTest::mouseDClick(okno, Qt::LeftButton, {}, stred);
    EXPECT_EQ(Stisknute(f), std::vector<int>{13});
    EXPECT_EQ(f.Prstoklad, "l13;2\\");
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{kOtazka});
}

}  // namespace
