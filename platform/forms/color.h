// Colours as the program writes them: &H00BBGGRR, or &H800000nn for system
// colour nn, resolved to the classic Windows palette when painted.
#pragma once

#include <cstdint>

#include <QColor>

namespace forms {

using OleColor = std::uint32_t;

inline constexpr OleColor RGB(int r, int g, int b) {
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// System colours the program and the design use.
inline constexpr OleColor vbScrollBars = 0x80000000;
inline constexpr OleColor vbDesktop = 0x80000001;
inline constexpr OleColor vbActiveTitleBar = 0x80000002;
inline constexpr OleColor vbInactiveTitleBar = 0x80000003;
inline constexpr OleColor vbMenuBar = 0x80000004;
inline constexpr OleColor vbWindowBackground = 0x80000005;
inline constexpr OleColor vbWindowFrame = 0x80000006;
inline constexpr OleColor vbMenuText = 0x80000007;
inline constexpr OleColor vbWindowText = 0x80000008;
inline constexpr OleColor vbTitleBarText = 0x80000009;
inline constexpr OleColor vbActiveBorder = 0x8000000A;
inline constexpr OleColor vbInactiveBorder = 0x8000000B;
inline constexpr OleColor vbApplicationWorkspace = 0x8000000C;
inline constexpr OleColor vbHighlight = 0x8000000D;
inline constexpr OleColor vbHighlightText = 0x8000000E;
inline constexpr OleColor vbButtonFace = 0x8000000F;
inline constexpr OleColor vbButtonShadow = 0x80000010;
inline constexpr OleColor vbGrayText = 0x80000011;
inline constexpr OleColor vbButtonText = 0x80000012;
inline constexpr OleColor vbInactiveCaptionText = 0x80000013;
inline constexpr OleColor vb3DHighlight = 0x80000014;
inline constexpr OleColor vb3DDKShadow = 0x80000015;
inline constexpr OleColor vb3DLight = 0x80000016;
inline constexpr OleColor vbInfoText = 0x80000017;
inline constexpr OleColor vbInfoBackground = 0x80000018;

inline constexpr bool IsSystemColor(OleColor c) { return (c & 0xFF000000u) == 0x80000000u; }

// The colour painted for `c`: an RGB value as it is, a system colour from the
// classic palette (button face 212,208,200, window text black, caption text
// white, ...). An unknown system index paints as button face.
QColor ToQColor(OleColor c);

}  // namespace forms
