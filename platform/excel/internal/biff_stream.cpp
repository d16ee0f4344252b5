#include "platform/excel/internal/biff_stream.h"

#include <bit>
#include <stdexcept>

namespace xl::internal {

void ByteWriter::u16(std::uint16_t v) {
    data_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v & 0xFFFF));
    u16(static_cast<std::uint16_t>(v >> 16));
}

void ByteWriter::f64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    u32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void ByteWriter::chars(const std::u16string& s, bool highByte) {
    for (char16_t c : s) {
        if (highByte)
            u16(static_cast<std::uint16_t>(c));
        else
            u8(static_cast<std::uint8_t>(c));
    }
}

void RecordWriter::record(std::uint16_t type, const ByteWriter& payload) {
    if (payload.size() > kMaxRecordData)
        throw std::logic_error("BIFF record longer than the record limit");
    out_.u16(type);
    out_.u16(static_cast<std::uint16_t>(payload.size()));
    out_.bytes(payload.data());
}

std::u16string Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
            len = 4;
        }
        i += len;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate half
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool FitsLatin1(const std::u16string& s) {
    for (char16_t c : s)
        if (c > 0xFF) return false;
    return true;
}

RecordReader::RecordReader(const std::vector<std::uint8_t>& stream, std::size_t start)
    : s_(stream), pos_(start) {}

std::optional<Record> RecordReader::next() {
    auto header = [&](std::size_t at, std::uint16_t& type, std::size_t& len) {
        if (at > s_.size() || s_.size() - at < 4) return false;
        type = static_cast<std::uint16_t>(s_[at] | (s_[at + 1] << 8));
        len = static_cast<std::size_t>(s_[at + 2] | (s_[at + 3] << 8));
        return s_.size() - at - 4 >= len;
    };
    std::uint16_t type = 0;
    std::size_t len = 0;
    if (pos_ >= s_.size()) return std::nullopt;
    if (!header(pos_, type, len)) {
        truncated_ = true;
        return std::nullopt;
    }
    Record r;
    r.type = type;
    r.offset = pos_;
    r.parts.emplace_back(s_.begin() + static_cast<std::ptrdiff_t>(pos_ + 4),
                         s_.begin() + static_cast<std::ptrdiff_t>(pos_ + 4 + len));
    pos_ += 4 + len;
    std::uint16_t ctype = 0;
    std::size_t clen = 0;
    while (header(pos_, ctype, clen) && ctype == rec::CONTINUE) {
        r.parts.emplace_back(s_.begin() + static_cast<std::ptrdiff_t>(pos_ + 4),
                             s_.begin() + static_cast<std::ptrdiff_t>(pos_ + 4 + clen));
        pos_ += 4 + clen;
    }
    return r;
}

}  // namespace xl::internal
