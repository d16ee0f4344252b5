#include "platform/forms/color.h"

#include <array>

namespace forms {

namespace {

// The classic Windows scheme, indexed by system colour number.
constexpr std::array<OleColor, 31> kClassic = {
    RGB(212, 208, 200),  // 0 scroll bars
    RGB(58, 110, 165),   // 1 desktop
    RGB(10, 36, 106),    // 2 active title bar
    RGB(128, 128, 128),  // 3 inactive title bar
    RGB(212, 208, 200),  // 4 menu bar
    RGB(255, 255, 255),  // 5 window background
    RGB(0, 0, 0),        // 6 window frame
    RGB(0, 0, 0),        // 7 menu text
    RGB(0, 0, 0),        // 8 window text
    RGB(255, 255, 255),  // 9 title bar text
    RGB(212, 208, 200),  // 10 active border
    RGB(212, 208, 200),  // 11 inactive border
    RGB(128, 128, 128),  // 12 application workspace
    RGB(10, 36, 106),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(212, 208, 200),  // 15 button face
    RGB(128, 128, 128),  // 16 button shadow
    RGB(128, 128, 128),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(212, 208, 200),  // 19 inactive caption text
    RGB(255, 255, 255),  // 20 3D highlight
    RGB(64, 64, 64),     // 21 3D dark shadow
    RGB(212, 208, 200),  // 22 3D light
    RGB(0, 0, 0),        // 23 tooltip text
    RGB(255, 255, 225),  // 24 tooltip background
    RGB(181, 181, 181),  // 25 (unused slot)
    RGB(0, 0, 128),      // 26 hot-tracked item
    RGB(166, 202, 240),  // 27 active title gradient
    RGB(192, 192, 192),  // 28 inactive title gradient
    RGB(10, 36, 106),    // 29 menu highlight
    RGB(212, 208, 200),  // 30 menu bar (flat menus)
};

QColor FromBgr(OleColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

QColor ToQColor(OleColor c) {
    if (IsSystemColor(c)) {
        const std::size_t index = c & 0xFFu;
        return FromBgr(index < kClassic.size() ? kClassic[index] : kClassic[15]);
    }
    return FromBgr(c & 0x00FFFFFFu);
}

}  // namespace forms
