// Between the program's vb::Variant and the boundary VARIANT: results are
// converted by value; arguments go through VariantArg, which passes a caller's
// variable by reference as VB does for a ByRef parameter.
#pragma once

#include "platform/com/variant.h"
#include "platform/vb/variant.h"

namespace com {

// The value, references followed, arrays copied element by element. A type
// that vb::Variant cannot hold raises error 13.
vb::Variant ToVbVariant(const VARIANT& v);
// The dereferenced value of v into out, which must be initialised (it is
// cleared first). E_OUTOFMEMORY when a string cannot be allocated.
HRESULT FromVbVariant(const vb::Variant& v, VARIANT* out);

// One argument of a call across the boundary, alive for the call.
//
// From a variable (a non-const vb::Variant, by-reference or not) it makes a
// by-reference VARIANT: a by-reference vb::Variant to a Byte, Integer, Long,
// Double or String becomes VT_BYREF with that type, anything else
// VT_BYREF | VT_VARIANT. The callee sees a variable of its own; whatever it
// writes there reaches the caller's variable when the argument goes away.
// From a value (const or temporary) it makes a plain VARIANT copy.
class VariantArg {
public:
    explicit VariantArg(vb::Variant& variable);
    explicit VariantArg(const vb::Variant& value);
    ~VariantArg();
    VariantArg(const VariantArg&) = delete;
    VariantArg& operator=(const VariantArg&) = delete;

    VARIANT* get() { return &arg_; }

private:
    vb::Variant* variable_ = nullptr;
    VARIANT arg_;
    VARIANT shadowVariant_;
    std::uint8_t shadowByte_ = 0;
    std::int16_t shadowInteger_ = 0;
    std::int32_t shadowLong_ = 0;
    double shadowDouble_ = 0;
    BSTR shadowString_ = nullptr;
};

}  // namespace com
