// The text tables from which the lookup workbook is generated.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/mkreadonly/sheet_text.h"

namespace {

using xl::internal::Book;
using xl::internal::Cell;
using xl::internal::CellRef;

Book Parse(const std::string& text) {
    std::istringstream in(text);
    return mkreadonly::ParseSheetText(in, "t.tsv");
}

TEST(SheetText, ColumnLetters) {
    EXPECT_EQ(mkreadonly::ColumnNumber("A"), 1);
    EXPECT_EQ(mkreadonly::ColumnNumber("Z"), 26);
    EXPECT_EQ(mkreadonly::ColumnNumber("AA"), 27);
    EXPECT_EQ(mkreadonly::ColumnNumber("BH"), 60);
    EXPECT_EQ(mkreadonly::ColumnNumber("IV"), 256);
    EXPECT_EQ(mkreadonly::ColumnNumber("IW"), 0);
    EXPECT_EQ(mkreadonly::ColumnNumber("a"), 0);
    EXPECT_EQ(mkreadonly::ColumnNumber(""), 0);
    EXPECT_EQ(mkreadonly::ColumnNumber("AAA"), 0);
}

TEST(SheetText, FieldsGoToTheirColumnsRowAfterRow) {
    Book b = Parse(
        "# comment\r\n"
        "[One]\r\n"
        "@columns\tA\tB\tF\r\n"
        "Knoflík\tDiskant\tBas tlak\r\n"
        "\r\n"
        "1\te,\tDes terc.\r\n"
        "-2.5\t\t007\r\n"
        "[Two]\n"
        "@columns\tB\tC..\n"
        "C Dur\t\tc,\td,\n");
    ASSERT_EQ(b.sheets.size(), 2u);
    const auto& one = b.sheets[0].cells;
    EXPECT_EQ(b.sheets[0].name, "One");
    EXPECT_EQ(one.size(), 8u);
    EXPECT_EQ(one.at({1, 1}).text, "Knoflík");
    EXPECT_EQ(one.at({1, 6}).text, "Bas tlak");
    EXPECT_EQ(one.at({2, 1}).kind, Cell::Kind::Number);
    EXPECT_EQ(one.at({2, 1}).number, 1);
    EXPECT_EQ(one.at({2, 2}).kind, Cell::Kind::Text);
    EXPECT_EQ(one.at({2, 2}).text, "e,");
    EXPECT_EQ(one.at({3, 1}).number, -2.5);
    EXPECT_EQ(one.count({3, 2}), 0u) << "an empty field leaves no cell";
    EXPECT_EQ(one.at({3, 6}).number, 7);
    const auto& two = b.sheets[1].cells;
    EXPECT_EQ(b.sheets[1].name, "Two");
    EXPECT_EQ(two.at({1, 2}).text, "C Dur");
    EXPECT_EQ(two.count({1, 3}), 0u);
    EXPECT_EQ(two.at({1, 4}).text, "c,");
    EXPECT_EQ(two.at({1, 5}).text, "d,");
}

TEST(SheetText, TextThatOnlyResemblesANumberStaysText) {
    Book b = Parse("[S]\n@columns\tA\tB\tC\tD\tE\tF\n1.\t.5\t1e3\t+\t 1\t4,\n");
    for (const auto& [ref, cell] : b.sheets[0].cells) {
        EXPECT_EQ(cell.kind, Cell::Kind::Text) << cell.text;
    }
    EXPECT_EQ(b.sheets[0].cells.size(), 6u);
    EXPECT_EQ(Parse("[S]\n@columns\tA\n+3\n").sheets[0].cells.at({1, 1}).number, 3);
}

TEST(SheetText, MistakesNameTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "t.tsv:0: the source holds no sheet"},
        {"x\ty\n", "t.tsv:1: a row before the first sheet"},
        {"[S]\nx\n", "t.tsv:2: a row before @columns"},
        {"@columns\tA\n", "t.tsv:1: @columns before the first sheet"},
        {"[S]\n@columns\n", "t.tsv:2: @columns names no column"},
        {"[S]\n@colums\tA\n", "t.tsv:2: unknown directive \"@colums\""},
        {"[S]\n@columns\tA\ta\n", "t.tsv:2: \"a\" is no column"},
        {"[S]\n@columns\tA..\tB\n", "t.tsv:2: \"A..\" must be the last column"},
        {"[S]\n@columns\tA\tB\n1\t2\t3\n", "t.tsv:3: the row has 3 fields for 2 columns"},
        {"[S]\n@columns\tIV..\n1\t2\n", "t.tsv:3: the row runs past the last column of a sheet"},
        {"[S]\n[S]\n", "t.tsv:2: sheet \"S\" appears twice"},
        {"[S\n", "t.tsv:1: a sheet line reads [Name]"},
        {"[]\n", "t.tsv:1: a sheet line reads [Name]"},
    };
    for (const Case& c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const mkreadonly::SheetTextError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.text;
        }
    }
}

}  // namespace
