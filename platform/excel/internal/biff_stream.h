// Byte-level building blocks of a BIFF8 record stream: a writer that appends
// little-endian values and whole records, and a bounds-checked walk over the
// records of untrusted bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

// Appends little-endian values to a growing byte buffer.
class ByteWriter {
public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void f64(double v);
    void bytes(const std::vector<std::uint8_t>& v) { data_.insert(data_.end(), v.begin(), v.end()); }
    // Characters of a string: one byte each when compressed, else UTF-16LE.
    void chars(const std::u16string& s, bool highByte);
    std::size_t size() const { return data_.size(); }
    const std::vector<std::uint8_t>& data() const { return data_; }
    std::vector<std::uint8_t>& data() { return data_; }

private:
    std::vector<std::uint8_t> data_;
};

// A BIFF record stream: each record is its type, its length and its payload.
class RecordWriter {
public:
    // Appends one record; payloads over the record limit are an error of the caller.
    void record(std::uint16_t type, const ByteWriter& payload);
    // Offset of the next record from the start of the stream.
    std::size_t offset() const { return out_.size(); }
    const std::vector<std::uint8_t>& data() const { return out_.data(); }

private:
    ByteWriter out_;
};

// Text conversions between the model's UTF-8 and the file's UTF-16.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(const std::u16string& s);
// True when every character fits one byte (the file's "compressed" form).
bool FitsLatin1(const std::u16string& s);

// One record of a stream, with the data of its CONTINUE records kept apart
// (string data restarts with a flags byte in each of them).
struct Record {
    std::uint16_t type = 0;
    std::size_t offset = 0;  // stream offset of the record header
    std::vector<std::vector<std::uint8_t>> parts;  // payload, then each CONTINUE payload
    const std::vector<std::uint8_t>& body() const { return parts.front(); }
};

// Walks the records of a stream from a given offset, joining CONTINUE records
// to the record before them. Stops at the end of the bytes or at a broken header.
class RecordReader {
public:
    RecordReader(const std::vector<std::uint8_t>& stream, std::size_t start);
    // The next record, or nothing at the end or when the stream is cut short.
    std::optional<Record> next();
    bool truncated() const { return truncated_; }

private:
    const std::vector<std::uint8_t>& s_;
    std::size_t pos_;
    bool truncated_ = false;
};

}  // namespace xl::internal
