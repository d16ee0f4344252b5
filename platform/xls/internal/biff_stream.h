// Byte-level building blocks of a BIFF8 record stream: a writer that appends
// records with little-endian values to one buffer, and a bounds-checked walk
// over the records of untrusted bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xl::internal {

// The largest payload of one BIFF8 record; longer data goes on in CONTINUE records.
inline constexpr std::size_t kMaxRecordData = 8224;

namespace rec {
inline constexpr std::uint16_t FORMULA = 0x0006;
inline constexpr std::uint16_t EOF_ = 0x000A;
inline constexpr std::uint16_t SELECTION = 0x001D;
inline constexpr std::uint16_t DATEMODE = 0x0022;
inline constexpr std::uint16_t FONT = 0x0031;
inline constexpr std::uint16_t CONTINUE = 0x003C;
inline constexpr std::uint16_t WINDOW1 = 0x003D;
inline constexpr std::uint16_t PANE = 0x0041;
inline constexpr std::uint16_t CODEPAGE = 0x0042;
inline constexpr std::uint16_t BOUNDSHEET = 0x0085;
inline constexpr std::uint16_t MULRK = 0x00BD;
inline constexpr std::uint16_t MULBLANK = 0x00BE;
inline constexpr std::uint16_t XF = 0x00E0;
inline constexpr std::uint16_t SST = 0x00FC;
inline constexpr std::uint16_t LABELSST = 0x00FD;
inline constexpr std::uint16_t EXTSST = 0x00FF;
inline constexpr std::uint16_t BLANK = 0x0201;
inline constexpr std::uint16_t NUMBER = 0x0203;
inline constexpr std::uint16_t LABEL = 0x0204;
inline constexpr std::uint16_t BOOLERR = 0x0205;
inline constexpr std::uint16_t STRING = 0x0207;
inline constexpr std::uint16_t DIMENSIONS = 0x0200;
inline constexpr std::uint16_t STYLE = 0x0293;
inline constexpr std::uint16_t WINDOW2 = 0x023E;
inline constexpr std::uint16_t RK = 0x027E;
inline constexpr std::uint16_t FORMAT = 0x041E;
inline constexpr std::uint16_t BOF = 0x0809;
}  // namespace rec

// A BIFF record stream in one growing buffer: each record is its type, its
// length and its payload. A record is begun, its payload appended, and ended,
// which fills in its length.
class RecordWriter {
public:
    void begin(std::uint16_t type);
    // Ends the record begun last; a payload over the record limit is an error of the caller.
    void end();
    // A whole record of a payload already at hand.
    void record(std::uint16_t type, std::span<const std::uint8_t> payload = {});

    void u8(std::uint8_t v) { *grow(1) = v; }
    void u16(std::uint16_t v) {
        std::uint8_t* p = grow(2);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::uint32_t v) {
        std::uint8_t* p = grow(4);
        for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void f64(double v);
    void bytes(std::span<const std::uint8_t> v);
    // Characters of a string: one byte each when compressed, else UTF-16LE.
    void chars(std::u16string_view s, bool highByte);
    // Overwrites four bytes written before (a field filled in later).
    void u32At(std::size_t offset, std::uint32_t v);

    // Bytes of the record begun last, so far.
    std::size_t payloadSize() const { return size_ - recordStart_ - 4; }
    // Offset of the next byte from the start of the stream.
    std::size_t offset() const { return size_; }
    std::span<const std::uint8_t> data() const { return {buf_.data(), size_}; }

private:
    std::uint8_t* grow(std::size_t n) {
        if (buf_.size() - size_ < n) buf_.resize(std::max(buf_.size() * 2, size_ + n + 4096));
        std::uint8_t* p = buf_.data() + size_;
        size_ += n;
        return p;
    }
    std::vector<std::uint8_t> buf_;  // its size is the room; size_ bytes are written
    std::size_t size_ = 0;
    std::size_t recordStart_ = 0;
};

// Text conversions between the model's UTF-8 and the file's UTF-16.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// True when every character fits one byte (the file's "compressed" form).
bool FitsLatin1(std::u16string_view s);

// One record of a stream, with the data of its CONTINUE records kept apart
// (string data restarts with a flags byte in each of them). The parts are
// views into the stream.
struct Record {
    std::uint16_t type = 0;
    std::size_t offset = 0;  // stream offset of the record header
    std::vector<std::span<const std::uint8_t>> parts;  // payload, then each CONTINUE payload
    std::span<const std::uint8_t> body() const { return parts.front(); }
};

// Walks the records of a stream from a given offset, joining CONTINUE records
// to the record before them. Stops at the end of the bytes or at a broken header.
class RecordReader {
public:
    RecordReader(std::span<const std::uint8_t> stream, std::size_t start) : s_(stream), pos_(start) {}
    // Reads the next record into `r` (reusing its room); false at the end or
    // when the stream is cut short.
    bool next(Record& r);
    bool truncated() const { return truncated_; }
    // The offset just past the last record read.
    std::size_t position() const { return pos_; }

private:
    std::span<const std::uint8_t> s_;
    std::size_t pos_;
    bool truncated_ = false;
};

}  // namespace xl::internal
