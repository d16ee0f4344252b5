// Reading an Excel 97 file into a Book: libgsf opens the compound file and our
// bounds-checked record scan reads the Workbook stream. (freexl is not used
// here: it crashes on damaged files; the tests use it as a reference reader.)
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/excel/internal/xls_formats.h"
#include "platform/excel/internal/xls_io.h"
#include "platform/excel/internal/xls_scan.h"
#include "platform/excel/internal/xls_styles.h"

namespace xl::internal {

namespace {

constexpr gsf_off_t kMaxStream = 512 * 1024 * 1024;
constexpr double kDays1904 = 1462;  // serial of 1 Jan 1904 in the 1900 system

// A failure of the bytes, worded for the user by the caller who knows the file name.
struct BadBytes {
    std::string why;
};

const char* const kNotExcel97 = "není platný sešit aplikace Excel 97";

void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf logs every flaw of a damaged compound file to stderr; the user gets our
// message instead.
void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        g_log_set_handler("libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL),
                          Quiet, nullptr);
    });
}

// The Workbook stream of the compound file.
std::vector<std::uint8_t> WorkbookStream(const std::string& bytes) {
    InitGsf();
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                           static_cast<gsf_off_t>(bytes.size()), FALSE);
    if (!input) throw BadBytes{kNotExcel97};
    GError* err = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &err);
    g_object_unref(input);
    if (err) g_error_free(err);
    if (!ole) throw BadBytes{kNotExcel97};
    GsfInput* stream = gsf_infile_child_by_name(ole, "Workbook");
    bool older = false;
    if (!stream) {
        stream = gsf_infile_child_by_name(ole, "Book");
        older = stream != nullptr;
    }
    std::vector<std::uint8_t> data;
    bool ok = stream != nullptr && !older;
    if (ok) {
        const gsf_off_t size = gsf_input_size(stream);
        ok = size > 0 && size <= kMaxStream;
        if (ok) {
            data.resize(static_cast<std::size_t>(size));
            ok = gsf_input_read(stream, data.size(), data.data()) != nullptr;
        }
    }
    if (stream) g_object_unref(stream);
    g_object_unref(ole);
    if (older) throw BadBytes{"je ve starším formátu, než je Excel 97"};
    if (!ok) throw BadBytes{kNotExcel97};
    return data;
}

DateShape ShapeOfXf(const ScannedBook& scan, std::uint16_t xf) {
    if (xf >= scan.xfs.size()) return {};
    const std::uint16_t id = scan.xfs[xf].format;
    const auto it = scan.formats.find(id);
    return ClassifyNumberFormat(id, it == scan.formats.end() ? std::string() : it->second);
}

int ColorOfXf(const ScannedBook& scan, std::uint16_t xf) {
    if (xf >= scan.xfs.size()) return 0;
    std::size_t font = scan.xfs[xf].font;
    if (font == 4) return 0;  // there is no font 4
    if (font > 4) --font;
    if (font >= scan.fontColors.size()) return 0;
    return ColorIndexFromPalette(scan.fontColors[font]);
}

// The value of a number cell, as a date when its format shows one.
void SetNumber(Cell& cell, double value, const DateShape& shape, bool date1904) {
    cell.number = value;
    cell.kind = Cell::Kind::Number;
    if (shape.isDate && std::isfinite(value)) {
        cell.kind = Cell::Kind::Date;
        cell.dateHasDay = shape.hasDay;
        cell.dateHasTime = shape.hasTime;
        if (date1904) cell.number += kDays1904;
    }
}

// One cell from its record: value, kind (dates by their number format) and font colour.
Cell MakeCell(const ScannedBook& scan, const ScannedCell& sc) {
    Cell cell;
    cell.colorIndex = ColorOfXf(scan, sc.xf);
    const DateShape shape = ShapeOfXf(scan, sc.xf);
    using S = ScannedCell::Source;
    switch (sc.source) {
        case S::Shared:
        case S::Label:
        case S::FormulaText:
            // An empty text is an empty cell, as a spreadsheet shows it.
            if (!sc.text.empty()) {
                cell.kind = Cell::Kind::Text;
                cell.text = sc.text;
            }
            break;
        case S::Number:
        case S::FormulaNumber:
            SetNumber(cell, sc.number, shape, scan.date1904);
            break;
        case S::Boolean:
        case S::FormulaBoolean:
            cell.kind = Cell::Kind::Boolean;
            cell.number = sc.number != 0 ? 1 : 0;
            break;
        case S::Error:
        case S::FormulaError:
            cell.kind = Cell::Kind::Error;
            cell.number = sc.number;
            break;
        case S::Blank:
            break;
    }
    return cell;
}

Book BuildBook(const ScannedBook& scan) {
    Book book;
    std::vector<int> bookIndexOfTab(scan.sheets.size(), -1);
    for (std::size_t i = 0; i < scan.sheets.size(); ++i) {
        const ScannedSheet& ss = scan.sheets[i];
        if (!ss.isWorksheet) continue;  // charts, macro and module sheets
        Sheet sheet;
        sheet.name = ss.name;
        sheet.activeCell = ss.activeCell;
        sheet.selection = ss.selection;
        sheet.topLeft = ss.topLeft;
        for (const ScannedCell& sc : ss.cells) {
            Cell cell = MakeCell(scan, sc);
            // A later record for the same cell wins, as in a spreadsheet.
            if (cell.kind == Cell::Kind::Empty && cell.colorIndex == 0)
                sheet.cells.erase(sc.ref);
            else
                sheet.cells[sc.ref] = std::move(cell);
        }
        bookIndexOfTab[i] = static_cast<int>(book.sheets.size());
        book.sheets.push_back(std::move(sheet));
    }
    if (book.sheets.empty()) throw BadBytes{"neobsahuje žádný list"};
    // The shown tab from WINDOW1, else the sheet whose window says it is shown.
    int tab = scan.activeTab;
    if (tab < 0 || tab >= static_cast<int>(scan.sheets.size()) || bookIndexOfTab[tab] < 0) {
        tab = -1;
        for (std::size_t i = 0; i < scan.sheets.size() && tab < 0; ++i)
            if (scan.sheets[i].shown && bookIndexOfTab[i] >= 0) tab = static_cast<int>(i);
    }
    book.activeSheet = tab < 0 ? 0 : bookIndexOfTab[tab];
    return book;
}

Book ReadBytes(const std::string& bytes) {
    if (bytes.empty()) throw BadBytes{"je prázdný"};
    ScannedBook scan;
    switch (ScanWorkbookStream(WorkbookStream(bytes), scan)) {
        case ScanFailure::None: break;
        case ScanFailure::NotBiff8: throw BadBytes{"je ve starším formátu, než je Excel 97"};
        case ScanFailure::Encrypted: throw BadBytes{"je chráněný heslem"};
        case ScanFailure::Damaged: throw BadBytes{"je poškozený a nelze ho načíst"};
    }
    return BuildBook(scan);
}

}  // namespace

Book ReadXlsBytes(const std::string& bytes) {
    try {
        return ReadBytes(bytes);
    } catch (const BadBytes& e) {
        throw XlsError("Soubor " + e.why + ".");
    }
}

Book ReadXlsFile(const std::string& path) {
    const std::string shown = "„" + path + "“";
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec)) throw XlsError("Soubor " + shown + " nelze otevřít.");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw XlsError("Soubor " + shown + " nelze přečíst.");
    try {
        return ReadBytes(bytes);
    } catch (const BadBytes& e) {
        throw XlsError("Soubor " + shown + " " + e.why + ".");
    }
}

}  // namespace xl::internal
