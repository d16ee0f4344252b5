// The reader on files no spreadsheet writes: records out of order, strings
// shared by many cells, sheet entries that point into one stream, files far
// too large for a song. What a file makes the reader spend is bounded by the
// file, not by what it claims.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include "crafted.h"
#include "platform/xls/xls_io.h"
#include "test_support.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

// The bytes the heap holds now (allocated and still in use).
std::size_t HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

std::string ErrorOf(const std::string& bytes) {
    try {
        ReadXlsBytes(bytes);
    } catch (const XlsError& e) {
        return e.what();
    }
    return "";
}

TEST(XlsReader, CellsOfOneSharedStringHoldOneText) {
    crafted::Workbook wb;
    wb.strings = {u"Ach synku", u"synku"};
    wb.sheets.push_back([](RecordWriter& w) {
        for (int row = 1; row <= 3; ++row) WriteLabelSst(w, row, 2, 0, 0);
        WriteLabelSst(w, 4, 2, 0, 1);
    });
    const Book book = ReadXlsBytes(crafted::Bytes(wb));
    const CellStore& cells = book.sheets.at(0).cells;
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells.at({1, 2}).text, "Ach synku");
    EXPECT_TRUE(cells.at({1, 2}).text.SharesWith(cells.at({2, 2}).text));
    EXPECT_TRUE(cells.at({1, 2}).text.SharesWith(cells.at({3, 2}).text));
    EXPECT_EQ(cells.at({4, 2}).text, "synku");
}

TEST(XlsReader, RecordsOutOfRowOrderArePutInPlaceAndTheLastForACellHolds) {
    crafted::Workbook wb;
    wb.sheets.push_back([](RecordWriter& w) {
        WriteNumber(w, 5, 1, 0, 5);
        WriteNumber(w, 2, 1, 0, 2);   // before the cell above
        WriteNumber(w, 7, 1, 0, 7);
        WriteBlank(w, 7, 1, 0);       // an empty record for the same cell clears it
        WriteNumber(w, 5, 1, 0, 50);  // again, later
        WriteNumber(w, 3, 3, 0, 3);
        WriteBlank(w, 3, 3, 0);
        WriteNumber(w, 1, 256, 0, 1);
        WriteNumber(w, 4, 2, 0, 4);
        WriteNumber(w, 4, 2, 0, 40);
    });
    const Book book = ReadXlsBytes(crafted::Bytes(wb));
    std::vector<std::pair<CellRef, double>> got;
    for (const auto& [ref, cell] : book.sheets.at(0).cells) got.push_back({ref, cell.number});
    EXPECT_EQ(got, (std::vector<std::pair<CellRef, double>>{{{1, 256}, 1}, {{2, 1}, 2}, {{4, 2}, 40}, {{5, 1}, 50}}));
}

TEST(XlsReader, SheetEntriesInAnotherOrderThanTheirStreamsAreRead) {
    crafted::Workbook wb;
    wb.sheets.push_back([](RecordWriter& w) { WriteNumber(w, 1, 1, 0, 1); });
    wb.sheets.push_back([](RecordWriter& w) { WriteNumber(w, 1, 1, 0, 2); });
    wb.entries = {{u"Druhý", 1, 0}, {u"První", 0, 0}};
    const Book book = ReadXlsBytes(crafted::Bytes(wb));
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, "Druhý");
    EXPECT_EQ(book.sheets[0].cells.at({1, 1}).number, 2);
    EXPECT_EQ(book.sheets[1].name, "První");
    EXPECT_EQ(book.sheets[1].cells.at({1, 1}).number, 1);
}

// Entries that point into one stream would have its records read again for
// each of them: thousands of entries, thousands of times.
TEST(XlsHostile, SheetEntriesThatShareAStreamAreDamage) {
    crafted::Workbook wb;
    wb.sheets.push_back([](RecordWriter& w) {
        for (int row = 1; row <= 10; ++row) WriteNumber(w, row, 1, 0, row);
    });
    const std::size_t bofSize = 4 + 16;
    const std::vector<crafted::Workbook::Entry> cases[] = {
        {{u"A", 0, 0}, {u"B", 0, 0}},                   // two entries, one stream
        {{u"A", 0, 0}, {u"B", 0, bofSize}},             // the second inside the first
        {{u"B", 0, bofSize + 18 * 4}, {u"A", 0, 0}},    // listed the other way round
    };
    for (const auto& entries : cases) {
        wb.entries = entries;
        EXPECT_EQ(ErrorOf(crafted::Bytes(wb)), "Soubor je poškozený a nelze ho načíst.");
    }
}

TEST(XlsHostile, AStringSharedByManyCellsIsHeldOnce) {
    // Under 1 MB of file: 60,000 cells showing one string of 8,000 characters.
    crafted::Workbook wb;
    wb.strings = {std::u16string(8000, u'ž')};
    wb.sheets.push_back([](RecordWriter& w) {
        for (int row = 1; row <= 60000; ++row) WriteLabelSst(w, row, 1, 0, 0);
    });
    const std::string bytes = crafted::Bytes(wb);
    ASSERT_LT(bytes.size(), 1024u * 1024u);
    const std::size_t before = HeapInUse();
    const Book book = ReadXlsBytes(bytes);
    const std::size_t grown = HeapInUse() - before;
    EXPECT_EQ(book.sheets.at(0).cells.size(), 60000u);
    EXPECT_EQ(book.sheets[0].cells.at({60000, 1}).text.size(), 16000u);
    EXPECT_LT(grown, 32u * 1024 * 1024) << "the text was copied per cell";
}

TEST(XlsHostile, AFileLargerThan64MBIsRefusedUnread) {
    TempDir dir;
    const std::string path = dir.file("obří.xls");
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxFileSize) + 1), 0);  // sparse: costs no disk
    ::close(fd);
    const std::size_t before = HeapInUse();
    try {
        ReadXlsFile(path);
        ADD_FAILURE() << "read";
    } catch (const XlsError& e) {
        EXPECT_EQ(std::string(e.what()), "Soubor „" + path + "“ je větší než 64 MB a nelze ho otevřít.");
    }
    EXPECT_LT(HeapInUse() - before, 1024u * 1024u);
    // At the limit itself the file is read (and found to be no workbook).
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxFileSize)), 0);
    EXPECT_THROW(
        try { ReadXlsFile(path); } catch (const XlsError& e) {
            EXPECT_EQ(std::string(e.what()), "Soubor „" + path + "“ není platný sešit aplikace Excel 97.");
            throw;
        },
        XlsError);
}

}  // namespace
