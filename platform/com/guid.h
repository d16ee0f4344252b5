// Globally unique identifiers of classes, interfaces and type libraries, in
// the binary layout every component expects and in the "{...}" text form the
// registration file uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace com {

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

namespace detail {
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace detail

// "{AD0DA24E-3518-4B73-B04F-C36B924D793D}", hex digits in either case; the
// braces are required. Anything else gives nullopt.
constexpr std::optional<GUID> ParseGuid(std::string_view s) {
    if (s.size() != 38 || s.front() != '{' || s.back() != '}') return std::nullopt;
    if (s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-') return std::nullopt;
    std::uint8_t bytes[16] = {};
    int n = 0;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] == '-') continue;
        const int hi = detail::HexDigit(s[i]);
        const int lo = i + 2 < s.size() ? detail::HexDigit(s[i + 1]) : -1;
        if (hi < 0 || lo < 0 || s[i + 1] == '-') return std::nullopt;
        bytes[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
        ++i;
    }
    if (n != 16) return std::nullopt;
    GUID g{};
    g.Data1 = (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) | (std::uint32_t(bytes[2]) << 8) |
              bytes[3];
    g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    return g;
}

// For identifiers written into the code: a malformed literal does not compile.
consteval GUID MakeGuid(std::string_view s) {
    const auto g = ParseGuid(s);
    if (!g) throw "malformed GUID literal";
    return *g;
}

// Upper-case hex with braces, the form kept in the registration file.
std::string FormatGuid(const GUID& g);

}  // namespace com
