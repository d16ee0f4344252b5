#include "platform/excel/internal/xls_scan.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/excel/internal/biff_stream.h"

namespace xl::internal {

namespace {

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBofGlobals = 0x0005;
constexpr std::uint16_t kBofWorksheet = 0x0010;
constexpr std::uint16_t kFilePass = 0x002F;
// Far more than any song; they bound the memory and time a hostile file can cost.
constexpr std::size_t kMaxCells = 2u * 1024 * 1024;  // over all sheets
constexpr std::size_t kMaxSheets = 4096;

// Reads across a record and its CONTINUE parts; strings restart with a flags byte in each part.
class RecordCursor {
public:
    explicit RecordCursor(const Record& r) : r_(r) {}

    std::optional<std::uint8_t> u8() {
        if (!advanceIfAtEnd()) return std::nullopt;
        return r_.parts[part_][pos_++];
    }
    std::optional<std::uint16_t> u16() {
        auto a = u8(), b = u8();
        if (!a || !b) return std::nullopt;
        return static_cast<std::uint16_t>(*a | (*b << 8));
    }
    std::optional<std::uint32_t> u32() {
        auto a = u16(), b = u16();
        if (!a || !b) return std::nullopt;
        return static_cast<std::uint32_t>(*a | (static_cast<std::uint32_t>(*b) << 16));
    }
    std::optional<double> f64() {
        std::uint8_t raw[8];
        for (auto& byte : raw) {
            auto v = u8();
            if (!v) return std::nullopt;
            byte = *v;
        }
        double d = 0;
        std::memcpy(&d, raw, sizeof d);  // the file is little-endian, as this machine
        return d;
    }
    // `count` characters; a character run that goes on in a CONTINUE part starts with its flags.
    std::optional<std::u16string> chars(std::size_t count, bool high) {
        std::u16string out;
        out.reserve(std::min<std::size_t>(count, 4096));
        while (out.size() < count) {
            if (pos_ >= r_.parts[part_].size()) {
                if (part_ + 1 >= r_.parts.size()) return std::nullopt;
                ++part_;
                pos_ = 0;
                auto flags = u8();
                if (!flags) return std::nullopt;
                high = (*flags & 1) != 0;
                continue;
            }
            if (high) {
                if (r_.parts[part_].size() - pos_ < 2) return std::nullopt;
                out.push_back(static_cast<char16_t>(r_.parts[part_][pos_] | (r_.parts[part_][pos_ + 1] << 8)));
                pos_ += 2;
            } else {
                out.push_back(static_cast<char16_t>(r_.parts[part_][pos_]));
                ++pos_;
            }
        }
        return out;
    }
    // A string with a 16-bit (or 8-bit) length, a flags byte and characters; rich-text
    // runs and extensions are skipped.
    std::optional<std::string> unicodeString(bool shortLength) {
        std::optional<std::uint16_t> cch;
        if (shortLength) {
            auto c = u8();
            if (c) cch = *c;
        } else {
            cch = u16();
        }
        auto flags = u8();
        if (!cch || !flags) return std::nullopt;
        std::uint16_t runs = 0;
        std::uint32_t ext = 0;
        if (*flags & 0x08) {
            auto r = u16();
            if (!r) return std::nullopt;
            runs = *r;
        }
        if (*flags & 0x04) {
            auto e = u32();
            if (!e) return std::nullopt;
            ext = *e;
        }
        auto s = chars(*cch, (*flags & 1) != 0);
        if (!s || !skip(4u * runs) || !skip(ext)) return std::nullopt;
        return Utf16ToUtf8(*s);
    }
    // Skips bytes that may go on into the next parts.
    bool skip(std::size_t n) {
        while (n > 0) {
            if (!advanceIfAtEnd()) return false;
            const std::size_t k = std::min(n, r_.parts[part_].size() - pos_);
            pos_ += k;
            n -= k;
        }
        return true;
    }

private:
    bool advanceIfAtEnd() {
        while (pos_ >= r_.parts[part_].size()) {
            if (part_ + 1 >= r_.parts.size()) return false;
            ++part_;
            pos_ = 0;
        }
        return true;
    }
    const Record& r_;
    std::size_t part_ = 0;
    std::size_t pos_ = 0;
};

double DecodeRk(std::uint32_t rk) {
    double v = 0;
    if (rk & 2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 1) ? v / 100.0 : v;
}

CellRef Ref(std::uint16_t row, std::uint16_t col) { return {row + 1, col + 1}; }

// Any 16-bit row lies on the sheet; columns stop at IV.
bool ValidCell(std::uint16_t /*row*/, std::uint16_t col) { return col < kMaxCols; }

// --- workbook globals ---

// Fonts and formats are numbered by 16 bits; more of them cannot be referred to.
constexpr std::size_t kMaxIndexed = 65536;

void ReadFont(const Record& r, ScannedBook& book) {
    if (book.fontColors.size() >= kMaxIndexed) return;
    RecordCursor c(r);
    c.u16();
    c.u16();
    auto icv = c.u16();
    book.fontColors.push_back(icv ? *icv : 0x7FFF);
}

void ReadFormat(const Record& r, ScannedBook& book) {
    RecordCursor c(r);
    auto id = c.u16();
    auto s = c.unicodeString(false);
    if (id && s) book.formats[*id] = *s;
}

void ReadXf(const Record& r, ScannedBook& book) {
    if (book.xfs.size() >= kMaxIndexed) return;
    RecordCursor c(r);
    auto font = c.u16(), format = c.u16();
    book.xfs.push_back({font ? *font : std::uint16_t{0}, format ? *format : std::uint16_t{0}});
}

// SST: the shared strings; a damaged tail leaves the strings before it.
void ReadSst(const Record& r, ScannedBook& book) {
    RecordCursor c(r);
    c.u32();
    auto unique = c.u32();
    if (!unique) return;
    book.sharedStrings.reserve(std::min<std::uint32_t>(*unique, 65536));
    for (std::uint32_t i = 0; i < *unique; ++i) {
        auto s = c.unicodeString(false);
        if (!s) return;
        book.sharedStrings.push_back(std::move(*s));
    }
}

void ReadWindow1(const Record& r, ScannedBook& book) {
    RecordCursor c(r);
    for (int i = 0; i < 5; ++i) c.u16();
    if (auto tab = c.u16()) book.activeTab = *tab;
}

void ReadBoundsheet(const Record& r, ScannedBook& book) {
    if (book.sheets.size() > kMaxSheets) return;
    RecordCursor c(r);
    auto pos = c.u32();
    c.u8();
    auto type = c.u8();
    auto name = c.unicodeString(true);
    ScannedSheet sheet;
    sheet.offset = pos ? *pos : 0;
    sheet.isWorksheet = type && *type == 0;
    sheet.name = name ? *name : std::string();
    book.sheets.push_back(std::move(sheet));
}

// --- worksheet ---

struct SheetScan {
    ScannedSheet& sheet;
    std::size_t& cellBudget;
    int activePane = 3;
    bool haveSelection = false;
    bool selectionFromActivePane = false;
    bool pendingString = false;  // a FORMULA with a text result waits for its STRING record

    bool add(ScannedCell cell) {
        pendingString = false;
        if (cellBudget == 0) return false;
        --cellBudget;
        sheet.cells.push_back(std::move(cell));
        return true;
    }
};

bool ReadCellHeader(RecordCursor& c, ScannedCell& cell) {
    auto row = c.u16(), col = c.u16(), xf = c.u16();
    if (!row || !col || !xf || !ValidCell(*row, *col)) return false;
    cell.ref = Ref(*row, *col);
    cell.xf = *xf;
    return true;
}

void ReadLabelSst(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    auto index = c.u32();
    if (!index) return;
    cell.source = ScannedCell::Source::Shared;
    cell.sharedIndex = *index;
    s.add(std::move(cell));
}

void ReadLabel(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    auto text = c.unicodeString(false);
    if (!text) return;
    cell.source = ScannedCell::Source::Label;
    cell.text = *text;
    s.add(std::move(cell));
}

void ReadNumber(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    auto v = c.f64();
    if (!v) return;
    cell.source = ScannedCell::Source::Number;
    cell.number = *v;
    s.add(std::move(cell));
}

void ReadRk(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    auto rk = c.u32();
    if (!rk) return;
    cell.source = ScannedCell::Source::Number;
    cell.number = DecodeRk(*rk);
    s.add(std::move(cell));
}

// MULRK and MULBLANK: a run of cells in one row, the last column at the end of the record.
void ReadMulti(const Record& r, SheetScan& s, bool numbers) {
    const auto& body = r.body();
    RecordCursor c(r);
    auto row = c.u16(), first = c.u16();
    if (!row || !first || body.size() < 6) return;
    const std::size_t each = numbers ? 6 : 2;
    const std::size_t count = (body.size() - 6) / each;
    for (std::size_t i = 0; i < count; ++i) {
        auto xf = c.u16();
        std::optional<std::uint32_t> rk = numbers ? c.u32() : std::optional<std::uint32_t>(0);
        if (!xf || !rk) return;
        const std::size_t col = *first + i;
        if (col >= kMaxCols) return;
        ScannedCell cell;
        cell.ref = Ref(*row, static_cast<std::uint16_t>(col));
        cell.xf = *xf;
        cell.source = numbers ? ScannedCell::Source::Number : ScannedCell::Source::Blank;
        cell.number = numbers ? DecodeRk(*rk) : 0;
        s.add(std::move(cell));
    }
}

void ReadBlank(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    cell.source = ScannedCell::Source::Blank;
    s.add(std::move(cell));
}

void ReadBoolErr(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    auto value = c.u8(), isError = c.u8();
    if (!value || !isError) return;
    cell.source = *isError ? ScannedCell::Source::Error : ScannedCell::Source::Boolean;
    cell.number = *value;
    s.add(std::move(cell));
}

// FORMULA: only the cached result matters; a text result follows in a STRING record.
void ReadFormula(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    ScannedCell cell;
    if (!ReadCellHeader(c, cell)) return;
    std::uint8_t raw[8];
    for (auto& b : raw) {
        auto v = c.u8();
        if (!v) return;
        b = *v;
    }
    if (raw[6] == 0xFF && raw[7] == 0xFF) {
        switch (raw[0]) {
            case 0:
                cell.source = ScannedCell::Source::FormulaText;
                s.pendingString = s.add(std::move(cell));
                return;
            case 1:
                cell.source = ScannedCell::Source::FormulaBoolean;
                cell.number = raw[2] ? 1 : 0;
                break;
            case 2:
                cell.source = ScannedCell::Source::FormulaError;
                cell.number = raw[2];
                break;
            default:  // an empty text result
                cell.source = ScannedCell::Source::FormulaText;
                break;
        }
    } else {
        cell.source = ScannedCell::Source::FormulaNumber;
        std::memcpy(&cell.number, raw, sizeof cell.number);
    }
    s.add(std::move(cell));
}

void ReadString(const Record& r, SheetScan& s) {
    if (!s.pendingString || s.sheet.cells.empty()) return;  // add() keeps it only right after its FORMULA
    s.pendingString = false;
    RecordCursor c(r);
    if (auto text = c.unicodeString(false)) s.sheet.cells.back().text = *text;
}

void ReadWindow2(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto flags = c.u16(), top = c.u16(), left = c.u16();
    if (!flags) return;
    s.sheet.shown = (*flags & 0x0400) != 0;
    if (top && left && ValidCell(*top, *left)) s.sheet.topLeft = Ref(*top, *left);
}

void ReadPane(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    for (int i = 0; i < 4; ++i) c.u16();
    if (auto pane = c.u8()) s.activePane = *pane;
}

// SELECTION: the active cell and the range that holds it, for one pane of the window.
void ReadSelection(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto pane = c.u8();
    auto row = c.u16(), col = c.u16(), refIndex = c.u16(), count = c.u16();
    if (!pane || !row || !col || !refIndex || !count || !ValidCell(*row, *col)) return;
    const bool activePane = *pane == s.activePane;
    if (s.haveSelection && (s.selectionFromActivePane || !activePane)) return;
    const CellRef active = Ref(*row, *col);
    Rect selection{active, active};
    for (std::uint16_t i = 0; i < *count; ++i) {
        auto r1 = c.u16(), r2 = c.u16();
        auto c1 = c.u8(), c2 = c.u8();
        if (!r1 || !r2 || !c1 || !c2) break;
        if (i != *refIndex) continue;
        if (*r1 <= *r2 && *c1 <= *c2)
            selection = {Ref(*r1, *c1), Ref(*r2, *c2)};
    }
    s.sheet.activeCell = active;
    s.sheet.selection = selection;
    s.haveSelection = true;
    s.selectionFromActivePane = activePane;
}

bool ReadBof(const Record& r, std::uint16_t& version, std::uint16_t& kind) {
    RecordCursor c(r);
    auto v = c.u16(), k = c.u16();
    if (!v || !k) return false;
    version = *v;
    kind = *k;
    return true;
}

void ScanSheet(const std::vector<std::uint8_t>& stream, ScannedSheet& sheet, std::size_t& cellBudget) {
    if (!sheet.isWorksheet || sheet.offset >= stream.size()) return;
    RecordReader reader(stream, sheet.offset);
    auto bof = reader.next();
    std::uint16_t version = 0, kind = 0;
    if (!bof || bof->type != rec::BOF || !ReadBof(*bof, version, kind) || kind != kBofWorksheet) return;
    SheetScan s{sheet, cellBudget};
    int depth = 0;  // embedded substreams (charts) have their own BOF/EOF
    while (auto r = reader.next()) {
        if (r->type == rec::BOF) {
            ++depth;
            continue;
        }
        if (r->type == rec::EOF_) {
            if (depth == 0) break;
            --depth;
            continue;
        }
        if (depth > 0) continue;
        switch (r->type) {
            case rec::LABELSST: ReadLabelSst(*r, s); break;
            case rec::LABEL: ReadLabel(*r, s); break;
            case rec::NUMBER: ReadNumber(*r, s); break;
            case rec::RK: ReadRk(*r, s); break;
            case rec::MULRK: ReadMulti(*r, s, true); break;
            case rec::MULBLANK: ReadMulti(*r, s, false); break;
            case rec::BLANK: ReadBlank(*r, s); break;
            case rec::BOOLERR: ReadBoolErr(*r, s); break;
            case rec::FORMULA: ReadFormula(*r, s); break;
            case rec::STRING: ReadString(*r, s); break;
            case rec::WINDOW2: ReadWindow2(*r, s); break;
            case rec::PANE: ReadPane(*r, s); break;
            case rec::SELECTION: ReadSelection(*r, s); break;
            default: break;
        }
    }
}

}  // namespace

ScanFailure ScanWorkbookStream(const std::vector<std::uint8_t>& stream, ScannedBook& book) {
    RecordReader reader(stream, 0);
    auto bof = reader.next();
    std::uint16_t version = 0, kind = 0;
    if (!bof || bof->type != rec::BOF || !ReadBof(*bof, version, kind)) return ScanFailure::Damaged;
    if (version != kBiff8 || kind != kBofGlobals) return ScanFailure::NotBiff8;
    bool sawEof = false;
    while (auto r = reader.next()) {
        switch (r->type) {
            case kFilePass: return ScanFailure::Encrypted;
            case rec::FONT: ReadFont(*r, book); break;
            case rec::FORMAT: ReadFormat(*r, book); break;
            case rec::XF: ReadXf(*r, book); break;
            case rec::WINDOW1: ReadWindow1(*r, book); break;
            case rec::DATEMODE: {
                RecordCursor c(*r);
                if (auto mode = c.u16()) book.date1904 = *mode == 1;
                break;
            }
            case rec::BOUNDSHEET: ReadBoundsheet(*r, book); break;
            case rec::SST: ReadSst(*r, book); break;
            default: break;
        }
        if (r->type == rec::EOF_) {
            sawEof = true;
            break;
        }
    }
    if (!sawEof) return ScanFailure::Damaged;
    if (book.sheets.size() > kMaxSheets) return ScanFailure::Damaged;
    std::size_t cellBudget = kMaxCells;
    for (ScannedSheet& sheet : book.sheets) {
        ScanSheet(stream, sheet, cellBudget);
        for (ScannedCell& cell : sheet.cells) {
            if (cell.source != ScannedCell::Source::Shared) continue;
            if (cell.sharedIndex < book.sharedStrings.size())
                cell.text = book.sharedStrings[cell.sharedIndex];
            else
                cell.source = ScannedCell::Source::Blank;  // a string the table does not have
        }
    }
    return ScanFailure::None;
}

}  // namespace xl::internal
