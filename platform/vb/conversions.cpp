#include "platform/vb/conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/vb/runtime_error.h"

namespace vb {

double RoundHalfEven(double x) {
    return std::nearbyint(x);  // the default rounding mode is to nearest, ties to even
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A whole text read as a number, as the C* conversions accept it: optional
// blanks around, a sign, digits with "." as decimal point, an exponent, or
// &H/&O prefixes. Returns false when the text is not a number.
bool ParseNumber(const std::string& text, double& out) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    if (b == e) return false;
    std::string t = text.substr(b, e - b);
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        int base = (t[1] == 'H' || t[1] == 'h') ? 16 : 8;
        char* end = nullptr;
        long long v = std::strtoll(t.c_str() + 2, &end, base);
        if (*end != '\0') return false;
        out = double(v);
        return true;
    }
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
            return false;
    char* end = nullptr;
    out = std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

double ToNumber(const Variant& v0) {
    const Variant v = v0.Deref();
    switch (v.Type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: Raise(94, {}, "Invalid use of Null");
    case VarType::String: {
        double d = 0;
        if (!ParseNumber(v.AsString(), d)) Raise(err::TypeMismatch);
        return d;
    }
    case VarType::Array: Raise(err::TypeMismatch);
    default: return v.AsDouble();
    }
}

template <class T>
T ToWhole(const Variant& v) {
    const double r = RoundHalfEven(ToNumber(v));
    if (std::isnan(r) || r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        Raise(err::Overflow);
    return static_cast<T>(r);
}

}  // namespace

std::uint8_t CByte(const Variant& v) { return ToWhole<std::uint8_t>(v); }
std::int16_t CInt(const Variant& v) { return ToWhole<std::int16_t>(v); }
std::int32_t CLng(const Variant& v) { return ToWhole<std::int32_t>(v); }
double CDbl(const Variant& v) { return ToNumber(v); }

bool CBool(const Variant& v0) {
    const Variant v = v0.Deref();
    if (v.IsString()) {
        const std::string& s = v.AsString();
        if (s == "True" || s == "true" || s == "TRUE") return true;
        if (s == "False" || s == "false" || s == "FALSE") return false;
    }
    return ToNumber(v) != 0.0;
}

std::string CStr(const Variant& v0) {
    const Variant v = v0.Deref();
    switch (v.Type()) {
    case VarType::Empty: return {};
    case VarType::Null: Raise(94, {}, "Invalid use of Null");
    case VarType::Boolean: return v.AsBool() ? "True" : "False";
    case VarType::String: return v.AsString();
    case VarType::Array: Raise(err::TypeMismatch);
    case VarType::Single: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.7g", v.AsDouble());
        return buf;
    }
    default: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", v.AsDouble());
        return buf;
    }
    }
}

double Val(const std::string& s) {
    // Val skips blanks, tabs and line feeds anywhere, then reads as far as the
    // characters still form a number.
    std::string t;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n') t += c;
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        return double(std::strtoll(t.c_str() + 2, nullptr, (t[1] == 'H' || t[1] == 'h') ? 16 : 8));
    }
    std::size_t i = 0;
    std::string num;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) num += t[i++];
    bool digits = false, dot = false;
    while (i < t.size()) {
        char c = t[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            num += c;
        } else if (c == '.' && !dot) {
            dot = true;
            num += c;
        } else {
            break;
        }
        ++i;
    }
    if (digits && i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exp += t[j++];
        std::size_t k = j;
        while (k < t.size() && std::isdigit(static_cast<unsigned char>(t[k]))) exp += t[k++];
        if (k > j) num += exp;
    }
    if (!digits) return 0.0;
    return std::strtod(num.c_str(), nullptr);
}

}  // namespace vb
