// The fifteen major scales the program knows, by their names on the scale
// button, in the order the scale dialogs list them: the sharp keys by the
// circle of fifths, then the flat keys.
#pragma once

#include <array>

inline constexpr std::array<const char*, 15> kDuroveStupnice = {
    "C Dur", "G Dur",  "D Dur",  "A Dur",  "E Dur",   "H Dur",   "Fis Dur", "Cis Dur",
    "F Dur", "B Dur",  "Es Dur", "As Dur", "Des Dur", "Ges Dur", "Ces Dur"};
