// Records of the workbook globals substream.
#include <algorithm>

#include "platform/excel/internal/xls_records.h"

namespace xl::internal {

namespace {
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kCodepageUtf16 = 1200;
constexpr std::uint16_t kFontHeightTwips = 200;  // 10 points
constexpr std::uint16_t kFontWeightNormal = 400;
constexpr std::uint16_t kStringsPerBucketMin = 8;
constexpr std::size_t kMaxBuckets = 128;

// Unicode string with a one-byte length, as in FONT and BOUNDSHEET.
void ShortUnicodeString(ByteWriter& b, const std::u16string& s) {
    const bool high = !FitsLatin1(s);
    b.u8(static_cast<std::uint8_t>(s.size()));
    b.u8(high ? 1 : 0);
    b.chars(s, high);
}
}  // namespace

// BOF: opens a substream and names the file format version (BIFF8).
void WriteBof(RecordWriter& w, BofKind kind) {
    ByteWriter b;
    b.u16(kBiff8);
    b.u16(static_cast<std::uint16_t>(kind));
    b.u16(0x0DBB);  // build
    b.u16(0x07CC);  // year of the build
    b.u32(0x00000041);  // file history flags
    b.u32(0x00000006);  // lowest version that can read all records
    w.record(rec::BOF, b);
}

// EOF: closes a substream.
void WriteEof(RecordWriter& w) { w.record(rec::EOF_, ByteWriter{}); }

// CODEPAGE: strings of the file are UTF-16.
void WriteCodepage(RecordWriter& w) {
    ByteWriter b;
    b.u16(kCodepageUtf16);
    w.record(rec::CODEPAGE, b);
}

// WINDOW1: the workbook window with its active (shown) sheet tab.
void WriteWindow1(RecordWriter& w, int activeSheet) {
    ByteWriter b;
    b.u16(0x0168);  // left
    b.u16(0x001E);  // top
    b.u16(0x3A5C);  // width
    b.u16(0x23BE);  // height
    b.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    b.u16(static_cast<std::uint16_t>(activeSheet));
    b.u16(0);       // first visible tab
    b.u16(1);       // number of selected tabs
    b.u16(0x0258);  // width ratio of the tab bar
    w.record(rec::WINDOW1, b);
}

// DATEMODE: serial dates count from 1900 (not 1904).
void WriteDatemode(RecordWriter& w) {
    ByteWriter b;
    b.u16(0);
    w.record(rec::DATEMODE, b);
}

// FONT: Arial 10 in the given colour (0x7FFF = automatic).
void WriteFont(RecordWriter& w, std::uint16_t colorPaletteIndex) {
    ByteWriter b;
    b.u16(kFontHeightTwips);
    b.u16(0);  // no italic, strike-out, outline or shadow
    b.u16(colorPaletteIndex);
    b.u16(kFontWeightNormal);
    b.u16(0);  // no super- or subscript
    b.u8(0);   // no underline
    b.u8(0);   // font family
    b.u8(0);   // character set
    b.u8(0);
    ShortUnicodeString(b, u"Arial");
    w.record(rec::FONT, b);
}

// FORMAT: a number format string under its id.
void WriteFormat(RecordWriter& w, std::uint16_t id, const std::string& formatString) {
    const std::u16string s = Utf8ToUtf16(formatString);
    const bool high = !FitsLatin1(s);
    ByteWriter b;
    b.u16(id);
    b.u16(static_cast<std::uint16_t>(s.size()));
    b.u8(high ? 1 : 0);
    b.chars(s, high);
    w.record(rec::FORMAT, b);
}

namespace {
// XF: the common layout of style and cell formats.
void WriteXf(RecordWriter& w, std::uint16_t font, std::uint16_t format, bool style, std::uint8_t usedAttributes) {
    ByteWriter b;
    b.u16(font);
    b.u16(format);
    // Locked; a style format has no parent (0xFFF), a cell format has the Normal style (0).
    b.u16(style ? 0xFFF5 : 0x0001);
    b.u8(0x20);  // general horizontal, bottom vertical alignment
    b.u8(0);     // no rotation
    b.u8(0);     // no indent
    b.u8(usedAttributes);
    b.u32(0);    // no borders
    b.u32(0);
    b.u16(0x20C0);  // no fill: default foreground 64, background 65
    w.record(rec::XF, b);
}
}  // namespace

// XF: a style format (the Normal style and the fourteen built-in outline styles).
void WriteStyleXf(RecordWriter& w) { WriteXf(w, 0, 0, true, 0); }

// XF: a cell format with its own font and number format.
void WriteCellXf(RecordWriter& w, std::uint16_t fontIndex, std::uint16_t formatId) {
    // Number format, font, alignment, border, fill and protection are this format's own.
    WriteXf(w, fontIndex, formatId, false, 0xFC);
}

// STYLE: the built-in Normal style on style format 0.
void WriteStyle(RecordWriter& w) {
    ByteWriter b;
    b.u16(0x8000);  // built-in style, format 0
    b.u8(0);        // Normal
    b.u8(0xFF);     // no outline level
    w.record(rec::STYLE, b);
}

// BOUNDSHEET: a worksheet's name and where its substream starts.
std::size_t WriteBoundsheet(RecordWriter& w, const std::u16string& name) {
    const std::size_t positionField = w.offset() + 4;
    ByteWriter b;
    b.u32(0);  // stream position, patched later
    b.u8(0);   // visible
    b.u8(0);   // worksheet
    ShortUnicodeString(b, name);
    w.record(rec::BOUNDSHEET, b);
    return positionField;
}

namespace {
struct BucketStart {
    std::uint32_t streamOffset;
    std::uint16_t recordOffset;
};

// EXTSST: where every n-th string of the table starts, for fast lookup.
void WriteExtsst(RecordWriter& w, std::uint16_t perBucket, const std::vector<BucketStart>& buckets) {
    ByteWriter b;
    b.u16(perBucket);
    for (const auto& bucket : buckets) {
        b.u32(bucket.streamOffset);
        b.u16(bucket.recordOffset);
        b.u16(0);
    }
    w.record(rec::EXTSST, b);
}
}  // namespace

// SST: the shared strings, going on in CONTINUE records past the record limit;
// a string's characters that spill over restart with their flags byte. Then EXTSST.
void WriteSstAndExtsst(RecordWriter& w, const SharedStrings& sst) {
    const std::size_t count = sst.strings.size();
    const auto perBucket = static_cast<std::uint16_t>(
        std::max<std::size_t>(kStringsPerBucketMin, (count + kMaxBuckets - 1) / kMaxBuckets));
    std::vector<BucketStart> buckets;

    ByteWriter cur;
    std::uint16_t curType = rec::SST;
    cur.u32(sst.total);
    cur.u32(static_cast<std::uint32_t>(count));
    auto flush = [&] {
        w.record(curType, cur);
        cur = ByteWriter{};
        curType = rec::CONTINUE;
    };

    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string& s = sst.strings[i];
        const bool high = !FitsLatin1(s);
        const std::size_t charSize = high ? 2 : 1;
        // The length and flags stay together with at least the first character.
        if (cur.size() + 3 + (s.empty() ? 0 : charSize) > kMaxRecordData) flush();
        if (i % perBucket == 0)
            buckets.push_back({static_cast<std::uint32_t>(w.offset() + 4 + cur.size()),
                               static_cast<std::uint16_t>(4 + cur.size())});
        cur.u16(static_cast<std::uint16_t>(s.size()));
        cur.u8(high ? 1 : 0);
        std::size_t done = 0;
        while (done < s.size()) {
            std::size_t room = (kMaxRecordData - cur.size()) / charSize;
            if (room == 0) {
                flush();
                cur.u8(high ? 1 : 0);
                room = (kMaxRecordData - cur.size()) / charSize;
            }
            const std::size_t n = std::min(room, s.size() - done);
            cur.chars(s.substr(done, n), high);
            done += n;
        }
    }
    flush();
    WriteExtsst(w, perBucket, buckets);
}

}  // namespace xl::internal
