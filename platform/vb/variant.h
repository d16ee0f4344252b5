// The Variant of the program's handler code: the VB value types the program
// uses, arrays, and by-reference variants that refer to a caller's variable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace vb {

enum class VarType {
    Empty,
    Null,
    Boolean,
    Byte,
    Integer,  // 16-bit signed
    Long,     // 32-bit signed
    Single,
    Double,
    Date,
    String,
    Array,
};

// VB's True is -1 and False 0; a Boolean Variant keeps that numeric value.
struct Null {};

// A date/time as VB keeps it: days since 30 Dec 1899, time of day as the fraction.
struct Date {
    double serial = 0.0;
    bool operator==(const Date&) const = default;
};

class Variant;
using VariantArray = std::vector<Variant>;

class Variant {
public:
    Variant() = default;
    Variant(Null) : value_(Null{}) {}
    Variant(bool b) : value_(b) {}
    Variant(std::uint8_t v) : value_(v) {}
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(Date v) : value_(v) {}
    Variant(std::string s) : value_(std::move(s)) {}
    Variant(const char* s) : value_(std::string(s)) {}
    Variant(VariantArray a) : value_(std::make_shared<VariantArray>(std::move(a))) {}

    // By-reference variants: they refer to a caller's variable and read through it.
    static Variant ByRef(std::uint8_t& v) { return Variant(Ref{&v}); }
    static Variant ByRef(std::int16_t& v) { return Variant(Ref{&v}); }
    static Variant ByRef(std::int32_t& v) { return Variant(Ref{&v}); }
    static Variant ByRef(double& v) { return Variant(Ref{&v}); }
    static Variant ByRef(std::string& v) { return Variant(Ref{&v}); }
    static Variant ByRef(Variant& v) { return Variant(Ref{&v}); }

    bool IsByRef() const { return std::holds_alternative<Ref>(value_); }
    // The value itself, with every by-reference step followed.
    Variant Deref() const;

    VarType Type() const;  // type of the dereferenced value
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsNumeric() const;  // Boolean, Byte, Integer, Long, Single, Double, Date
    bool IsString() const { return Type() == VarType::String; }
    bool IsArray() const { return Type() == VarType::Array; }

    // Raw accessors of the dereferenced value; they raise error 13 on a
    // different type. The numeric one accepts every numeric type.
    double AsDouble() const;
    const std::string& AsString() const;
    const VariantArray& AsArray() const;
    bool AsBool() const;
    Date AsDate() const;

    // Assignment through a by-reference variant writes the caller's variable.
    void Assign(const Variant& v);

private:
    struct Ref {
        std::variant<std::uint8_t*, std::int16_t*, std::int32_t*, double*, std::string*, Variant*> target;
    };
    explicit Variant(Ref r) : value_(r) {}

    using Storage = std::variant<std::monostate, Null, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                                 double, Date, std::string, std::shared_ptr<VariantArray>, Ref>;
    Storage value_;
};

// Equality of a value with a candidate, as the component compares: numbers
// across numeric types by value, strings exactly and case-sensitively, a
// number never equals a string; Empty and Null equal nothing. Arrays raise
// error 13.
bool Equals(const Variant& a, const Variant& b);

// VB's "=" in handler code, where Empty takes the value of the other side
// (Empty = False, Empty = 0 and Empty = "" all hold) and Null equals nothing.
bool LooseEquals(const Variant& a, const Variant& b);

}  // namespace vb
