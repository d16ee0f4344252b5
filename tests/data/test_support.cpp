#include "test_support.h"

#include <cmath>
#include <cstdio>

namespace lookup_test {
namespace {

// Note names are ASCII.
std::string Fold(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

const Sheet* FindSheet(const Book& book, const std::string& name) {
    for (const Sheet& s : book.sheets) {
        if (s.name == name) return &s;
    }
    return nullptr;
}

std::string Shown(const Sheet& sheet, CellRef ref) {
    auto it = sheet.cells.find(ref);
    if (it == sheet.cells.end()) return "";
    const Cell& c = it->second;
    switch (c.kind) {
        case Cell::Kind::Text:
            return c.text;
        case Cell::Kind::Number:
            if (c.number == std::floor(c.number) && std::fabs(c.number) < 1e15) {
                return std::to_string(static_cast<long long>(c.number));
            } else {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%.15g", c.number);
                return buf;
            }
        default:
            return "";
    }
}

std::optional<int> RootSemitones(const std::string& rootText) {
    const std::string root = Fold(rootText);
    if (root == "b") return 10;
    if (root.empty()) return std::nullopt;
    static const std::string letters = "cdefgah";
    static const int base[] = {0, 2, 4, 5, 7, 9, 11};
    auto pos = letters.find(root[0]);
    if (pos == std::string::npos) return std::nullopt;
    int semis = base[pos];
    std::string rest = root.substr(1);
    // "as" and "es" are a and e with a flat whose e is swallowed.
    if ((root[0] == 'a' || root[0] == 'e') && !rest.empty() && rest[0] == 's') {
        semis -= 1;
        rest.erase(0, 1);
    }
    while (!rest.empty()) {
        if (rest.compare(0, 2, "is") == 0) {
            semis += 1;
        } else if (rest.compare(0, 2, "es") == 0) {
            semis -= 1;
        } else {
            return std::nullopt;
        }
        rest.erase(0, 2);
    }
    return semis;
}

std::optional<int> ToneOf(const std::string& name) {
    if (name.size() < 2 || name.back() != ',') return std::nullopt;
    std::string body = name.substr(0, name.size() - 1);
    int octave = 0;
    if (!body.empty() && body.back() >= '1' && body.back() <= '5') {
        octave = body.back() - '0';
        body.pop_back();
    }
    for (char c : body) {
        if (c < 'a' || c > 'z') return std::nullopt;  // note names are lower case
    }
    auto semis = RootSemitones(body);
    if (!semis) return std::nullopt;
    // c1, is tone 9, so the small c (no digit) is tone -3.
    return -3 + 12 * octave + *semis;
}

}  // namespace lookup_test
