// The exact bytes of the writer's records for a representative input, field
// by field as the file format lays them out, so that a wrong field is caught
// even where a tolerant reader would not mind it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/xls/internal/xls_records.h"
#include "platform/xls/internal/xls_styles.h"
#include "test_support.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", b);
        out += buf;
    }
    return out;
}

// The bytes of one string run, as hex: `count` times the byte `b`.
std::string Repeated(int count, const char* b) {
    std::string out;
    for (int i = 0; i < count; ++i) out += (i ? " " : "") + std::string(b);
    return out;
}

template <class F>
std::string Written(F&& write) {
    RecordWriter w;
    write(w);
    return Hex(w.data());
}

TEST(XlsRecords, BofOpensAWorksheetSubstreamOfBiff8) {
    EXPECT_EQ(Written([](RecordWriter& w) { WriteBof(w, BofKind::Worksheet); }),
              "09 08 10 00"               // BOF, 16 bytes
              " 00 06 10 00"              // BIFF8, worksheet
              " BB 0D CC 07"              // build and year
              " 41 00 00 00 06 00 00 00"  // file history, lowest version to read it
    );
    EXPECT_EQ(Written([](RecordWriter& w) { WriteBof(w, BofKind::Globals); }).substr(0, 23), "09 08 10 00 00 06 05 00");
}

TEST(XlsRecords, BoundsheetNamesAVisibleWorksheetAndLeavesItsPositionToFill) {
    RecordWriter w;
    w.u8(0xEE);  // something before it in the stream
    EXPECT_EQ(WriteBoundsheet(w, u"List1"), 5u);
    EXPECT_EQ(WriteBoundsheet(w, u"Píseň"), 5u + 13 + 4);  // after the first record
    EXPECT_EQ(Hex(w.data()),
              "EE"
              " 85 00 0D 00 00 00 00 00 00 00 05 00 4C 69 73 74 31"  // 8-bit characters
              " 85 00 12 00 00 00 00 00 00 00 05 01 50 00 ED 00 73 00 65 00 48 01");  // UTF-16: ň is past Latin-1
}

TEST(XlsRecords, SstGoesOnInAContinueRecordWithTheFlagsOfTheSplitString) {
    // A first string fills the record nearly; the second is split.
    struct Case {
        const char* what;
        int firstLength;
        std::u16string second;
        std::string sstHeader;     // its length: what fits
        std::string second1;       // the second string's bytes in the SST record
        std::string continuation;  // the CONTINUE record with the rest
    } cases[] = {
        {"8-bit", 8200, u"bcdefghijklmnopqrstuvwxyz", "FC 00 20 20", "19 00 00 62 63 64 65 66 67 68 69 6A 6B",
         "3C 00 10 00 00 6C 6D 6E 6F 70 71 72 73 74 75 76 77 78 79 7A"},
        // One byte of room is no room for a two-byte character.
        {"UTF-16", 8201, std::u16string(25, u'č'), "FC 00 1F 20", "19 00 01 " + Repeated(4, "0D 01"),
         "3C 00 2B 00 01 " + Repeated(21, "0D 01")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SharedStrings sst;
        sst.strings = {std::u16string(static_cast<std::size_t>(c.firstLength), u'a'), c.second};
        sst.total = 3;
        char length[8];
        std::snprintf(length, sizeof length, "%02X %02X", c.firstLength & 0xFF, c.firstLength >> 8);
        EXPECT_EQ(Written([&](RecordWriter& w) { WriteSstAndExtsst(w, sst); }),
                  c.sstHeader + " 03 00 00 00 02 00 00 00"  // three cells, two strings
                      + " " + length + " 00 " + Repeated(c.firstLength, "61") + " " + c.second1 + " " + c.continuation +
                      " FF 00 0A 00 08 00 0C 00 00 00 0C 00 00 00");  // EXTSST: 8 a bucket, the first at 12
    }
}

TEST(XlsRecords, CellRecordsCountRowsAndColumnsFromZero) {
    EXPECT_EQ(Written([](RecordWriter& w) { WriteLabelSst(w, 3, 2, 15, 0x12345); }),
              "FD 00 0A 00 02 00 01 00 0F 00 45 23 01 00");  // LABELSST: row, column, format, string
    EXPECT_EQ(Written([](RecordWriter& w) { WriteNumber(w, 1, 211, 16, -3.25); }),
              "03 02 0E 00 00 00 D2 00 10 00 00 00 00 00 00 00 0A C0");  // NUMBER: IEEE double
}

TEST(XlsRecords, Window2ShowsGridAndHeadingsFromItsFirstVisibleCell) {
    Sheet sheet;
    sheet.topLeft = {3, 2};
    EXPECT_EQ(Written([&](RecordWriter& w) { WriteWindow2(w, sheet, true); }),
              "3E 02 12 00 B6 06 02 00 01 00 40 00 00 00 00 00 00 00 00 00 00 00");  // selected and shown
    EXPECT_EQ(Written([&](RecordWriter& w) { WriteWindow2(w, sheet, false); }).substr(12, 5), "B6 00");
}

TEST(XlsRecords, SelectionHoldsTheActiveCellAndItsRange) {
    Sheet sheet;
    sheet.activeCell = {12, 2};
    sheet.selection = {{10, 2}, {20, 4}};
    EXPECT_EQ(Written([&](RecordWriter& w) { WriteSelection(w, sheet); }),
              "1D 00 0F 00"     // SELECTION, 15 bytes
              " 03"             // the top-left pane
              " 0B 00 01 00"    // active cell B12
              " 00 00 01 00"    // in the first of one range
              " 09 00 13 00 01 03");  // rows 10-20, columns B-D
}

TEST(XlsRecords, FontCarriesThePaletteIndexOfItsColour) {
    EXPECT_EQ(Written([](RecordWriter& w) { WriteFont(w, PaletteFromColorIndex(3)); }),
              "31 00 15 00"          // FONT, 21 bytes
              " C8 00 00 00"         // 10 points, plain
              " 0A 00"               // red: colour index 3 is palette entry 10
              " 90 01 00 00 00 00 00 00"
              " 05 00 41 72 69 61 6C");  // "Arial"
    EXPECT_EQ(Written([](RecordWriter& w) { WriteFont(w, PaletteFromColorIndex(0)); }).substr(24, 5), "FF 7F");
}

}  // namespace
