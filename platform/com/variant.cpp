#include "platform/com/variant.h"

#include <cstdlib>
#include <cstring>

namespace com {

BSTR SysAllocString(std::string_view text) {
    auto* block = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + text.size() + 1));
    if (!block) return nullptr;
    const auto len = static_cast<std::uint32_t>(text.size());
    std::memcpy(block, &len, sizeof len);
    if (!text.empty()) std::memcpy(block + sizeof len, text.data(), text.size());
    block[sizeof len + text.size()] = '\0';
    return block + sizeof len;
}

void SysFreeString(BSTR s) {
    if (s) std::free(s - sizeof(std::uint32_t));
}

std::uint32_t SysStringLen(BSTR s) {
    if (!s) return 0;
    std::uint32_t len;
    std::memcpy(&len, s - sizeof len, sizeof len);
    return len;
}

std::string_view BstrView(BSTR s) {
    return s ? std::string_view(s, SysStringLen(s)) : std::string_view();
}

SAFEARRAY* SafeArrayCreateVector(std::int32_t lowerBound, std::uint32_t count) {
    auto* a = static_cast<SAFEARRAY*>(std::malloc(sizeof(SAFEARRAY)));
    if (!a) return nullptr;
    a->lowerBound = lowerBound;
    a->count = count;
    a->data = count ? static_cast<VARIANT*>(std::calloc(count, sizeof(VARIANT))) : nullptr;
    if (count && !a->data) {
        std::free(a);
        return nullptr;
    }
    for (std::uint32_t i = 0; i < count; ++i) VariantInit(&a->data[i]);
    return a;
}

void SafeArrayDestroy(SAFEARRAY* a) {
    if (!a) return;
    for (std::uint32_t i = 0; i < a->count; ++i) VariantClear(&a->data[i]);
    std::free(a->data);
    std::free(a);
}

void VariantInit(VARIANT* v) {
    std::memset(v, 0, sizeof *v);
    v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v) return E_POINTER;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
        else if (v->vt & VT_ARRAY) SafeArrayDestroy(v->parray);
    }
    VariantInit(v);
    return S_OK;
}

namespace {
SAFEARRAY* CopyArray(const SAFEARRAY* src) {
    if (!src) return nullptr;
    SAFEARRAY* a = SafeArrayCreateVector(src->lowerBound, src->count);
    if (!a) return nullptr;
    for (std::uint32_t i = 0; i < src->count; ++i) {
        if (Failed(VariantCopy(&a->data[i], &src->data[i]))) {
            SafeArrayDestroy(a);
            return nullptr;
        }
    }
    return a;
}
}  // namespace

HRESULT VariantCopy(VARIANT* dst, const VARIANT* src) {
    if (!dst || !src) return E_POINTER;
    if (dst == src) return S_OK;
    VARIANT tmp = *src;
    if (!(src->vt & VT_BYREF)) {
        if (src->vt == VT_BSTR) {
            tmp.bstrVal = SysAllocString(BstrView(src->bstrVal));
            if (!tmp.bstrVal) return E_OUTOFMEMORY;
        } else if (src->vt & VT_ARRAY) {
            tmp.parray = CopyArray(src->parray);
            if (src->parray && !tmp.parray) return E_OUTOFMEMORY;
        }
    }
    VariantClear(dst);
    *dst = tmp;
    return S_OK;
}

namespace {
// A chain of references longer than this is a cycle, not a caller's variable.
constexpr int kMaxReferenceDepth = 16;

HRESULT CopyInd(VARIANT* dst, const VARIANT* src, int depth) {
    if (!dst || !src) return E_POINTER;
    if (!(src->vt & VT_BYREF)) return VariantCopy(dst, src);
    if (depth > kMaxReferenceDepth) return DISP_E_BADVARTYPE;
    if (!src->pvarVal) return E_POINTER;  // every reference member shares this storage
    VARIANT v;
    VariantInit(&v);
    const VARTYPE base = src->vt & ~VT_BYREF;
    if (base & VT_ARRAY) {
        v.vt = base;
        v.parray = *src->pparray;
        return VariantCopy(dst, &v);
    }
    switch (base) {
    case VT_UI1: v.bVal = *src->pbVal; break;
    case VT_I2: v.iVal = *src->piVal; break;
    case VT_I4: v.lVal = *src->plVal; break;
    case VT_R4: v.fltVal = *src->pfltVal; break;
    case VT_R8: v.dblVal = *src->pdblVal; break;
    case VT_DATE: v.date = *src->pdate; break;
    case VT_BOOL: v.boolVal = *src->pboolVal; break;
    case VT_BSTR: v.bstrVal = *src->pbstrVal; break;
    case VT_VARIANT: return CopyInd(dst, src->pvarVal, depth + 1);
    default: return DISP_E_BADVARTYPE;
    }
    v.vt = base;
    return VariantCopy(dst, &v);
}
}  // namespace

HRESULT VariantCopyInd(VARIANT* dst, const VARIANT* src) {
    return CopyInd(dst, src, 0);
}

}  // namespace com
