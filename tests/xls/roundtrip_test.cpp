// Writing a Book and reading it back gives the same Book; the file's records
// hold what strict readers expect.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sys/stat.h>

#include "platform/xls/xls_io.h"
#include "test_support.h"
#include "tests/support/unprivileged.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

void ExpectSameBook(const Book& expected, const Book& actual) {
    ASSERT_EQ(expected.sheets.size(), actual.sheets.size());
    EXPECT_EQ(expected.activeSheet, actual.activeSheet);
    for (std::size_t i = 0; i < expected.sheets.size(); ++i) {
        const Sheet& e = expected.sheets[i];
        const Sheet& a = actual.sheets[i];
        SCOPED_TRACE("sheet " + e.name);
        EXPECT_EQ(e.name, a.name);
        EXPECT_EQ(e.activeCell, a.activeCell);
        EXPECT_EQ(e.selection, a.selection);
        EXPECT_EQ(e.topLeft, a.topLeft);
        ASSERT_EQ(e.cells.size(), a.cells.size());
        for (const auto& [ref, cell] : e.cells) {
            auto it = a.cells.find(ref);
            ASSERT_NE(it, a.cells.end()) << "row " << ref.row << " col " << ref.col;
            EXPECT_EQ(cell, it->second) << "row " << ref.row << " col " << ref.col << " text " << it->second.text;
        }
    }
}

Book RoundTrip(const Book& book) { return ReadXlsBytes(WriteXlsBytes(book)); }

// A song sheet as the program fills it, with the white creation stamp.
Book SongBook() {
    Book b;
    Sheet s;
    s.name = "Calvira12";
    s.cells[{1, 1}] = Text("Ach synku, synku");
    s.cells[{1, 2}] = Text("cis1,");
    s.cells[{1, 3}] = Text("e1,");
    s.cells[{1, 9}] = Text("Tlak");
    s.cells[{1, 13}] = Text("C");
    s.cells[{1, 23}] = Text("C Dur");
    s.cells[{2, 2}] = Text("dis2,");
    s.cells[{2, 9}] = Text("Tah");
    s.cells[{32341, 211}] = Text("© Belmora – žluťoučký kůň", 2);
    s.cells[{32344, 211}] = Date(45000, true, false, 2);
    s.cells[{32345, 211}] = Date(0.5423611111, false, true, 2);
    s.cells[{32346, 211}] = Text("Belmora", 2);
    s.cells[{32347, 211}] = Number(2, 2);
    s.cells[{32348, 211}] = Number(1, 2);
    s.cells[{32349, 211}] = Number(17, 2);
    s.cells[{32350, 211}] = Text("/home/uživatel/Belmora", 2);
    s.activeCell = {2, 2};
    s.selection = {{2, 2}, {2, 2}};
    b.sheets.push_back(s);
    Sheet empty;
    empty.name = "List2";
    b.sheets.push_back(empty);
    return b;
}

TEST(XlsRoundTrip, SongWithStampAndCursor) {
    const Book book = SongBook();
    ExpectSameBook(book, RoundTrip(book));
}

TEST(XlsRoundTrip, ValuesKindsAndColours) {
    Book b;
    Sheet s;
    s.name = "Hodnoty";
    s.cells[{1, 1}] = Number(-3.25);
    s.cells[{1, 2}] = Number(1e300);
    s.cells[{1, 3}] = Number(0);
    s.cells[{2, 1}] = Date(45123.75, true, true);
    s.cells[{2, 2}] = Date(1, true, false);
    s.cells[{2, 3}] = Date(0.25, false, true, 3);
    Cell yes;
    yes.kind = Cell::Kind::Boolean;
    yes.number = 1;
    s.cells[{3, 1}] = yes;
    Cell err;
    err.kind = Cell::Kind::Error;
    err.number = 7;  // #DIV/0!
    s.cells[{3, 2}] = err;
    Cell colouredEmpty;
    colouredEmpty.colorIndex = 5;
    s.cells[{4, 1}] = colouredEmpty;
    for (int color = 1; color <= 56; ++color) s.cells[{5, color}] = Text("barva", color);
    s.cells[{6, 2}] = Text("Příliš žluťoučký kůň úpěl ďábelské ódy — ЖЗИ 中文 🎹");
    s.activeCell = {6, 2};
    s.selection = {{4, 1}, {7, 3}};
    s.topLeft = {3, 1};
    b.sheets.push_back(s);
    ExpectSameBook(b, RoundTrip(b));
}

TEST(XlsRoundTrip, EmptyTextIsStoredAsAnEmptyCell) {
    Book b;
    Sheet s;
    s.name = "A";
    s.cells[{1, 1}] = Text("");
    s.cells[{1, 2}] = Text("", 2);
    b.sheets.push_back(s);
    const Book back = RoundTrip(b);
    EXPECT_EQ(0u, back.sheets[0].cells.count({1, 1}));
    ASSERT_EQ(1u, back.sheets[0].cells.count({1, 2}));
    EXPECT_EQ(Cell::Kind::Empty, back.sheets[0].cells.at({1, 2}).kind);
    EXPECT_EQ(2, back.sheets[0].cells.at({1, 2}).colorIndex);
}

TEST(XlsRoundTrip, ManySheetsKeepOrderNamesAndActiveSheet) {
    Book b;
    for (int i = 0; i < 40; ++i) {
        Sheet s;
        s.name = "Ladění č. " + std::to_string(i + 1);
        if (i % 3 == 0) s.cells[{i + 1, 2}] = Text("list " + std::to_string(i));
        s.activeCell = {i + 1, 2};
        s.selection = {{i + 1, 2}, {i + 1, 2}};
        b.sheets.push_back(s);
    }
    for (int active : {0, 17, 39}) {
        b.activeSheet = active;
        ExpectSameBook(b, RoundTrip(b));
    }
}

TEST(XlsRoundTrip, LargeStringTableGoesOnInContinueRecords) {
    // Long strings of both widths, so that records split inside strings of both kinds.
    Book b;
    Sheet s;
    s.name = "Dlouhý";
    for (int r = 1; r <= 400; ++r) {
        std::string text = std::to_string(r) + ":";
        const char* piece = (r % 2) ? "abcdefghij" : "čřžýáíéůúě";
        for (int k = 0; k < (r % 37) + 5; ++k) text += piece;
        s.cells[{r, 1}] = Text(text);
        s.cells[{r, 2}] = Text(text);  // repeated: stored once in the table
        s.cells[{r, 3}] = Number(r);
    }
    std::string huge(32767, 'x');
    huge[100] = static_cast<char>(0xC3);
    huge.replace(100, 1, "é");
    huge.resize(32767 + 1);
    s.cells[{401, 1}] = Text(huge.substr(0, 32767 - 1));
    b.sheets.push_back(s);
    const std::string bytes = WriteXlsBytes(b);
    ASSERT_GT(bytes.size(), 3u * 8224u);
    ExpectSameBook(b, ReadXlsBytes(bytes));
}

// A book read from a file shares each string among its cells; every save
// numbers the strings afresh, whatever an earlier save of it numbered.
TEST(XlsRoundTrip, ABookReadAndSavedTwiceKeepsEachCellsText) {
    Book b;
    Sheet s;
    s.name = "Sdílené";
    for (int r = 1; r <= 30; ++r) {
        s.cells[{r, 1}] = Text(r % 3 ? "Tlak" : "Tah");
        s.cells[{r, 2}] = Text("řádek " + std::to_string(r % 7));
    }
    b.sheets.push_back(s);
    Book read = RoundTrip(b);
    ExpectSameBook(b, RoundTrip(read));
    // Another order of first use: the numbers of the save before would point wrong.
    for (Book* book : {&b, &read}) {
        book->sheets[0].cells[{1, 1}] = Text("nový");
        book->sheets[0].cells.erase(CellRef{1, 2});
    }
    ExpectSameBook(b, RoundTrip(read));
    ExpectSameBook(b, RoundTrip(b));
}

TEST(XlsRoundTrip, FileIsReplacedOnlyWhenTheSaveSucceeds) {
    TempDir dir;
    const std::string path = dir.file("píseň.xls");
    Book first = SongBook();
    WriteXlsFile(first, path);
    ExpectSameBook(first, ReadXlsFile(path));

    Book second = first;
    second.sheets[0].cells[{3, 2}] = Text("fis1,");
    WriteXlsFile(second, path);
    ExpectSameBook(second, ReadXlsFile(path));

    // A failing save (a cell off the sheet) keeps the previous file and leaves no temporary file.
    Book bad = second;
    bad.sheets[0].cells[{70000, 1}] = Text("mimo");
    EXPECT_THROW(WriteXlsFile(bad, path), XlsError);
    ExpectSameBook(second, ReadXlsFile(path));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator{}));
}

TEST(XlsRoundTrip, SaveIntoReadOnlyFolderFailsAndKeepsTheFile) {
    TempDir dir;
    testsupport::AsUnprivilegedUser({dir.path()}, [&] {
        const std::string path = dir.file("a.xls");
        WriteXlsFile(SongBook(), path);
        chmod(dir.path().c_str(), 0555);
        Book changed = SongBook();
        changed.sheets[0].name = "Jiný";
        EXPECT_THROW(WriteXlsFile(changed, path), XlsError);
        chmod(dir.path().c_str(), 0755);
        EXPECT_EQ("Calvira12", ReadXlsFile(path).sheets[0].name);
    });
}

TEST(XlsRoundTrip, MissingFolderOrBadBookIsAnError) {
    TempDir dir;
    EXPECT_THROW(WriteXlsFile(SongBook(), dir.file("není/tu.xls")), XlsError);
    EXPECT_THROW(WriteXlsFile(Book{}, dir.file("prázdný.xls")), XlsError);
    Book b = SongBook();
    b.sheets[0].cells[{1, 257}] = Text("x");
    EXPECT_THROW(WriteXlsBytes(b), XlsError);
    b = SongBook();
    b.sheets[0].cells[{1, 1}] = Text(std::string(32768, 'a'));
    EXPECT_THROW(WriteXlsBytes(b), XlsError);
}

TEST(XlsRoundTrip, WindowStateOffTheSheetIsKeptInsideIt) {
    Book b = SongBook();
    b.activeSheet = 7;
    b.sheets[0].activeCell = {0, 300};
    b.sheets[0].selection = {{5, 5}, {2, 2}};
    const Book back = RoundTrip(b);
    EXPECT_EQ(1, back.activeSheet);
    EXPECT_EQ((CellRef{1, 256}), back.sheets[0].activeCell);
    EXPECT_EQ((Rect{{2, 2}, {5, 5}}), back.sheets[0].selection);
}

// The records that strict readers insist on.
struct RecordCounts {
    std::map<std::uint16_t, int> count;
    std::vector<std::uint32_t> sheetOffsets;
};

TEST(XlsRoundTrip, WritesTheRecordsStrictReadersRequire) {
    // The Workbook stream is found by its BOF signature inside the compound file.
    const std::string bytes = WriteXlsBytes(SongBook());
    const std::string bof("\x09\x08\x10\x00\x00\x06\x05\x00", 8);
    const auto start = bytes.find(bof);
    ASSERT_NE(start, std::string::npos);
    std::map<std::uint16_t, int> count;
    std::vector<std::uint32_t> boundsheetOffsets;
    std::vector<std::size_t> sheetBofs;
    std::uint16_t codepage = 0;
    std::size_t pos = start;
    int eofs = 0;
    while (pos + 4 <= bytes.size() && eofs < 3) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
        const std::uint16_t type = static_cast<std::uint16_t>(p[0] | p[1] << 8);
        const std::uint16_t len = static_cast<std::uint16_t>(p[2] | p[3] << 8);
        ++count[type];
        if (type == 0x0085) boundsheetOffsets.push_back(p[4] | p[5] << 8 | p[6] << 16 | static_cast<std::uint32_t>(p[7]) << 24);
        if (type == 0x0809 && pos != start) sheetBofs.push_back(pos - start);
        if (type == 0x0042) codepage = static_cast<std::uint16_t>(p[4] | p[5] << 8);
        if (type == 0x000A) ++eofs;
        pos += 4 + len;
    }
    EXPECT_EQ(1200, codepage);
    EXPECT_GE(count[0x0031], 5);   // FONT: four standard ones and the white one
    EXPECT_GE(count[0x00E0], 16);  // XF
    EXPECT_EQ(1, count[0x0293]);   // STYLE
    EXPECT_EQ(1, count[0x003D]);   // WINDOW1
    EXPECT_EQ(2, count[0x023E]);   // WINDOW2
    EXPECT_EQ(2, count[0x0200]);   // DIMENSIONS
    EXPECT_EQ(2, count[0x001D]);   // SELECTION
    EXPECT_EQ(1, count[0x00FC]);   // SST
    EXPECT_EQ(1, count[0x00FF]);   // EXTSST
    EXPECT_EQ(3, eofs);
    EXPECT_EQ(std::vector<std::uint32_t>(sheetBofs.begin(), sheetBofs.end()), boundsheetOffsets);
}

}  // namespace
