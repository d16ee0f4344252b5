#include "platform/vb/strings.h"

#include <algorithm>

#include "platform/vb/runtime_error.h"

namespace vb {

namespace {

// Byte offset of character `index` (0-based); s.size() when past the end.
std::size_t ByteOffset(const std::string& s, long index) {
    std::size_t i = 0;
    while (index > 0 && i < s.size()) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        --index;
    }
    return i;
}

}  // namespace

long Len(const std::string& s) {
    return static_cast<long>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Left(const std::string& s, long n) {
    if (n < 0) Raise(err::InvalidCall);
    return s.substr(0, ByteOffset(s, n));
}

std::string Right(const std::string& s, long n) {
    if (n < 0) Raise(err::InvalidCall);
    const long len = Len(s);
    return n >= len ? s : s.substr(ByteOffset(s, len - n));
}

std::string Mid(const std::string& s, long start) {
    if (start < 1) Raise(err::InvalidCall);
    return s.substr(ByteOffset(s, start - 1));
}

std::string Mid(const std::string& s, long start, long length) {
    if (start < 1 || length < 0) Raise(err::InvalidCall);
    const std::size_t b = ByteOffset(s, start - 1);
    const std::string rest = s.substr(b);
    return rest.substr(0, ByteOffset(rest, length));
}

long InStr(long start, const std::string& s, const std::string& what) {
    if (start < 1) Raise(err::InvalidCall);
    const std::size_t from = ByteOffset(s, start - 1);
    if (from > s.size()) return 0;
    const std::size_t at = s.find(what, from);
    if (at == std::string::npos) return 0;
    return Len(s.substr(0, at)) + 1;
}

long InStr(const std::string& s, const std::string& what) { return InStr(1, s, what); }

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string UCase(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string LCase(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

}  // namespace vb
