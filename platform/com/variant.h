// The variant that crosses a component boundary: a plain C-layout struct with
// a type tag and a union, strings as length-prefixed UTF-8 buffers (BSTR),
// one-dimensional arrays of variants, and by-reference variants that point to
// the caller's own variable. Both sides allocate and free with the C heap, so
// a value made on one side of the boundary can be freed on the other.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/com/hresult.h"

namespace com {

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using BSTR = char*;  // points at the text; the 32-bit byte length sits just before it
using DATE = double;  // days since 30 Dec 1899, time of day as the fraction

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UI1 = 17,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct VARIANT;

// A one-dimensional array of variants with its own lower bound.
struct SAFEARRAY {
    std::int32_t lowerBound;
    std::uint32_t count;
    VARIANT* data;
};

struct VARIANT {
    VARTYPE vt;
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint16_t reserved3;
    union {
        std::uint8_t bVal;
        std::int16_t iVal;
        std::int32_t lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        DATE date;
        BSTR bstrVal;
        SAFEARRAY* parray;
        std::uint8_t* pbVal;
        std::int16_t* piVal;
        std::int32_t* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        DATE* pdate;
        BSTR* pbstrVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
    };
};

// Strings. SysAllocString copies the bytes; a null BSTR reads as "".
BSTR SysAllocString(std::string_view text);
void SysFreeString(BSTR s);
std::uint32_t SysStringLen(BSTR s);
std::string_view BstrView(BSTR s);

// Arrays of variants, every element Empty at creation.
SAFEARRAY* SafeArrayCreateVector(std::int32_t lowerBound, std::uint32_t count);
void SafeArrayDestroy(SAFEARRAY* a);  // clears every element, then frees

void VariantInit(VARIANT* v);
// Frees what the variant owns (a string, an array) and makes it Empty; a
// by-reference variant owns nothing.
HRESULT VariantClear(VARIANT* v);
// Deep copy; a by-reference source is copied as the reference.
HRESULT VariantCopy(VARIANT* dst, const VARIANT* src);
// Deep copy of the value a by-reference source points to.
HRESULT VariantCopyInd(VARIANT* dst, const VARIANT* src);

}  // namespace com
