// What Calvira12 computes: the names of the 49 treble tones, plain and
// spelled for each major scale, and the names it accepts on the way back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calvira {

inline constexpr int kToneCount = 49;
inline constexpr int kScaleCount = 15;
inline constexpr const char* kNenalezeno = "Nenalezeno";
inline constexpr std::int16_t kNoTone = 99;

// In the order the scale names are compared: the sharp-spelling group first.
extern const std::array<const char*, kScaleCount> kScaleNames;

// "e," for 1 ... "e4," for 49; n must be 1-49.
std::string PlainName(int n);

struct SpelledTone {
    std::string name;
    bool outOfScale;
};
// Tone n (1-49) as scale number `scale` (an index into kScaleNames) writes it.
SpelledTone SpellInScale(int scale, int n);

struct AcceptedName {
    std::string name;
    std::int16_t tone;
};
// The 86 names that map back to a tone, in the order they are compared: by
// tone, each plain name before its alternative spelling.
const std::vector<AcceptedName>& AcceptedNames();

}  // namespace calvira
