// Number formats: which ones show a date or a time, and the formats the
// writer gives date and time cells.
#pragma once

#include <cstdint>
#include <string>

namespace xl::internal {

// What a number format shows of a serial date value.
struct DateShape {
    bool isDate = false;   // the format shows a date and/or a time
    bool hasDay = false;   // it shows a day, month or year
    bool hasTime = false;  // it shows hours, minutes or seconds
};

// Classifies a format by its id (built-in formats) or its format string.
DateShape ClassifyNumberFormat(std::uint16_t id, const std::string& formatString);

// The custom formats the writer declares for date and time cells.
inline constexpr std::uint16_t kFormatDay = 164;      // "d.m.yyyy"
inline constexpr std::uint16_t kFormatTime = 165;     // "h:mm:ss"
inline constexpr std::uint16_t kFormatDayTime = 166;  // "d.m.yyyy h:mm:ss"
const char* CustomFormatString(std::uint16_t id);

}  // namespace xl::internal
