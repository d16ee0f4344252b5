// The fonts and cell formats (XF records) a written workbook needs: one font
// per font colour used and one cell format per colour and date shape.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/xls/book.h"

namespace xl::internal {

// The number of style formats every workbook starts with; the first cell format follows.
inline constexpr std::uint16_t kStyleXfCount = 15;
inline constexpr std::uint16_t kDefaultCellXf = 15;
// Fonts 0-3 are the standard ones; font index 4 does not exist in the format.
inline constexpr std::uint16_t kStandardFontCount = 4;

// Colour index of the object model (1-56) to the file's palette index and back.
std::uint16_t PaletteFromColorIndex(int colorIndex);
int ColorIndexFromPalette(std::uint16_t icv);

struct CellFormat {
    std::uint16_t fontIndex = 0;    // as an XF refers to it (standard 0-3, then 5, 6, ...)
    std::uint16_t formatId = 0;     // number format id
};

class StyleTable {
public:
    // The cell format for a cell; adds fonts and formats as needed.
    std::uint16_t XfFor(const Cell& cell);
    // Colour (palette index) of each extra font, in font order after the standard ones.
    const std::vector<std::uint16_t>& ExtraFontColors() const { return fontColors_; }
    // The cell formats after the default one, in XF order from index 16.
    const std::vector<CellFormat>& CellFormats() const { return formats_; }

private:
    std::vector<std::uint16_t> fontColors_;
    std::map<int, std::uint16_t> fontByColor_;
    std::vector<CellFormat> formats_;
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::uint16_t> xfByKey_;
};

// The number format a cell is written with (0 = General).
std::uint16_t FormatIdFor(const Cell& cell);

}  // namespace xl::internal
