#include "platform/xls/internal/xls_styles.h"

#include "platform/xls/internal/xls_formats.h"

namespace xl::internal {

namespace {
constexpr std::uint16_t kAutomaticColor = 0x7FFF;
constexpr std::uint16_t kFirstPaletteIndex = 8;   // ColorIndex 1
constexpr int kPaletteSize = 56;
}  // namespace

std::uint16_t PaletteFromColorIndex(int colorIndex) {
    if (colorIndex < 1 || colorIndex > kPaletteSize) return kAutomaticColor;
    return static_cast<std::uint16_t>(colorIndex + kFirstPaletteIndex - 1);
}

int ColorIndexFromPalette(std::uint16_t icv) {
    // 0-7 repeat the first eight palette colours (black, white, red, ...).
    if (icv < kFirstPaletteIndex) return icv + 1;
    if (icv < kFirstPaletteIndex + kPaletteSize) return icv - kFirstPaletteIndex + 1;
    return 0;  // automatic, system colours and anything unknown
}

std::uint16_t FormatIdFor(const Cell& cell) {
    if (cell.kind != Cell::Kind::Date) return 0;
    if (cell.dateHasTime && !cell.dateHasDay) return kFormatTime;
    if (cell.dateHasTime) return kFormatDayTime;
    return kFormatDay;
}

std::uint16_t StyleTable::XfFor(const Cell& cell) {
    std::uint16_t font = 0;
    const std::uint16_t icv = PaletteFromColorIndex(cell.colorIndex);
    if (icv != kAutomaticColor) {
        auto it = fontByColor_.find(icv);
        if (it == fontByColor_.end()) {
            const auto index = static_cast<std::uint16_t>(kStandardFontCount + 1 + fontColors_.size());
            fontColors_.push_back(icv);
            it = fontByColor_.emplace(icv, index).first;
        }
        font = it->second;
    }
    const std::uint16_t format = FormatIdFor(cell);
    if (font == 0 && format == 0) return kDefaultCellXf;
    const auto key = std::make_pair(font, format);
    auto it = xfByKey_.find(key);
    if (it == xfByKey_.end()) {
        const auto xf = static_cast<std::uint16_t>(kDefaultCellXf + 1 + formats_.size());
        formats_.push_back({font, format});
        it = xfByKey_.emplace(key, xf).first;
    }
    return it->second;
}

}  // namespace xl::internal
