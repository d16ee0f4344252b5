#include "platform/xls/internal/biff_stream.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace xl::internal {

void RecordWriter::begin(std::uint16_t type) {
    recordStart_ = size_;
    u16(type);
    u16(0);  // the length, filled in by end()
}

void RecordWriter::end() {
    const std::size_t length = payloadSize();
    if (length > kMaxRecordData) throw std::logic_error("BIFF record longer than the record limit");
    buf_[recordStart_ + 2] = static_cast<std::uint8_t>(length);
    buf_[recordStart_ + 3] = static_cast<std::uint8_t>(length >> 8);
}

void RecordWriter::record(std::uint16_t type, std::span<const std::uint8_t> payload) {
    begin(type);
    bytes(payload);
    end();
}

void RecordWriter::f64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    u32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void RecordWriter::bytes(std::span<const std::uint8_t> v) {
    if (!v.empty()) std::memcpy(grow(v.size()), v.data(), v.size());
}

void RecordWriter::chars(std::u16string_view s, bool highByte) {
    std::uint8_t* p = grow(s.size() * (highByte ? 2 : 1));
    for (char16_t c : s) {
        *p++ = static_cast<std::uint8_t>(c);
        if (highByte) *p++ = static_cast<std::uint8_t>(c >> 8);
    }
}

void RecordWriter::u32At(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
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

std::string Utf16ToUtf8(std::u16string_view s) {
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

bool FitsLatin1(std::u16string_view s) {
    for (char16_t c : s)
        if (c > 0xFF) return false;
    return true;
}

bool RecordReader::next(Record& r) {
    auto header = [&](std::size_t at, std::uint16_t& type, std::size_t& len) {
        if (at > s_.size() || s_.size() - at < 4) return false;
        type = static_cast<std::uint16_t>(s_[at] | (s_[at + 1] << 8));
        len = static_cast<std::size_t>(s_[at + 2] | (s_[at + 3] << 8));
        return s_.size() - at - 4 >= len;
    };
    std::uint16_t type = 0;
    std::size_t len = 0;
    if (pos_ >= s_.size()) return false;
    if (!header(pos_, type, len)) {
        truncated_ = true;
        return false;
    }
    r.type = type;
    r.offset = pos_;
    r.parts.clear();
    r.parts.push_back(s_.subspan(pos_ + 4, len));
    pos_ += 4 + len;
    std::uint16_t ctype = 0;
    std::size_t clen = 0;
    while (header(pos_, ctype, clen) && ctype == rec::CONTINUE) {
        r.parts.push_back(s_.subspan(pos_ + 4, clen));
        pos_ += 4 + clen;
    }
    return true;
}

}  // namespace xl::internal
