// The lookup in the lookup workbook: whole-value matches only, searched on
// from each hit, on the real read_only.xls and on small tables of our own.
#include <gtest/gtest.h>

#include <string>

#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "store/lookup.h"
#include "tests/support/store_fixture.h"

namespace {

using store_test::StoreFixture;

class LookupTest : public StoreFixture {
protected:
    // A workbook standing in for the lookup workbook, with `values` in A1 down.
    void OwnTable(const std::vector<vb::Variant>& values) {
        xl::Workbook book = ExcelAplikace->Workbooks().Add();
        NazevReadOnly = book.Name();
        for (std::size_t i = 0; i < values.size(); ++i)
            ExcelAplikace->Range("A" + std::to_string(i + 1)).Value(values[i]);
    }
};

TEST_F(LookupTest, RealTablesGiveTheRowOfTheWholeKey) {
    Start();
    const std::string song = OpenNewSong("Pisen.xls");

    struct Case {
        const char* sheet;
        const char* range;
        vb::Variant key;
        int column;        // of the cell to read in the found row
        vb::Variant want;  // that cell's value
    };
    // Button 4 and not 14, 24 or 34; "Es Dur" and not "Des Dur", "Ges Dur" or
    // "Ces Dur"; a name that only a longer name contains in an earlier row.
    const Case cases[] = {
        {"Calvira12", "A1:A41", std::int16_t{4}, 1, std::int16_t{4}},
        {"Calvira12", "A40:A121", std::int16_t{44}, 1, std::int16_t{44}},
        {"Transpozice", "B1:B17", "Es Dur", 2, "Es Dur"},
        {"Calvira12", "B1:B51", "e1,", 1, std::int16_t{13}},
        {"Calvira12", "F1:F121", "Es terc.", 1, std::int16_t{3}},  // "Des terc." comes first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.range) + " " + vb::CStr(c.key));
        ExcelAplikace->Windows(NazevReadOnly).Activate();
        ExcelAplikace->Sheets(c.sheet).Select();
        ExcelAplikace->Windows(song).Activate();

        const xl::Range found = NajdiVReadOnly(c.range, c.key);

        ASSERT_FALSE(found.IsNothing());
        EXPECT_TRUE(vb::Equals(found.Value(), c.key));
        EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), NazevReadOnly);
        EXPECT_EQ(ExcelAplikace->ActiveCell(), found);
        EXPECT_TRUE(vb::Equals(ExcelAplikace->ActiveSheet().Range(
                                   std::string(1, static_cast<char>('A' + c.column - 1)) + std::to_string(found.Row()))
                                   .Value(),
                               c.want));
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(LookupTest, FirstCellOfTheRangeIsFoundLast) {
    Start();
    OwnTable({"c1,", "cis1,", "x", "c1,"});

    // The search starts after A1, so the later c1, comes first ...
    EXPECT_EQ(NajdiVReadOnly("A1:A4", "c1,").Address(), "$A$4");
    // ... and A1 is reached after the rest.
    EXPECT_EQ(NajdiVReadOnly("A1:A3", "c1,").Address(), "$A$1");
}

TEST_F(LookupTest, CaseAndNumbersCountForTheWholeValue) {
    Start();
    OwnTable({"hlavička", "C Dur", "c dur", 4.0, "4"});

    EXPECT_EQ(NajdiVReadOnly("A1:A5", "c dur").Address(), "$A$3");
    EXPECT_EQ(NajdiVReadOnly("A1:A5", "C Dur").Address(), "$A$2");
    EXPECT_EQ(NajdiVReadOnly("A1:A5", std::int16_t{4}).Address(), "$A$4");
    EXPECT_EQ(NajdiVReadOnly("A1:A5", "4").Address(), "$A$5");
}

TEST_F(LookupTest, KeyOnlyInsideLongerValuesGivesNothingWithoutEndlessSearch) {
    Start();
    OwnTable({"des1,", "x", "ges1,", "ces1,"});

    EXPECT_TRUE(NajdiVReadOnly("A1:A4", "es1,").IsNothing());
    // With a limit, as many searches as the reader allows.
    EXPECT_TRUE(NajdiVReadOnly("A1:A4", "es1,", 2).IsNothing());
    EXPECT_EQ(ExcelAplikace->ActiveCell().Address(), "$A$4");  // the second hit
}

TEST_F(LookupTest, MissingKeyAndClosedLookupWindowRaise) {
    Start();
    OwnTable({"a,", "b,"});
    try {
        NajdiVReadOnly("A1:A2", "h,");
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::ObjectNotSet);
    }

    ExcelAplikace->ActiveWorkbook().Close(false);
    try {
        NajdiVReadOnly("A1:A2", "a,");
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
    }
}

}  // namespace
