// Addresses, displayed text and the conversion of cells to and from Variants.
#include <QString>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/excel/application.h"
#include "platform/excel/internal/engine.h"
#include "platform/vb/runtime_error.h"

namespace xl::engine {

void Fail1004(const std::string& description) { vb::Raise(vb::err::ApplicationDefined, kErrorSource, description); }
void Fail9(const std::string& description) { vb::Raise(vb::err::SubscriptOutOfRange, kErrorSource, description); }
void Fail91() {
    vb::Raise(vb::err::ObjectNotSet, kErrorSource, "Proměnná objektu nebo proměnná bloku With není nastavena.");
}

std::string ColumnName(int col) {
    std::string s;
    while (col > 0) {
        const int d = (col - 1) % 26;
        s.insert(s.begin(), static_cast<char>('A' + d));
        col = (col - 1) / 26;
    }
    return s;
}

namespace {

// One cell reference such as "$HC$32341"; advances `i`.
bool ParseRef(const std::string& a, std::size_t& i, CellRef& out) {
    if (i < a.size() && a[i] == '$') ++i;
    int col = 0, letters = 0;
    while (i < a.size() && std::isalpha(static_cast<unsigned char>(a[i]))) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(a[i])));
        col = col * 26 + (c - 'A' + 1);
        if (++letters > 3) return false;
        ++i;
    }
    if (letters == 0 || col > internal::kMaxCols) return false;
    if (i < a.size() && a[i] == '$') ++i;
    long row = 0;
    int digits = 0;
    while (i < a.size() && std::isdigit(static_cast<unsigned char>(a[i]))) {
        row = row * 10 + (a[i] - '0');
        if (++digits > 6) return false;
        ++i;
    }
    if (digits == 0 || row < 1 || row > internal::kMaxRows) return false;
    out = CellRef{static_cast<int>(row), col};
    return true;
}

// Days since 30 Dec 1899 to a civil date (proleptic Gregorian).
void CivilFromSerial(long days, int& y, int& m, int& d) {
    const long zz = days - 25569 + 719468;  // 25569 is the serial of 1 Jan 1970
    const long era = (zz >= 0 ? zz : zz - 146096) / 146097;
    const long doe = zz - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::string NumberText(double v) {
    if (v == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.11G", v);
    std::string s = buf;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

}  // namespace

std::optional<Rect> ParseAddress(const std::string& address) {
    std::size_t i = 0;
    CellRef a, b;
    if (!ParseRef(address, i, a)) return std::nullopt;
    b = a;
    if (i < address.size()) {
        if (address[i] != ':') return std::nullopt;
        ++i;
        if (!ParseRef(address, i, b) || i != address.size()) return std::nullopt;
    }
    Rect r;
    r.first = {std::min(a.row, b.row), std::min(a.col, b.col)};
    r.last = {std::max(a.row, b.row), std::max(a.col, b.col)};
    return r;
}

std::string FormatAddress(const Rect& r) {
    auto one = [](CellRef c) { return "$" + ColumnName(c.col) + "$" + std::to_string(c.row); };
    if (r.first == r.last) return one(r.first);
    return one(r.first) + ":" + one(r.last);
}

std::string DisplayText(const Cell& c) {
    switch (c.kind) {
    case Cell::Kind::Empty: return {};
    case Cell::Kind::Text:
    case Cell::Kind::Error: return c.text;
    case Cell::Kind::Number: return NumberText(c.number);
    case Cell::Kind::Boolean: return c.number != 0 ? "PRAVDA" : "NEPRAVDA";
    case Cell::Kind::Date: {
        const double days = std::floor(c.number);
        long secs = std::lround((c.number - days) * 86400.0);
        long dayCount = static_cast<long>(days);
        if (secs >= 86400) {
            secs -= 86400;
            ++dayCount;
        }
        std::string out;
        char buf[48];
        if (c.dateHasDay || !c.dateHasTime) {
            int y, m, d;
            CivilFromSerial(dayCount, y, m, d);
            std::snprintf(buf, sizeof buf, "%d.%d.%d", d, m, y);
            out = buf;
        }
        if (c.dateHasTime) {
            std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
            if (!out.empty()) out += ' ';
            out += buf;
        }
        return out;
    }
    }
    return {};
}

std::string Fold(const std::string& s) {
    bool ascii = true;
    for (unsigned char c : s)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        std::string r = s;
        for (char& c : r)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return r;
    }
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toCaseFolded().toStdString();
}

vb::Variant ToVariant(const Cell& c) {
    switch (c.kind) {
    case Cell::Kind::Empty: return {};
    case Cell::Kind::Text:
    case Cell::Kind::Error: return c.text.str();
    case Cell::Kind::Number: return c.number;
    case Cell::Kind::Boolean: return c.number != 0;
    case Cell::Kind::Date: return vb::Date{c.number};
    }
    return {};
}

Cell FromVariant(const vb::Variant& v0) {
    const vb::Variant v = v0.Deref();
    Cell c;
    switch (v.Type()) {
    case vb::VarType::Empty:
    case vb::VarType::Null: return c;
    case vb::VarType::Array: vb::Raise(vb::err::TypeMismatch, kErrorSource, "Neshoda typů: pole nelze zapsat do buňky.");
    case vb::VarType::String:
        if (v.AsString().empty()) return c;
        c.kind = Cell::Kind::Text;
        c.text = v.AsString();
        return c;
    case vb::VarType::Boolean:
        c.kind = Cell::Kind::Boolean;
        c.number = v.AsBool() ? 1 : 0;
        return c;
    case vb::VarType::Date: {
        c.kind = Cell::Kind::Date;
        c.number = v.AsDate().serial;
        const double whole = std::trunc(c.number);
        c.dateHasTime = c.number != whole;
        c.dateHasDay = whole != 0 || !c.dateHasTime;
        return c;
    }
    default:
        c.kind = Cell::Kind::Number;
        c.number = v.AsDouble();
        return c;
    }
}

Cell FromTyped(const std::string& typed) {
    std::size_t b = 0, e = typed.size();
    while (b < e && std::isspace(static_cast<unsigned char>(typed[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(typed[e - 1]))) --e;
    Cell c;
    if (b == e) return c;
    std::string t = typed.substr(b, e - b);
    // A number with a decimal comma or point; anything else stays text.
    std::string n = t;
    bool numeric = true;
    for (char& ch : n) {
        if (ch == ',') ch = '.';
        else if (!(std::isdigit(static_cast<unsigned char>(ch)) || ch == '.' || ch == '-' || ch == '+' || ch == 'e' ||
                   ch == 'E'))
            numeric = false;
    }
    if (numeric && std::isdigit(static_cast<unsigned char>(n.back()))) {
        char* end = nullptr;
        const double v = std::strtod(n.c_str(), &end);
        if (end == n.c_str() + n.size() && std::isfinite(v)) {
            c.kind = Cell::Kind::Number;
            c.number = v;
            return c;
        }
    }
    c.kind = Cell::Kind::Text;
    c.text = typed;
    return c;
}

const Cell* FindCell(const SheetData& sh, CellRef at) { return sh.s.cells.Find(at); }

}  // namespace xl::engine
