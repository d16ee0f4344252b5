#include "platform/xls/internal/xls_scan.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "platform/xls/internal/biff_stream.h"
#include "platform/xls/internal/xls_formats.h"
#include "platform/xls/internal/xls_styles.h"

namespace xl::internal {

namespace {

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBofGlobals = 0x0005;
constexpr std::uint16_t kBofWorksheet = 0x0010;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr double kDays1904 = 1462;  // serial of 1 Jan 1904 in the 1900 system
// Far more than any song; they bound the memory and time a hostile file can cost.
constexpr std::size_t kMaxCells = 2u * 1024 * 1024;  // cell records over all sheets
constexpr std::size_t kMaxSheets = 4096;

// Reads across a record and its CONTINUE parts; strings restart with a flags byte in each part.
class RecordCursor {
public:
    explicit RecordCursor(const Record& r) : r_(r) {}

    std::optional<std::uint8_t> u8() {
        if (!advanceIfAtEnd()) return std::nullopt;
        return part()[pos_++];
    }
    std::optional<std::uint16_t> u16() {
        if (left() >= 2) {
            const auto v = static_cast<std::uint16_t>(part()[pos_] | (part()[pos_ + 1] << 8));
            pos_ += 2;
            return v;
        }
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
        if (!raw8(raw)) return std::nullopt;
        double d = 0;
        std::memcpy(&d, raw, sizeof d);  // the file is little-endian, as this machine
        return d;
    }
    bool raw8(std::uint8_t (&raw)[8]) {
        if (left() >= 8) {
            std::memcpy(raw, part().data() + pos_, 8);
            pos_ += 8;
            return true;
        }
        for (auto& byte : raw) {
            auto v = u8();
            if (!v) return false;
            byte = *v;
        }
        return true;
    }
    // `count` characters; a character run that goes on in a CONTINUE part starts with its flags.
    std::optional<std::u16string> chars(std::size_t count, bool high) {
        std::u16string out;
        out.reserve(std::min<std::size_t>(count, 4096));
        while (out.size() < count) {
            if (pos_ >= part().size()) {
                if (part_ + 1 >= r_.parts.size()) return std::nullopt;
                ++part_;
                pos_ = 0;
                auto flags = u8();
                if (!flags) return std::nullopt;
                high = (*flags & 1) != 0;
                continue;
            }
            const auto p = part();
            if (high) {
                const std::size_t n = std::min(count - out.size(), (p.size() - pos_) / 2);
                if (n == 0) return std::nullopt;  // half a character
                for (std::size_t i = 0; i < n; ++i, pos_ += 2)
                    out.push_back(static_cast<char16_t>(p[pos_] | (p[pos_ + 1] << 8)));
            } else {
                const std::size_t n = std::min(count - out.size(), p.size() - pos_);
                for (std::size_t i = 0; i < n; ++i) out.push_back(static_cast<char16_t>(p[pos_++]));
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
            const std::size_t k = std::min(n, part().size() - pos_);
            pos_ += k;
            n -= k;
        }
        return true;
    }

private:
    std::span<const std::uint8_t> part() const { return r_.parts[part_]; }
    std::size_t left() const { return part().size() - pos_; }
    bool advanceIfAtEnd() {
        while (pos_ >= part().size()) {
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

struct Globals {
    bool date1904 = false;
    std::vector<std::uint16_t> fontColors;          // palette index per font, in font index order (4 skipped)
    std::map<std::uint16_t, std::string> formats;  // custom number formats
    struct Xf {
        std::uint16_t font = 0;
        std::uint16_t format = 0;
    };
    std::vector<Xf> xfs;
    std::vector<SharedText> sharedStrings;
};

// What a cell format means for a cell: its font colour and whether it shows numbers as dates.
struct XfLook {
    int colorIndex = 0;
    DateShape shape;
};

void ReadFont(const Record& r, Globals& g) {
    if (g.fontColors.size() >= kMaxIndexed) return;
    RecordCursor c(r);
    c.u16();
    c.u16();
    auto icv = c.u16();
    g.fontColors.push_back(icv ? *icv : 0x7FFF);
}

void ReadFormat(const Record& r, Globals& g) {
    RecordCursor c(r);
    auto id = c.u16();
    auto s = c.unicodeString(false);
    if (id && s) g.formats[*id] = std::move(*s);
}

void ReadXf(const Record& r, Globals& g) {
    if (g.xfs.size() >= kMaxIndexed) return;
    RecordCursor c(r);
    auto font = c.u16(), format = c.u16();
    g.xfs.push_back({font ? *font : std::uint16_t{0}, format ? *format : std::uint16_t{0}});
}

// SST: the shared strings; a damaged tail leaves the strings before it.
void ReadSst(const Record& r, Globals& g) {
    RecordCursor c(r);
    c.u32();
    auto unique = c.u32();
    if (!unique) return;
    g.sharedStrings.reserve(std::min<std::uint32_t>(*unique, 65536));
    for (std::uint32_t i = 0; i < *unique; ++i) {
        auto s = c.unicodeString(false);
        if (!s) return;
        g.sharedStrings.emplace_back(std::move(*s));
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
    sheet.sheet.name = name ? std::move(*name) : std::string();
    book.sheets.push_back(std::move(sheet));
}

// The colour and date shape of every cell format, each number format classified once.
std::vector<XfLook> LooksOfXfs(const Globals& g) {
    std::map<std::uint16_t, DateShape> shapes;
    std::vector<XfLook> looks;
    looks.reserve(g.xfs.size());
    for (const Globals::Xf& xf : g.xfs) {
        XfLook look;
        auto shape = shapes.find(xf.format);
        if (shape == shapes.end()) {
            const auto f = g.formats.find(xf.format);
            shape = shapes.emplace(xf.format, ClassifyNumberFormat(xf.format, f == g.formats.end() ? std::string()
                                                                                                 : f->second))
                        .first;
        }
        look.shape = shape->second;
        std::size_t font = xf.font;
        if (font != 4) {  // there is no font 4
            if (font > 4) --font;
            if (font < g.fontColors.size()) look.colorIndex = ColorIndexFromPalette(g.fontColors[font]);
        }
        looks.push_back(look);
    }
    return looks;
}

// --- worksheet ---

// The cells of one sheet as its records come. A later record for the same cell
// wins, as in a spreadsheet; an empty one (no value, no colour) clears it.
// Cells in row order go straight to the end of the sheet; the few that come
// after a later cell are put in place at the end.
class SheetCells {
public:
    SheetCells(CellStore& cells, std::size_t& budget) : cells_(cells), budget_(budget) {}

    bool put(CellRef ref, Cell&& cell) {
        if (budget_ == 0) return false;
        --budget_;
        const bool empty = cell.kind == Cell::Kind::Empty && cell.colorIndex == 0;
        if (!any_ || last_ < ref) {
            any_ = true;
            last_ = ref;
            if (!empty) cells_[ref] = std::move(cell);
        } else if (ref == last_) {
            if (empty) cells_.erase(ref);
            else cells_[ref] = std::move(cell);
        } else {
            late_.push_back({ref, std::move(cell)});
        }
        return true;
    }

    void finish() {
        if (late_.empty()) return;
        std::stable_sort(late_.begin(), late_.end(),
                         [](const CellStore::Entry& a, const CellStore::Entry& b) { return a.first < b.first; });
        CellStore merged;
        auto it = cells_.begin();
        std::size_t i = 0;
        while (it != cells_.end() || i < late_.size()) {
            if (i == late_.size() || (it != cells_.end() && it->first < late_[i].first)) {
                merged[it->first] = std::move(it->second);
                ++it;
                continue;
            }
            // The last of the late records for one cell holds; it came after the one in place.
            const CellRef ref = late_[i].first;
            while (i + 1 < late_.size() && late_[i + 1].first == ref) ++i;
            if (it != cells_.end() && it->first == ref) ++it;
            Cell& cell = late_[i++].second;
            if (cell.kind != Cell::Kind::Empty || cell.colorIndex != 0) merged[ref] = std::move(cell);
        }
        cells_ = std::move(merged);
        late_.clear();
    }

private:
    CellStore& cells_;
    std::size_t& budget_;
    std::vector<CellStore::Entry> late_;
    CellRef last_{0, 0};
    bool any_ = false;
};

struct SheetScan {
    SheetScan(const Globals& globals, const std::vector<XfLook>& xfLooks, ScannedSheet& scanned, std::size_t& budget)
        : g(globals), looks(xfLooks), sheet(scanned), cells(scanned.sheet.cells, budget) {}

    const Globals& g;
    const std::vector<XfLook>& looks;
    ScannedSheet& sheet;
    SheetCells cells;
    int activePane = 3;
    bool haveSelection = false;
    bool selectionFromActivePane = false;
    // A FORMULA with a text result waits for its STRING record.
    bool pendingString = false;
    CellRef pendingRef;
    Cell pendingCell;

    const XfLook& look(std::uint16_t xf) const {
        static const XfLook plain;
        return xf < looks.size() ? looks[xf] : plain;
    }
    // A cell of the given format, without a value yet.
    Cell blank(std::uint16_t xf) const {
        Cell cell;
        cell.colorIndex = look(xf).colorIndex;
        return cell;
    }
    // The value of a number cell, as a date when its format shows one.
    Cell number(std::uint16_t xf, double value) const {
        Cell cell = blank(xf);
        const DateShape& shape = look(xf).shape;
        cell.number = value;
        cell.kind = Cell::Kind::Number;
        if (shape.isDate && std::isfinite(value)) {
            cell.kind = Cell::Kind::Date;
            cell.dateHasDay = shape.hasDay;
            cell.dateHasTime = shape.hasTime;
            if (g.date1904) cell.number += kDays1904;
        }
        return cell;
    }
    bool add(CellRef ref, Cell&& cell) {
        flushPending();
        return cells.put(ref, std::move(cell));
    }
    // A formula's text result that got no STRING record stays an empty cell.
    void flushPending() {
        if (!pendingString) return;
        pendingString = false;
        cells.put(pendingRef, std::move(pendingCell));
    }
};

// An empty text is an empty cell, as a spreadsheet shows it.
void SetText(Cell& cell, SharedText text) {
    if (text.empty()) return;
    cell.kind = Cell::Kind::Text;
    cell.text = std::move(text);
}

struct CellHeader {
    CellRef ref;
    std::uint16_t xf = 0;
};

std::optional<CellHeader> ReadCellHeader(RecordCursor& c) {
    auto row = c.u16(), col = c.u16(), xf = c.u16();
    if (!row || !col || !xf || !ValidCell(*row, *col)) return std::nullopt;
    return CellHeader{Ref(*row, *col), *xf};
}

void ReadLabelSst(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    auto index = c.u32();
    if (!index) return;
    Cell cell = s.blank(h->xf);
    // A string the table does not have leaves the cell empty.
    if (*index < s.g.sharedStrings.size()) SetText(cell, s.g.sharedStrings[*index]);
    s.add(h->ref, std::move(cell));
}

void ReadLabel(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    auto text = c.unicodeString(false);
    if (!text) return;
    Cell cell = s.blank(h->xf);
    SetText(cell, std::move(*text));
    s.add(h->ref, std::move(cell));
}

void ReadNumber(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    auto v = c.f64();
    if (!v) return;
    s.add(h->ref, s.number(h->xf, *v));
}

void ReadRk(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    auto rk = c.u32();
    if (!rk) return;
    s.add(h->ref, s.number(h->xf, DecodeRk(*rk)));
}

// MULRK and MULBLANK: a run of cells in one row, the last column at the end of the record.
void ReadMulti(const Record& r, SheetScan& s, bool numbers) {
    const auto body = r.body();
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
        const CellRef ref = Ref(*row, static_cast<std::uint16_t>(col));
        if (!s.add(ref, numbers ? s.number(*xf, DecodeRk(*rk)) : s.blank(*xf))) return;
    }
}

void ReadBlank(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    s.add(h->ref, s.blank(h->xf));
}

void ReadBoolErr(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    auto value = c.u8(), isError = c.u8();
    if (!value || !isError) return;
    Cell cell = s.blank(h->xf);
    cell.kind = *isError ? Cell::Kind::Error : Cell::Kind::Boolean;
    cell.number = *isError ? *value : (*value ? 1 : 0);
    s.add(h->ref, std::move(cell));
}

// FORMULA: only the cached result matters; a text result follows in a STRING record.
void ReadFormula(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto h = ReadCellHeader(c);
    if (!h) return;
    std::uint8_t raw[8];
    if (!c.raw8(raw)) return;
    if (raw[6] != 0xFF || raw[7] != 0xFF) {
        double v = 0;
        std::memcpy(&v, raw, sizeof v);
        s.add(h->ref, s.number(h->xf, v));
        return;
    }
    Cell cell = s.blank(h->xf);
    switch (raw[0]) {
        case 0:
            s.flushPending();
            s.pendingString = true;
            s.pendingRef = h->ref;
            s.pendingCell = std::move(cell);
            return;
        case 1:
            cell.kind = Cell::Kind::Boolean;
            cell.number = raw[2] ? 1 : 0;
            break;
        case 2:
            cell.kind = Cell::Kind::Error;
            cell.number = raw[2];
            break;
        default:  // an empty text result
            break;
    }
    s.add(h->ref, std::move(cell));
}

void ReadString(const Record& r, SheetScan& s) {
    if (!s.pendingString) return;  // only right after its FORMULA
    RecordCursor c(r);
    if (auto text = c.unicodeString(false)) SetText(s.pendingCell, std::move(*text));
    s.flushPending();
}

void ReadWindow2(const Record& r, SheetScan& s) {
    RecordCursor c(r);
    auto flags = c.u16(), top = c.u16(), left = c.u16();
    if (!flags) return;
    s.sheet.shown = (*flags & 0x0400) != 0;
    if (top && left && ValidCell(*top, *left)) s.sheet.sheet.topLeft = Ref(*top, *left);
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
    s.sheet.sheet.activeCell = active;
    s.sheet.sheet.selection = selection;
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

// Scans one worksheet substream; returns the stream offset where its records end.
std::size_t ScanSheet(std::span<const std::uint8_t> stream, const Globals& g, const std::vector<XfLook>& looks,
                      ScannedSheet& sheet, std::size_t& cellBudget) {
    RecordReader reader(stream, sheet.offset);
    Record r;
    std::uint16_t version = 0, kind = 0;
    if (!reader.next(r) || r.type != rec::BOF || !ReadBof(r, version, kind) || kind != kBofWorksheet)
        return reader.position();
    SheetScan s(g, looks, sheet, cellBudget);
    int depth = 0;  // embedded substreams (charts) have their own BOF/EOF
    while (reader.next(r)) {
        if (r.type == rec::BOF) {
            ++depth;
            continue;
        }
        if (r.type == rec::EOF_) {
            if (depth == 0) break;
            --depth;
            continue;
        }
        if (depth > 0) continue;
        switch (r.type) {
            case rec::LABELSST: ReadLabelSst(r, s); break;
            case rec::LABEL: ReadLabel(r, s); break;
            case rec::NUMBER: ReadNumber(r, s); break;
            case rec::RK: ReadRk(r, s); break;
            case rec::MULRK: ReadMulti(r, s, true); break;
            case rec::MULBLANK: ReadMulti(r, s, false); break;
            case rec::BLANK: ReadBlank(r, s); break;
            case rec::BOOLERR: ReadBoolErr(r, s); break;
            case rec::FORMULA: ReadFormula(r, s); break;
            case rec::STRING: ReadString(r, s); break;
            case rec::WINDOW2: ReadWindow2(r, s); break;
            case rec::PANE: ReadPane(r, s); break;
            case rec::SELECTION: ReadSelection(r, s); break;
            default: break;
        }
    }
    s.flushPending();
    s.cells.finish();
    return reader.position();
}

}  // namespace

ScanFailure ScanWorkbookStream(std::span<const std::uint8_t> stream, ScannedBook& book) {
    RecordReader reader(stream, 0);
    Record r;
    std::uint16_t version = 0, kind = 0;
    if (!reader.next(r) || r.type != rec::BOF || !ReadBof(r, version, kind)) return ScanFailure::Damaged;
    if (version != kBiff8 || kind != kBofGlobals) return ScanFailure::NotBiff8;
    Globals g;
    bool sawEof = false;
    while (!sawEof && reader.next(r)) {
        switch (r.type) {
            case kFilePass: return ScanFailure::Encrypted;
            case rec::FONT: ReadFont(r, g); break;
            case rec::FORMAT: ReadFormat(r, g); break;
            case rec::XF: ReadXf(r, g); break;
            case rec::WINDOW1: ReadWindow1(r, book); break;
            case rec::DATEMODE: {
                RecordCursor c(r);
                if (auto mode = c.u16()) g.date1904 = *mode == 1;
                break;
            }
            case rec::BOUNDSHEET: ReadBoundsheet(r, book); break;
            case rec::SST: ReadSst(r, g); break;
            case rec::EOF_: sawEof = true; break;
            default: break;
        }
    }
    if (!sawEof) return ScanFailure::Damaged;
    if (book.sheets.size() > kMaxSheets) return ScanFailure::Damaged;
    const std::vector<XfLook> looks = LooksOfXfs(g);

    // The worksheets in stream order: each must begin after the one before it ends,
    // so that no record is read twice (entries pointing into one stream are damage).
    std::vector<ScannedSheet*> order;
    for (ScannedSheet& sheet : book.sheets)
        if (sheet.isWorksheet && sheet.offset < stream.size()) order.push_back(&sheet);
    std::stable_sort(order.begin(), order.end(),
                     [](const ScannedSheet* a, const ScannedSheet* b) { return a->offset < b->offset; });
    std::size_t cellBudget = kMaxCells;
    std::size_t endOfLast = 0;
    for (ScannedSheet* sheet : order) {
        if (sheet->offset < endOfLast) return ScanFailure::Damaged;
        endOfLast = ScanSheet(stream, g, looks, *sheet, cellBudget);
    }
    return ScanFailure::None;
}

}  // namespace xl::internal
