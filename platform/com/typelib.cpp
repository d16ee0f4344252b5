#include "platform/com/typelib.h"

#include <dlfcn.h>

#include <cctype>
#include <string_view>
#include <vector>

#include "platform/com/registry.h"

namespace com {

namespace {

std::shared_ptr<void> OpenModule(const std::string& path) {
    void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) return nullptr;
    return std::shared_ptr<void>(h, [](void* m) { ::dlclose(m); });
}

template <class Desc>
std::optional<LoadedDesc<Desc>> LoadDesc(const std::string& path, const char* symbol) {
    auto module = OpenModule(path);
    if (!module) return std::nullopt;
    using Fn = const Desc* (*)();
    auto fn = reinterpret_cast<Fn>(::dlsym(module.get(), symbol));
    if (!fn) return std::nullopt;
    const Desc* desc = fn();
    if (!desc) return std::nullopt;
    return LoadedDesc<Desc>(std::move(module), desc);
}

bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::optional<TypeLib> LoadTypeLib(const std::string& libraryPath) {
    return LoadDesc<TypeLibDesc>(libraryPath, kTypeLibExport);
}

std::optional<VersionInfo> LoadVersionInfo(const std::string& libraryPath) {
    return LoadDesc<VersionInfoDesc>(libraryPath, kVersionInfoExport);
}

HRESULT LoadRegTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor, std::optional<TypeLib>* out) {
    if (!out) return E_POINTER;
    out->reset();
    const auto path = RegisteredTypeLibPath(libid, major, minor);
    if (!path) return TYPE_E_LIBNOTREGISTERED;
    auto lib = LoadTypeLib(*path);
    if (!lib || !((*lib)->libid == libid)) return TYPE_E_CANTLOADLIBRARY;
    *out = std::move(lib);
    return S_OK;
}

const InterfaceDesc* FindInterface(const TypeLibDesc& lib, const GUID& iid) {
    for (std::uint32_t i = 0; i < lib.interfaceCount; ++i)
        if (lib.interfaces[i].iid == iid) return &lib.interfaces[i];
    return nullptr;
}

std::optional<std::string> QueryVersionString(const VersionInfoDesc& info, const std::string& key) {
    for (std::uint32_t i = 0; i < info.stringCount; ++i)
        if (key == info.strings[i].key) return std::string(info.strings[i].value);
    return std::nullopt;
}

HRESULT DispGetIDsOfNames(const InterfaceDesc& itf, const char* const* names, std::uint32_t count, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    for (std::uint32_t i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    HRESULT hr = S_OK;
    const FuncDesc* member = nullptr;
    for (std::uint16_t f = 0; f < itf.funcCount && names[0]; ++f) {
        if (SameNameNoCase(itf.funcs[f].name, names[0])) {
            // Of a property's accessors, the one with parameter names counts.
            if (!member || itf.funcs[f].paramCount > member->paramCount) member = &itf.funcs[f];
        }
    }
    if (!member) return DISP_E_UNKNOWNNAME;
    ids[0] = member->dispId;
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::uint16_t p = 0; p < member->paramCount && names[i]; ++p)
            if (SameNameNoCase(member->params[p].name, names[i])) ids[i] = p;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

// One argument of an entry: a pointer or a 16-bit value, as the entry declares it.
struct SlotArg {
    bool isShort;
    void* pointer;
    std::int16_t value;
};

constexpr std::size_t kMaxSlotArgs = 3;

// The table of functions is called as the shared-library ABI lays it out: the
// object pointer first, then the declared parameters.
template <class... A>
HRESULT CallSlot(void* fn, void* self, A... args) {
    using Fn = HRESULT (*)(void*, A...);
    return reinterpret_cast<Fn>(fn)(self, args...);
}

template <class... Done>
HRESULT CallWith(void* fn, void* self, const SlotArg* args, std::size_t n, Done... done) {
    if (n == 0) return CallSlot(fn, self, done...);
    if constexpr (sizeof...(Done) < kMaxSlotArgs) {
        if (args->isShort) return CallWith(fn, self, args + 1, n - 1, done..., args->value);
        return CallWith(fn, self, args + 1, n - 1, done..., args->pointer);
    }
    return DISP_E_BADPARAMCOUNT;
}

// The member a dispatch call reaches: a method before a property get when
// both are asked for.
const FuncDesc* FindMember(const InterfaceDesc& itf, DISPID member, std::uint16_t flags) {
    static constexpr std::pair<std::uint16_t, std::uint16_t> kOrder[] = {
        {DISPATCH_METHOD, INVOKE_FUNC},
        {DISPATCH_PROPERTYGET, INVOKE_PROPERTYGET},
        {DISPATCH_PROPERTYPUT, INVOKE_PROPERTYPUT},
        {DISPATCH_PROPERTYPUTREF, INVOKE_PROPERTYPUTREF},
    };
    for (const auto& [flag, kind] : kOrder) {
        if (!(flags & flag)) continue;
        for (std::uint16_t f = 0; f < itf.funcCount; ++f)
            if (itf.funcs[f].dispId == member && itf.funcs[f].invokeKind == kind) return &itf.funcs[f];
    }
    return nullptr;
}

// A VARIANT_BOOL argument from whatever the caller passed: True is any
// non-zero number, Empty is False.
bool ToBool(const VARIANT* arg, std::int16_t* out) {
    VARIANT v;
    VariantInit(&v);
    if (Failed(VariantCopyInd(&v, arg))) return false;
    bool ok = true;
    switch (v.vt) {
    case VT_EMPTY: *out = VARIANT_FALSE; break;
    case VT_BOOL: *out = v.boolVal ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_UI1: *out = v.bVal ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_I2: *out = v.iVal ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_I4: *out = v.lVal ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_R4: *out = v.fltVal != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_R8: *out = v.dblVal != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_DATE: *out = v.date != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: ok = false;
    }
    VariantClear(&v);
    return ok;
}

}  // namespace

HRESULT DispInvoke(void* object, const InterfaceDesc& itf, DISPID member, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, std::uint32_t* argErr) {
    if (!object) return E_POINTER;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params) params = &none;
    if (params->cArgs && !params->rgvarg) return E_POINTER;
    const FuncDesc* f = FindMember(itf, member, flags);
    if (!f) return DISP_E_MEMBERNOTFOUND;

    const bool isPut = f->invokeKind == INVOKE_PROPERTYPUT || f->invokeKind == INVOKE_PROPERTYPUTREF;
    if (params->cNamedArgs) {
        const bool putValue = isPut && params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                              params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (!putValue) return DISP_E_NONAMEDARGS;
    }
    std::uint32_t inCount = 0;
    for (std::uint16_t p = 0; p < f->paramCount; ++p)
        if (!(f->params[p].flags & PARAMFLAG_FRETVAL)) ++inCount;
    if (params->cArgs != inCount) return DISP_E_BADPARAMCOUNT;
    if (f->paramCount > kMaxSlotArgs) return DISP_E_BADPARAMCOUNT;

    SlotArg args[kMaxSlotArgs] = {};
    VARIANT retVariant;
    VariantInit(&retVariant);
    std::int16_t retBool = 0;
    enum { None, RetVariant, RetBool } ret = None;
    std::uint32_t next = 0;  // arguments in declaration order; rgvarg holds them last first
    for (std::uint16_t p = 0; p < f->paramCount; ++p) {
        const ParamDesc& pd = f->params[p];
        SlotArg& a = args[p];
        if (pd.flags & PARAMFLAG_FRETVAL) {
            if (pd.vt == (VT_VARIANT | VT_BYREF)) {
                a.pointer = &retVariant;
                ret = RetVariant;
            } else if (pd.vt == (VT_BOOL | VT_BYREF)) {
                a.pointer = &retBool;
                ret = RetBool;
            } else {
                return DISP_E_BADVARTYPE;
            }
            continue;
        }
        const std::uint32_t slot = params->cArgs - 1 - next++;
        VARIANT* arg = &params->rgvarg[slot];
        if (pd.vt == (VT_VARIANT | VT_BYREF)) {
            a.pointer = arg->vt == (VT_VARIANT | VT_BYREF) ? arg->pvarVal : arg;
            if (!a.pointer) return E_POINTER;
        } else if (pd.vt == VT_BOOL) {
            a.isShort = true;
            if (!ToBool(arg, &a.value)) {
                if (argErr) *argErr = slot;
                return DISP_E_TYPEMISMATCH;
            }
        } else {
            return DISP_E_BADVARTYPE;
        }
    }

    void** table = *static_cast<void***>(object);
    const HRESULT hr = CallWith(table[f->vtableIndex], object, args, f->paramCount);
    if (Failed(hr)) {
        VariantClear(&retVariant);
        return hr;
    }
    if (ret == RetVariant) {
        if (result) {
            VariantClear(result);
            *result = retVariant;  // hands the value over
        } else {
            VariantClear(&retVariant);
        }
    } else if (ret == RetBool && result) {
        VariantClear(result);
        result->vt = VT_BOOL;
        result->boolVal = retBool;
    }
    return hr;
}

}  // namespace com
