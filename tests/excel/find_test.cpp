// Find as the lookups and the last-grip command use it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/excel/application.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/excel_env.h"

using namespace xl;
using excel_test::ErrorOf;

namespace {

class FindTest : public ::testing::Test {
protected:
    excel_test::TempEnv env;
    std::shared_ptr<Application> app = CreateExcelApplication();
    void SetUp() override { app->Workbooks().Add(); }

    void Column(const std::string& col, const std::vector<vb::Variant>& values, int firstRow = 1) {
        for (std::size_t i = 0; i < values.size(); ++i)
            app->Range(col + std::to_string(firstRow + static_cast<int>(i))).Value(values[i]);
    }
    // Selects the range and searches it as the program does: after the active
    // cell, formulas, by rows, next, without regard to case.
    Range FindIn(const std::string& area, const vb::Variant& what, int lookAt = xlPart, bool matchCase = false) {
        app->Range(area).Select();
        return app->Selection().Find({.What = what, .After = app->ActiveCell(), .LookIn = xlFormulas, .LookAt = lookAt,
                                      .SearchOrder = xlByRows, .SearchDirection = xlNext, .MatchCase = matchCase});
    }
    // Further searches continue after the cell found before.
    Range FindNext(const vb::Variant& what) {
        return app->Selection().Find({.What = what, .After = app->ActiveCell(), .LookIn = xlFormulas, .LookAt = xlPart,
                                      .SearchOrder = xlByRows, .SearchDirection = xlNext, .MatchCase = false});
    }
};

TEST_F(FindTest, PartMatchStopsAtCellsThatContainTheKeyWholeMatchDoesNot) {
    Column("B", {"c,", "des1,", "cis1,", "es1,", "f,"});
    struct Case {
        int lookAt;
        const char* expected;
    } cases[] = {{xlPart, "$B$2"}, {xlWhole, "$B$4"}};
    for (const auto& c : cases) {
        Range found = FindIn("B1:B5", "es1,", c.lookAt);
        ASSERT_FALSE(found.IsNothing());
        EXPECT_EQ(found.Address(), c.expected) << "LookAt " << c.lookAt;
    }
}

TEST_F(FindTest, NumbersMatchByTheirDisplayedText) {
    // Row 1 holds a heading, button b sits in row b + 1 as a number.
    app->Range("A1").Value("Knoflík");
    for (int b = 1; b <= 40; ++b) app->Range("A" + std::to_string(b + 1)).Value(double(b));
    Range found = FindIn("A1:A41", std::int32_t{4});
    std::vector<int> hits;
    for (int i = 0; i < 6 && !found.IsNothing(); ++i) {
        hits.push_back(static_cast<int>(found.Value().AsDouble()));
        found.Activate();
        found = FindNext(std::int32_t{4});
    }
    EXPECT_EQ(hits, (std::vector<int>{4, 14, 24, 34, 40, 4}));
}

TEST_F(FindTest, SearchStartsAfterTheFirstCellAndComesRoundToItLast) {
    Column("B", {"cis1,", "d1,", "e1,", "f1,"});
    Range found = FindIn("B1:B4", "cis1,");
    ASSERT_FALSE(found.IsNothing());
    EXPECT_EQ(found.Address(), "$B$1");
    // With a second candidate below, that one comes first.
    app->Range("B3").Value("xcis1,");
    EXPECT_EQ(FindIn("B1:B4", "cis1,").Address(), "$B$3");
}

TEST_F(FindTest, LetterCaseMattersOnlyWithMatchCase) {
    Column("B", {"x", "Es Dur", "Dés", "ÚSTÍ"});
    EXPECT_EQ(FindIn("B1:B4", "es dur").Address(), "$B$2");
    EXPECT_TRUE(FindIn("B1:B4", "es dur", xlPart, true).IsNothing());
    EXPECT_EQ(FindIn("B1:B4", "dÉs", xlWhole).Address(), "$B$3");  // beyond ASCII too
    EXPECT_EQ(FindIn("B1:B4", "ústí", xlWhole).Address(), "$B$4");
}

TEST_F(FindTest, EmptyWhatFindsTheNextEmptyCell) {
    for (int r = 1; r <= 10; ++r) app->Range("B" + std::to_string(r)).Value("c,");
    EXPECT_EQ(FindIn("B1:B500", "").Address(), "$B$11");
    // A range without an empty cell gives Nothing.
    EXPECT_TRUE(FindIn("B1:B10", "").IsNothing());
    // A cell emptied later is found, though it was searched before.
    app->Range("B6").ClearContents();
    EXPECT_EQ(FindIn("B1:B500", "").Address(), "$B$6");
}

TEST_F(FindTest, ValuesWrittenAfterASearchAreFound) {
    Column("F", {"C", "G", "D"});
    EXPECT_TRUE(FindIn("F1:F121", "Fis", xlWhole).IsNothing());
    app->Range("F50").Value("Fis");
    EXPECT_EQ(FindIn("F1:F121", "Fis", xlWhole).Address(), "$F$50");
    app->Range("F50").Value("A");
    EXPECT_TRUE(FindIn("F1:F121", "Fis", xlWhole).IsNothing());
    // Changes to many cells at once as well.
    app->Range("F1:F121").Value("Fis");
    EXPECT_EQ(FindIn("F1:F121", "Fis", xlWhole).Address(), "$F$2");
    app->Range("F1:F200").ClearContents();
    EXPECT_TRUE(FindIn("F1:F121", "Fis").IsNothing());
}

// A search reads only the rows of its range; one over other rows, or after a
// change there, sees the cells as they are.
TEST_F(FindTest, SearchesOverOtherRowsSeeTheCellsThere) {
    auto found = [&](const std::string& area, const std::string& what) {
        const Range r = FindIn(area, what);
        return r.IsNothing() ? std::string("nic") : r.Address();
    };
    Column("B", {"c,", "d,", "e,"});
    app->Range("B600").Value("fis2,");
    EXPECT_EQ(found("B1:B500", "fis2,"), "nic");
    EXPECT_EQ(found("B1:B900", "fis2,"), "$B$600");
    EXPECT_EQ(found("B1:B500", "fis2,"), "nic");
    // Changes inside and outside the rows searched last.
    app->Range("B600").Value("gis2,");
    app->Range("B950").Value("fis2,");
    EXPECT_EQ(found("B1:B900", "gis2,"), "$B$600");
    EXPECT_EQ(found("B1:B900", "fis2,"), "nic");
    EXPECT_EQ(found("B1:B1000", "fis2,"), "$B$950");
    EXPECT_EQ(found("B900:B960", ""), "$B$901");
    app->Range("B901:B949").Value("x");
    app->Range("B951:B960").Value("x");
    EXPECT_EQ(found("B900:B960", ""), "$B$900");
    EXPECT_EQ(found("B940:B1000", "fis2,"), "$B$950");
}

TEST_F(FindTest, NothingFoundRaises91OnUse) {
    Column("B", {"c,", "d,"});
    Range found = FindIn("B1:B2", "h0,");
    ASSERT_TRUE(found.IsNothing());
    EXPECT_EQ(ErrorOf([&] { found.Activate(); }), 91);
    EXPECT_EQ(ErrorOf([&] { found.Value(); }), 91);
    EXPECT_EQ(ErrorOf([&] { found.Offset(0, -1); }), 91);
    EXPECT_EQ(ErrorOf([&] { found.Font().ColorIndex(); }), 91);
    EXPECT_EQ(ErrorOf([&] { Worksheet().Name(); }), 91);
}

TEST_F(FindTest, OrderAndDirectionOverARectangle) {
    // C1:BH1-like row search and the other orders over a 2x2 block.
    app->Range("C1").Value("a1");
    app->Range("D1").Value("a2");
    app->Range("C2").Value("a3");
    app->Range("D2").Value("a4");
    app->Range("C1:D2").Select();
    auto find = [&](int order, int direction) {
        return app->Selection()
            .Find({.What = "a", .After = app->Range("C1"), .SearchOrder = order, .SearchDirection = direction})
            .Address();
    };
    EXPECT_EQ(find(xlByRows, xlNext), "$D$1");
    EXPECT_EQ(find(xlByColumns, xlNext), "$C$2");
    EXPECT_EQ(find(xlByRows, xlPrevious), "$D$2");
    EXPECT_EQ(find(xlByColumns, xlPrevious), "$D$2");
    EXPECT_EQ(ErrorOf([&] { app->Selection().Find({.What = "a", .After = app->Range("Z9")}); }), 1004);
}

}  // namespace
