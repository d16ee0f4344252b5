// Writing a Book as an Excel 97 file: the Workbook stream (globals, then one
// substream per sheet) inside an OLE2 compound file.
#include <fcntl.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/excel/internal/xls_formats.h"
#include "platform/excel/internal/xls_io.h"
#include "platform/excel/internal/xls_records.h"
#include "platform/excel/internal/xls_styles.h"

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

void CheckBook(const Book& book) {
    if (book.sheets.empty()) throw XlsError("Sešit bez listů nelze uložit.");
    for (const Sheet& sheet : book.sheets) {
        if (Utf8ToUtf16(sheet.name).size() > kMaxSheetName)
            throw XlsError("Název listu „" + sheet.name + "“ je příliš dlouhý.");
        for (const auto& [ref, cell] : sheet.cells) {
            if (ref.row < 1 || ref.row > kMaxRows || ref.col < 1 || ref.col > kMaxCols)
                throw XlsError("Buňka mimo list (řádek " + std::to_string(ref.row) + ", sloupec " +
                               std::to_string(ref.col) + ") na listu „" + sheet.name + "“ nelze uložit.");
            if (cell.kind == Cell::Kind::Text && Utf8ToUtf16(cell.text).size() > kMaxCellText)
                throw XlsError("Text v buňce " + CellName(ref) + " na listu „" + sheet.name +
                               "“ je delší než 32767 znaků.");
        }
    }
}

// The cells of one sheet with their formats and string numbers, written in row order.
void WriteCells(RecordWriter& w, const Sheet& sheet, StyleTable& styles, std::map<std::u16string, std::uint32_t>& sstIndex,
                SharedStrings& sst) {
    for (const auto& [ref, cell] : sheet.cells) {
        const std::uint16_t xf = styles.XfFor(cell);
        switch (cell.kind) {
            case Cell::Kind::Text: {
                // An empty text is an empty cell, as a spreadsheet stores it (and
                // some readers reject empty shared strings).
                if (cell.text.empty()) {
                    if (xf != kDefaultCellXf) WriteBlank(w, ref.row, ref.col, xf);
                    break;
                }
                std::u16string text = Utf8ToUtf16(cell.text);
                auto it = sstIndex.find(text);
                if (it == sstIndex.end()) {
                    it = sstIndex.emplace(text, static_cast<std::uint32_t>(sst.strings.size())).first;
                    sst.strings.push_back(std::move(text));
                }
                ++sst.total;
                WriteLabelSst(w, ref.row, ref.col, xf, it->second);
                break;
            }
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

// One worksheet substream.
void WriteWorksheet(RecordWriter& w, const Sheet& sheet, bool active, StyleTable& styles,
                    std::map<std::u16string, std::uint32_t>& sstIndex, SharedStrings& sst) {
    const Sheet window = WindowState(sheet);
    WriteBof(w, BofKind::Worksheet);
    WriteDimensions(w, sheet);
    WriteCells(w, sheet, styles, sstIndex, sst);
    WriteWindow2(w, window, active);
    WriteSelection(w, window);
    WriteEof(w);
}

// The globals substream: it needs the fonts, formats and strings the sheets use,
// so the sheets are laid out first and the globals put in front of them.
std::vector<std::uint8_t> WorkbookStream(const Book& book) {
    const int active = std::clamp(book.activeSheet, 0, static_cast<int>(book.sheets.size()) - 1);
    StyleTable styles;
    SharedStrings sst;
    std::map<std::u16string, std::uint32_t> sstIndex;
    std::vector<RecordWriter> sheetStreams(book.sheets.size());
    for (std::size_t i = 0; i < book.sheets.size(); ++i)
        WriteWorksheet(sheetStreams[i], book.sheets[i], static_cast<int>(i) == active, styles, sstIndex, sst);

    RecordWriter g;
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
    for (const Sheet& sheet : book.sheets) positionFields.push_back(WriteBoundsheet(g, Utf8ToUtf16(sheet.name)));
    WriteSstAndExtsst(g, sst);
    WriteEof(g);

    std::vector<std::uint8_t> stream = g.data();
    for (std::size_t i = 0; i < sheetStreams.size(); ++i) {
        const auto at = static_cast<std::uint32_t>(stream.size());
        for (int k = 0; k < 4; ++k) stream[positionFields[i] + k] = static_cast<std::uint8_t>((at >> (8 * k)) & 0xFF);
        stream.insert(stream.end(), sheetStreams[i].data().begin(), sheetStreams[i].data().end());
    }
    return stream;
}

void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

}  // namespace

// Wraps the Workbook stream in an OLE2 compound file.
std::string CompoundFile(const std::vector<std::uint8_t>& stream) {
    InitGsf();
    GsfOutput* mem = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(mem);
    GsfOutput* child = ole ? gsf_outfile_new_child(GSF_OUTFILE(ole), "Workbook", FALSE) : nullptr;
    bool ok = child && gsf_output_write(child, stream.size(), stream.data());
    if (child) {
        ok = gsf_output_close(child) && ok;
        g_object_unref(child);
    }
    if (ole) {
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
    }
    std::string bytes;
    if (ok) {
        const auto* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(mem));
        bytes.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(gsf_output_size(mem)));
    }
    g_object_unref(mem);  // the compound file closed it
    if (!ok) throw XlsError("Sešit se nepodařilo sestavit.");
    return bytes;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string WriteXlsBytes(const Book& book) {
    CheckBook(book);
    return CompoundFile(WorkbookStream(book));
}

void WriteXlsFile(const Book& book, const std::string& path) {
    namespace fs = std::filesystem;
    const std::string bytes = WriteXlsBytes(book);
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw XlsError("Soubor „" + path + "“ nelze uložit: složka „" + folder.string() + "“ neexistuje.");
    if (fs::is_directory(target, ec))
        throw XlsError("Soubor „" + path + "“ nelze uložit: je to složka.");

    std::string tmp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) throw XlsError("Soubor „" + path + "“ nelze uložit: do složky nelze zapisovat.");
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(tmp.c_str());
        throw XlsError("Soubor „" + path + "“ se nepodařilo uložit (plný disk?).");
    }
    // A new file gets the usual permissions; a replaced one keeps its own.
    const auto perms = fs::exists(target, ec) ? fs::status(target, ec).permissions()
                                              : fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_read | fs::perms::others_read;
    fs::permissions(tmp, perms, ec);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        throw XlsError("Soubor „" + path + "“ nelze uložit: je otevřený jinde nebo chráněný proti zápisu.");
    }
}

}  // namespace xl::internal
