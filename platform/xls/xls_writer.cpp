// Writing a Book as an Excel 97 file: the Workbook stream (globals, then one
// substream per sheet) inside an OLE2 compound file. The sheets are written
// first, in one pass over their cells into one buffer, while the fonts,
// formats and strings they use are gathered; the globals that declare those
// go into a second buffer, and the compound file takes the two in order.
#include <gsf/gsf-infile.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "platform/xls/internal/xls_formats.h"
#include "platform/xls/xls_io.h"
#include "platform/xls/internal/xls_records.h"
#include "platform/xls/internal/xls_styles.h"
#include "platform/safe_file/safe_file.h"

namespace xl::internal {

namespace {

constexpr std::size_t kMaxCellText = 32767;
constexpr std::size_t kMaxSheetName = 255;

std::string CellName(const CellRef& ref) {
    std::string letters;
    for (int c = ref.col; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(ref.row);
}

CellRef Clamp(CellRef r) {
    return {std::clamp(r.row, 1, kMaxRows), std::clamp(r.col, 1, kMaxCols)};
}

// A copy of the window state that always lies on the sheet, so the file stays valid.
Sheet WindowState(const Sheet& sheet) {
    Sheet s;
    s.activeCell = Clamp(sheet.activeCell);
    CellRef a = Clamp(sheet.selection.first), b = Clamp(sheet.selection.last);
    s.selection = {{std::min(a.row, b.row), std::min(a.col, b.col)}, {std::max(a.row, b.row), std::max(a.col, b.col)}};
    s.topLeft = Clamp(sheet.topLeft);
    return s;
}

// The shared string table as the cells are written: each text once, in the
// order of first use, converted to the file's UTF-16 once.
class StringTable {
public:
    // The number of a cell's text in the table.
    std::uint32_t Intern(const SharedText& text, const CellRef& ref, const Sheet& sheet) {
        ++sst_.total;
        // Cells that share one text (as a file is read, or a range written at
        // once) find its number noted on it by this save.
        if (const std::uint64_t note = text.WriterNote(); note >> 32 == save_) return static_cast<std::uint32_t>(note);
        const std::string& s = text.str();
        auto [it, added] = byText_.try_emplace(std::string_view(s), static_cast<std::uint32_t>(sst_.strings.size()));
        if (added) {
            sst_.strings.push_back(Utf8ToUtf16(s));
            if (sst_.strings.back().size() > kMaxCellText)
                throw XlsError("Text v buňce " + CellName(ref) + " na listu „" + sheet.name +
                               "“ je delší než 32767 znaků.");
        }
        text.SetWriterNote(save_ << 32 | it->second);
        return it->second;
    }
    const SharedStrings& Strings() const { return sst_; }

private:
    SharedStrings sst_;
    std::unordered_map<std::string_view, std::uint32_t> byText_;
    // Each save notes its own numbers (a note of an earlier save means nothing).
    const std::uint64_t save_ = ++saves_;
    static inline std::uint64_t saves_ = 0;
};

// The cells of one sheet with their formats and string numbers, in row order.
void WriteCells(RecordWriter& w, const Sheet& sheet, StyleTable& styles, StringTable& strings) {
    for (const CellStore::Row& row : sheet.cells.Rows()) {
        for (const auto& [ref, cell] : row.cells) {
            if (ref.row < 1 || ref.row > kMaxRows || ref.col < 1 || ref.col > kMaxCols)
                throw XlsError("Buňka mimo list (řádek " + std::to_string(ref.row) + ", sloupec " +
                               std::to_string(ref.col) + ") na listu „" + sheet.name + "“ nelze uložit.");
            const std::uint16_t xf = styles.XfFor(cell);
            switch (cell.kind) {
                case Cell::Kind::Text:
                    // An empty text is an empty cell, as a spreadsheet stores it (and
                    // some readers reject empty shared strings).
                    if (cell.text.empty()) {
                        if (xf != kDefaultCellXf) WriteBlank(w, ref.row, ref.col, xf);
                        break;
                    }
                    WriteLabelSst(w, ref.row, ref.col, xf, strings.Intern(cell.text, ref, sheet));
                    break;
                case Cell::Kind::Number:
                case Cell::Kind::Date:
                    WriteNumber(w, ref.row, ref.col, xf, cell.number);
                    break;
                case Cell::Kind::Boolean:
                    WriteBoolErr(w, ref.row, ref.col, xf, cell.number != 0 ? 1 : 0, false);
                    break;
                case Cell::Kind::Error:
                    WriteBoolErr(w, ref.row, ref.col, xf, static_cast<std::uint8_t>(cell.number), true);
                    break;
                case Cell::Kind::Empty:
                    if (xf != kDefaultCellXf) WriteBlank(w, ref.row, ref.col, xf);
                    break;
            }
        }
    }
}

// One worksheet substream.
void WriteWorksheet(RecordWriter& w, const Sheet& sheet, bool active, StyleTable& styles, StringTable& strings) {
    const Sheet window = WindowState(sheet);
    WriteBof(w, BofKind::Worksheet);
    WriteDimensions(w, UsedRangeOf(sheet.cells));
    WriteCells(w, sheet, styles, strings);
    WriteWindow2(w, window, active);
    WriteSelection(w, window);
    WriteEof(w);
}

// The Workbook stream in two pieces: the globals, then the sheets.
struct WorkbookStream {
    RecordWriter globals;
    RecordWriter sheets;
};

// The whole stream, laid out before any file is touched: a book that cannot be
// written leaves no trace.
WorkbookStream WriteWorkbookStream(const Book& book) {
    WorkbookStream out;
    if (book.sheets.empty()) throw XlsError("Sešit bez listů nelze uložit.");
    std::vector<std::u16string> names;
    for (const Sheet& sheet : book.sheets) {
        names.push_back(Utf8ToUtf16(sheet.name));
        if (names.back().size() > kMaxSheetName) throw XlsError("Název listu „" + sheet.name + "“ je příliš dlouhý.");
    }
    const int active = std::clamp(book.activeSheet, 0, static_cast<int>(book.sheets.size()) - 1);
    StyleTable styles;
    StringTable strings;
    std::vector<std::size_t> sheetStarts;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        sheetStarts.push_back(out.sheets.offset());
        WriteWorksheet(out.sheets, book.sheets[i], static_cast<int>(i) == active, styles, strings);
    }

    RecordWriter& g = out.globals;
    WriteBof(g, BofKind::Globals);
    WriteCodepage(g);
    WriteWindow1(g, active);
    WriteDatemode(g);
    for (std::uint16_t i = 0; i < kStandardFontCount; ++i) WriteFont(g, 0x7FFF);
    for (std::uint16_t icv : styles.ExtraFontColors()) WriteFont(g, icv);
    for (std::uint16_t id : {kFormatDay, kFormatTime, kFormatDayTime}) WriteFormat(g, id, CustomFormatString(id));
    for (std::uint16_t i = 0; i < kStyleXfCount; ++i) WriteStyleXf(g);
    WriteCellXf(g, 0, 0);
    for (const CellFormat& f : styles.CellFormats()) WriteCellXf(g, f.fontIndex, f.formatId);
    WriteStyle(g);
    std::vector<std::size_t> positionFields;
    for (const std::u16string& name : names) positionFields.push_back(WriteBoundsheet(g, name));
    WriteSstAndExtsst(g, strings.Strings());
    WriteEof(g);
    // The sheets follow the globals in the stream.
    for (std::size_t i = 0; i < positionFields.size(); ++i)
        g.u32At(positionFields[i], static_cast<std::uint32_t>(g.offset() + sheetStarts[i]));
    return out;
}

void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// The file of the stream, handed to `out`; false when it could not be made.
bool WriteFileBytes(const WorkbookStream& stream, const std::function<bool(std::span<const std::uint8_t>)>& out) {
    const std::span<const std::uint8_t> pieces[] = {stream.globals.data(), stream.sheets.data()};
    return CompoundFile(pieces, out);
}

}  // namespace

bool CompoundFile(std::span<const std::span<const std::uint8_t>> stream,
                  const std::function<bool(std::span<const std::uint8_t>)>& out) {
    InitGsf();
    GsfOutput* mem = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(mem);
    GsfOutput* child = ole ? gsf_outfile_new_child(GSF_OUTFILE(ole), "Workbook", FALSE) : nullptr;
    bool ok = child != nullptr;
    for (const auto& piece : stream) ok = ok && gsf_output_write(child, piece.size(), piece.data());
    if (child) {
        ok = gsf_output_close(child) && ok;
        g_object_unref(child);
    }
    if (ole) {
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
    }
    if (ok) {
        const auto* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(mem));
        ok = out({data, static_cast<std::size_t>(gsf_output_size(mem))});
    }
    g_object_unref(mem);  // the compound file closed it
    return ok;
}

std::string WriteXlsBytes(const Book& book) {
    std::string bytes;
    const bool built = WriteFileBytes(WriteWorkbookStream(book), [&](std::span<const std::uint8_t> file) {
        bytes.assign(reinterpret_cast<const char*>(file.data()), file.size());
        return true;
    });
    if (!built) throw XlsError("Sešit se nepodařilo sestavit.");
    return bytes;
}

void WriteXlsFile(const Book& book, const std::string& path, const std::function<void(int fd)>& written) {
    const WorkbookStream stream = WriteWorkbookStream(book);
    bool built = true;
    bool stored = true;
    const sys::SaveFailure failure = sys::SaveFileSafely(path, [&](int fd) {
        int error = 0;
        built = WriteFileBytes(stream, [&](std::span<const std::uint8_t> file) {
            stored = sys::WriteAll(fd, file.data(), file.size());
            if (!stored) error = errno;
            return stored;
        });
        if (!stored) {
            // What the system said stays for the save to tell a full disk by.
            errno = error;
            return false;
        }
        if (built && written) written(fd);
        return built;
    });
    if (failure == sys::SaveFailure::None) return;
    // A file that could not be written is no workbook that could not be built.
    if (failure == sys::SaveFailure::WriteFailed && stored && !built) throw XlsError("Sešit se nepodařilo sestavit.");
    throw XlsError(SaveFailureText(failure, path));
}

std::string SaveFailureText(sys::SaveFailure failure, const std::string& path) {
    const std::string shown = ShownPath(path);
    const std::string folder = ShownPath(std::filesystem::path(path).has_parent_path()
                                             ? std::filesystem::path(path).parent_path().string()
                                             : std::string("."));
    switch (failure) {
        case sys::SaveFailure::None: break;
        case sys::SaveFailure::NoFolder: return "Soubor " + shown + " nelze uložit: složka " + folder + " neexistuje.";
        case sys::SaveFailure::IsFolder: return "Soubor " + shown + " nelze uložit: je to složka.";
        case sys::SaveFailure::NotAFile: return "Soubor " + shown + " nelze uložit: není to soubor.";
        case sys::SaveFailure::WriteProtected: return "Soubor " + shown + " nelze uložit: je chráněný proti zápisu.";
        case sys::SaveFailure::FolderNotWritable:
            return "Soubor " + shown + " nelze uložit: do složky " + folder + " nelze zapisovat.";
        case sys::SaveFailure::DiskFull:
            return "Soubor " + shown + " nelze uložit: disk je plný (nebo je vyčerpána kvóta místa na disku).";
        case sys::SaveFailure::WriteFailed: return "Soubor " + shown + " se nepodařilo uložit: zápis na disk selhal.";
        case sys::SaveFailure::ReplaceFailed:
            return "Soubor " + shown + " nelze uložit: je otevřený jinde nebo chráněný proti zápisu.";
        case sys::SaveFailure::LinkLoop: return "Soubor " + shown + " nelze uložit: odkaz na soubor vede sám na sebe.";
    }
    return {};
}

}  // namespace xl::internal
