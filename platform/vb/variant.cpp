#include "platform/vb/variant.h"

#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"

namespace vb {

namespace {
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Compilers without deduction for aggregates (clang before 17) need the guide.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
}  // namespace

Variant Variant::Deref() const {
    const Ref* r = std::get_if<Ref>(&value_);
    if (!r) return *this;
    return std::visit(Overloaded{
                          [](std::uint8_t* p) { return Variant(*p); },
                          [](std::int16_t* p) { return Variant(*p); },
                          [](std::int32_t* p) { return Variant(*p); },
                          [](double* p) { return Variant(*p); },
                          [](std::string* p) { return Variant(*p); },
                          [](Variant* p) { return p->Deref(); },
                      },
                      r->target);
}

VarType Variant::Type() const {
    if (IsByRef()) return Deref().Type();
    switch (value_.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Boolean;
    case 3: return VarType::Byte;
    case 4: return VarType::Integer;
    case 5: return VarType::Long;
    case 6: return VarType::Single;
    case 7: return VarType::Double;
    case 8: return VarType::Date;
    case 9: return VarType::String;
    default: return VarType::Array;
    }
}

bool Variant::IsNumeric() const {
    switch (Type()) {
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Date: return true;
    default: return false;
    }
}

double Variant::AsDouble() const {
    if (IsByRef()) return Deref().AsDouble();
    return std::visit(Overloaded{
                          [](bool b) { return b ? -1.0 : 0.0; },
                          [](std::uint8_t v) { return double(v); },
                          [](std::int16_t v) { return double(v); },
                          [](std::int32_t v) { return double(v); },
                          [](float v) { return double(v); },
                          [](double v) { return v; },
                          [](Date d) { return d.serial; },
                          [](const auto&) -> double { Raise(err::TypeMismatch); },
                      },
                      value_);
}

const std::string& Variant::AsString() const {
    if (const Ref* r = std::get_if<Ref>(&value_)) {
        if (auto* s = std::get_if<std::string*>(&r->target)) return **s;
        if (auto* v = std::get_if<Variant*>(&r->target)) return (*v)->AsString();
        Raise(err::TypeMismatch);
    }
    if (auto* s = std::get_if<std::string>(&value_)) return *s;
    Raise(err::TypeMismatch);
}

const VariantArray& Variant::AsArray() const {
    if (const Ref* r = std::get_if<Ref>(&value_)) {
        if (auto* v = std::get_if<Variant*>(&r->target)) return (*v)->AsArray();
        Raise(err::TypeMismatch);
    }
    if (auto* a = std::get_if<std::shared_ptr<VariantArray>>(&value_)) return **a;
    Raise(err::TypeMismatch);
}

bool Variant::AsBool() const {
    return AsDouble() != 0.0;
}

Date Variant::AsDate() const {
    if (IsByRef()) return Deref().AsDate();
    if (auto* d = std::get_if<Date>(&value_)) return *d;
    Raise(err::TypeMismatch);
}

void Variant::Assign(const Variant& v) {
    Ref* r = std::get_if<Ref>(&value_);
    if (!r) {
        *this = v.Deref();
        return;
    }
    std::visit(Overloaded{
                   // A typed variable converts as VB's assignment does: rounded
                   // half to even, error 6 when the value does not fit.
                   [&](std::uint8_t* p) { *p = CByte(v); },
                   [&](std::int16_t* p) { *p = CInt(v); },
                   [&](std::int32_t* p) { *p = CLng(v); },
                   [&](double* p) { *p = CDbl(v); },
                   [&](std::string* p) { *p = CStr(v); },
                   [&](Variant* p) { p->Assign(v); },
               },
               r->target);
}

bool Equals(const Variant& a0, const Variant& b0) {
    const Variant a = a0.Deref();
    const Variant b = b0.Deref();
    if (a.IsArray() || b.IsArray()) Raise(err::TypeMismatch);
    if (a.IsEmpty() || a.IsNull() || b.IsEmpty() || b.IsNull()) return false;
    if (a.IsNumeric() && b.IsNumeric()) return a.AsDouble() == b.AsDouble();
    if (a.IsString() && b.IsString()) return a.AsString() == b.AsString();
    return false;
}

bool LooseEquals(const Variant& a0, const Variant& b0) {
    const Variant a = a0.Deref();
    const Variant b = b0.Deref();
    if (a.IsArray() || b.IsArray()) Raise(err::TypeMismatch);
    if (a.IsNull() || b.IsNull()) return false;
    if (a.IsEmpty() && b.IsEmpty()) return true;
    if (a.IsEmpty()) return b.IsString() ? b.AsString().empty() : b.AsDouble() == 0.0;
    if (b.IsEmpty()) return a.IsString() ? a.AsString().empty() : a.AsDouble() == 0.0;
    return Equals(a, b);
}

}  // namespace vb
