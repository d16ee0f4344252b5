#include "tonelib/internal/spelling.h"

#include <string_view>

namespace calvira {

const std::array<const char*, kScaleCount> kScaleNames = {
    "C Dur", "G Dur", "D Dur",  "A Dur",  "E Dur",   "H Dur",   "Fis Dur", "Cis Dur",
    "F Dur", "B Dur", "Es Dur", "As Dur", "Des Dur", "Ges Dur", "Ces Dur",
};

namespace {

// Pitch class of tone n: (n - 1) mod 12, starting at e.
constexpr std::array<const char*, 12> kPlain = {"e", "f", "fis", "g", "gis", "a", "ais", "h", "c", "cis", "d", "dis"};

// The second spelling of each pitch class that is read back; empty where none.
constexpr std::array<const char*, 12> kAlternative = {"fes", "eis", "ges", "", "as", "", "b", "ces", "his", "des", "", "es"};

// The letters each scale writes per pitch class (columns as kPlain); a
// bracketed entry lies outside the scale.
constexpr const char* kSpelling[kScaleCount][12] = {
    {"e", "f", "[fis]", "g", "[gis]", "a", "[ais]", "h", "c", "[cis]", "d", "[dis]"},      // C Dur
    {"e", "[f]", "fis", "g", "[gis]", "a", "[ais]", "h", "c", "[cis]", "d", "[dis]"},      // G Dur
    {"e", "[f]", "fis", "g", "[gis]", "a", "[ais]", "h", "[c]", "cis", "d", "[dis]"},      // D Dur
    {"e", "[f]", "fis", "[g]", "gis", "a", "[ais]", "h", "[c]", "cis", "d", "[dis]"},      // A Dur
    {"e", "[f]", "fis", "[g]", "gis", "a", "[ais]", "h", "[c]", "cis", "[d]", "dis"},      // E Dur
    {"e", "[f]", "fis", "[g]", "gis", "[a]", "ais", "h", "[c]", "cis", "[d]", "dis"},      // H Dur
    {"[e]", "f", "fis", "[g]", "gis", "[a]", "ais", "h", "[c]", "cis", "[d]", "dis"},      // Fis Dur
    {"[e]", "f", "fis", "[g]", "gis", "[a]", "ais", "[h]", "c", "cis", "[d]", "dis"},      // Cis Dur
    {"e", "f", "[ges]", "g", "[as]", "a", "b", "[h]", "c", "[des]", "d", "[es]"},          // F Dur
    {"[e]", "f", "[ges]", "g", "[as]", "a", "b", "[h]", "c", "[des]", "d", "es"},          // B Dur
    {"[e]", "f", "[ges]", "g", "as", "[a]", "b", "[h]", "c", "[des]", "d", "es"},          // Es Dur
    {"[e]", "f", "[ges]", "g", "as", "[a]", "b", "[h]", "c", "des", "[d]", "es"},          // As Dur
    {"[e]", "f", "ges", "[g]", "as", "[a]", "b", "[h]", "c", "des", "[d]", "es"},          // Des Dur
    {"[e]", "f", "ges", "[g]", "as", "[a]", "b", "ces", "[c]", "des", "[d]", "es"},        // Ges Dur
    {"fes", "[f]", "ges", "[g]", "as", "[a]", "b", "ces", "[c]", "des", "[d]", "es"},      // Ces Dur
};

int PitchClass(int n) {
    return (n - 1) % 12;
}

// Tones 1-8 carry no octave digit, then 9-20 carry 1, 21-32 carry 2 ...
std::string OctaveDigit(int n) {
    return n <= 8 ? std::string() : std::to_string(1 + (n - 9) / 12);
}

// ces belongs to the octave of the c above it, his to that of the h below.
std::string NameOf(std::string_view letters, int n) {
    int octaveOf = n;
    if (letters == "ces") octaveOf = n + 1;
    else if (letters == "his") octaveOf = n - 1;
    return std::string(letters) + OctaveDigit(octaveOf) + ",";
}

}  // namespace

std::string PlainName(int n) {
    return NameOf(kPlain[PitchClass(n)], n);
}

SpelledTone SpellInScale(int scale, int n) {
    std::string_view cell = kSpelling[scale][PitchClass(n)];
    const bool out = cell.front() == '[';
    if (out) cell = cell.substr(1, cell.size() - 2);
    return {NameOf(cell, n), out};
}

const std::vector<AcceptedName>& AcceptedNames() {
    static const std::vector<AcceptedName> names = [] {
        std::vector<AcceptedName> v;
        for (int n = 1; n <= kToneCount; ++n) {
            v.push_back({PlainName(n), static_cast<std::int16_t>(n)});
            const std::string_view alt = kAlternative[PitchClass(n)];
            if (!alt.empty()) v.push_back({NameOf(alt, n), static_cast<std::int16_t>(n)});
        }
        return v;
    }();
    return names;
}

}  // namespace calvira
