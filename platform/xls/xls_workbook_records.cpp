// Records of the workbook globals substream.
#include <algorithm>

#include "platform/xls/internal/xls_records.h"

namespace xl::internal {

namespace {
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kCodepageUtf16 = 1200;
constexpr std::uint16_t kFontHeightTwips = 200;  // 10 points
constexpr std::uint16_t kFontWeightNormal = 400;
constexpr std::uint16_t kStringsPerBucketMin = 8;
constexpr std::size_t kMaxBuckets = 128;

// Unicode string with a one-byte length, as in FONT and BOUNDSHEET.
void ShortUnicodeString(RecordWriter& w, std::u16string_view s) {
    const bool high = !FitsLatin1(s);
    w.u8(static_cast<std::uint8_t>(s.size()));
    w.u8(high ? 1 : 0);
    w.chars(s, high);
}
}  // namespace

// BOF: opens a substream and names the file format version (BIFF8).
void WriteBof(RecordWriter& w, BofKind kind) {
    w.begin(rec::BOF);
    w.u16(kBiff8);
    w.u16(static_cast<std::uint16_t>(kind));
    w.u16(0x0DBB);  // build
    w.u16(0x07CC);  // year of the build
    w.u32(0x00000041);  // file history flags
    w.u32(0x00000006);  // lowest version that can read all records
    w.end();
}

// EOF: closes a substream.
void WriteEof(RecordWriter& w) { w.record(rec::EOF_); }

// CODEPAGE: strings of the file are UTF-16.
void WriteCodepage(RecordWriter& w) {
    w.begin(rec::CODEPAGE);
    w.u16(kCodepageUtf16);
    w.end();
}

// WINDOW1: the workbook window with its active (shown) sheet tab.
void WriteWindow1(RecordWriter& w, int activeSheet) {
    w.begin(rec::WINDOW1);
    w.u16(0x0168);  // left
    w.u16(0x001E);  // top
    w.u16(0x3A5C);  // width
    w.u16(0x23BE);  // height
    w.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    w.u16(static_cast<std::uint16_t>(activeSheet));
    w.u16(0);       // first visible tab
    w.u16(1);       // number of selected tabs
    w.u16(0x0258);  // width ratio of the tab bar
    w.end();
}

// DATEMODE: serial dates count from 1900 (not 1904).
void WriteDatemode(RecordWriter& w) {
    w.begin(rec::DATEMODE);
    w.u16(0);
    w.end();
}

// FONT: Arial 10 in the given colour (0x7FFF = automatic).
void WriteFont(RecordWriter& w, std::uint16_t colorPaletteIndex) {
    w.begin(rec::FONT);
    w.u16(kFontHeightTwips);
    w.u16(0);  // no italic, strike-out, outline or shadow
    w.u16(colorPaletteIndex);
    w.u16(kFontWeightNormal);
    w.u16(0);  // no super- or subscript
    w.u8(0);   // no underline
    w.u8(0);   // font family
    w.u8(0);   // character set
    w.u8(0);
    ShortUnicodeString(w, u"Arial");
    w.end();
}

// FORMAT: a number format string under its id.
void WriteFormat(RecordWriter& w, std::uint16_t id, const std::string& formatString) {
    const std::u16string s = Utf8ToUtf16(formatString);
    const bool high = !FitsLatin1(s);
    w.begin(rec::FORMAT);
    w.u16(id);
    w.u16(static_cast<std::uint16_t>(s.size()));
    w.u8(high ? 1 : 0);
    w.chars(s, high);
    w.end();
}

namespace {
// XF: the common layout of style and cell formats.
void WriteXf(RecordWriter& w, std::uint16_t font, std::uint16_t format, bool style, std::uint8_t usedAttributes) {
    w.begin(rec::XF);
    w.u16(font);
    w.u16(format);
    // Locked; a style format has no parent (0xFFF), a cell format has the Normal style (0).
    w.u16(style ? 0xFFF5 : 0x0001);
    w.u8(0x20);  // general horizontal, bottom vertical alignment
    w.u8(0);     // no rotation
    w.u8(0);     // no indent
    w.u8(usedAttributes);
    w.u32(0);    // no borders
    w.u32(0);
    w.u16(0x20C0);  // no fill: default foreground 64, background 65
    w.end();
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
    w.begin(rec::STYLE);
    w.u16(0x8000);  // built-in style, format 0
    w.u8(0);        // Normal
    w.u8(0xFF);     // no outline level
    w.end();
}

// BOUNDSHEET: a worksheet's name and where its substream starts.
std::size_t WriteBoundsheet(RecordWriter& w, const std::u16string& name) {
    const std::size_t positionField = w.offset() + 4;
    w.begin(rec::BOUNDSHEET);
    w.u32(0);  // stream position, patched later
    w.u8(0);   // visible
    w.u8(0);   // worksheet
    ShortUnicodeString(w, name);
    w.end();
    return positionField;
}

namespace {
struct BucketStart {
    std::uint32_t streamOffset;
    std::uint16_t recordOffset;
};

// EXTSST: where every n-th string of the table starts, for fast lookup.
void WriteExtsst(RecordWriter& w, std::uint16_t perBucket, const std::vector<BucketStart>& buckets) {
    w.begin(rec::EXTSST);
    w.u16(perBucket);
    for (const auto& bucket : buckets) {
        w.u32(bucket.streamOffset);
        w.u16(bucket.recordOffset);
        w.u16(0);
    }
    w.end();
}
}  // namespace

// SST: the shared strings, going on in CONTINUE records past the record limit;
// a string's characters that spill over restart with their flags byte. Then EXTSST.
void WriteSstAndExtsst(RecordWriter& w, const SharedStrings& sst) {
    const std::size_t count = sst.strings.size();
    const auto perBucket = static_cast<std::uint16_t>(
        std::max<std::size_t>(kStringsPerBucketMin, (count + kMaxBuckets - 1) / kMaxBuckets));
    std::vector<BucketStart> buckets;

    w.begin(rec::SST);
    w.u32(sst.total);
    w.u32(static_cast<std::uint32_t>(count));
    auto room = [&] { return kMaxRecordData - w.payloadSize(); };
    auto goOn = [&] {
        w.end();
        w.begin(rec::CONTINUE);
    };

    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string_view s = sst.strings[i];
        const bool high = !FitsLatin1(s);
        const std::size_t charSize = high ? 2 : 1;
        // The length and flags stay together with at least the first character.
        if (room() < 3 + (s.empty() ? 0 : charSize)) goOn();
        if (i % perBucket == 0)
            buckets.push_back({static_cast<std::uint32_t>(w.offset()), static_cast<std::uint16_t>(4 + w.payloadSize())});
        w.u16(static_cast<std::uint16_t>(s.size()));
        w.u8(high ? 1 : 0);
        std::size_t done = 0;
        while (done < s.size()) {
            if (room() < charSize) {
                goOn();
                w.u8(high ? 1 : 0);
            }
            const std::size_t n = std::min(room() / charSize, s.size() - done);
            w.chars(s.substr(done, n), high);
            done += n;
        }
    }
    w.end();
    WriteExtsst(w, perBucket, buckets);
}

}  // namespace xl::internal
