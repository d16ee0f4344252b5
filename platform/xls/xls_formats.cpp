#include "platform/xls/internal/xls_formats.h"

#include <cctype>

namespace xl::internal {

namespace {

DateShape BuiltInShape(std::uint16_t id) {
    if (id >= 14 && id <= 17) return {true, true, false};
    if (id >= 18 && id <= 21) return {true, false, true};
    if (id == 22) return {true, true, true};
    if (id >= 45 && id <= 47) return {true, false, true};
    // Far-East date formats that some writers use.
    if ((id >= 27 && id <= 36) || (id >= 50 && id <= 58)) return {true, true, false};
    return {};
}

// Looks at the letters of the first section of a format string, outside quoted
// text, escaped characters and bracketed colour or locale codes.
DateShape CustomShape(const std::string& f) {
    DateShape shape;
    bool sawMonthOrMinute = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (c == ';') break;
        if (c == '"') {
            const auto end = f.find('"', i + 1);
            if (end == std::string::npos) break;
            i = end;
            continue;
        }
        if (c == '\\' || c == '_' || c == '*') {
            ++i;
            continue;
        }
        if (c == '[') {
            const auto end = f.find(']', i + 1);
            if (end == std::string::npos) break;
            // Elapsed time ([h], [mm], [ss]) counts as time; colours and locales do not.
            const std::string inner = f.substr(i + 1, end - i - 1);
            if (!inner.empty()) {
                const char k = static_cast<char>(std::tolower(static_cast<unsigned char>(inner[0])));
                if (inner.find_first_not_of(inner[0]) == std::string::npos && (k == 'h' || k == 'm' || k == 's'))
                    shape.hasTime = true;
            }
            i = end;
            continue;
        }
        switch (std::tolower(static_cast<unsigned char>(c))) {
            case 'd':
            case 'y':
                shape.hasDay = true;
                break;
            case 'h':
            case 's':
                shape.hasTime = true;
                break;
            case 'm':
                sawMonthOrMinute = true;
                break;
            case 'g':
                // "General" and its localised forms show no date.
                if (f.compare(i, 7, "General") == 0 || f.compare(i, 7, "GENERAL") == 0) i += 6;
                break;
            default:
                break;
        }
    }
    // A lone "m" (or "mm") next to no hour or second is a month.
    if (sawMonthOrMinute && !shape.hasTime) shape.hasDay = true;
    shape.isDate = shape.hasDay || shape.hasTime;
    return shape;
}

}  // namespace

DateShape ClassifyNumberFormat(std::uint16_t id, const std::string& formatString) {
    if (id < 164 && formatString.empty()) return BuiltInShape(id);
    return CustomShape(formatString);
}

const char* CustomFormatString(std::uint16_t id) {
    switch (id) {
        case kFormatDay: return "d.m.yyyy";
        case kFormatTime: return "h:mm:ss";
        case kFormatDayTime: return "d.m.yyyy h:mm:ss";
        default: return "General";
    }
}

}  // namespace xl::internal
