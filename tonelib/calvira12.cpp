// The class Calvira12, its class factory and the library's exports.

#include "tonelib/calvira12.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>

#include "platform/com/registry.h"
#include "platform/com/vb_variant.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/variant.h"
#include "tonelib/internal/spelling.h"
#include "tonelib/internal/typeinfo.h"

#define CALVIRA_EXPORT extern "C" __attribute__((visibility("default")))

namespace calvira {

namespace {

using com::HRESULT;

// Live objects (instances and class factories) and server locks: the library
// may unload only when both are zero.
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

// The value of a method's argument, by-reference variants followed; the
// caller's variable is only read. A missing argument is a run-time error.
vb::Variant Argument(const com::VARIANT* arg) {
    if (!arg) vb::Raise(vb::err::InvalidCall);
    return com::ToVbVariant(*arg);
}

vb::Variant ToneNumber(int n) {
    return vb::Variant(static_cast<std::int16_t>(n));
}

// What every object of the library does alike: it counts among the live
// objects while it exists, counts its references and goes with the last one.
template <class Self, class Interface>
class Objekt : public Interface {
public:
    std::uint32_t AddRef() override { return ++refs_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --refs_;
        if (left == 0) delete static_cast<Self*>(this);
        return left;
    }

    // A new object handed out through the interface asked for; the reference
    // that creating it gave is dropped, so an unknown interface frees it.
    static HRESULT Vytvor(const com::GUID& iid, void** object) {
        auto* instance = new (std::nothrow) Self;
        if (!instance) return com::E_OUTOFMEMORY;
        const HRESULT hr = instance->QueryInterface(iid, object);
        instance->Release();
        return hr;
    }

protected:
    Objekt() { ++g_objects; }
    ~Objekt() { --g_objects; }

    // The end of QueryInterface: this object through its interface when it
    // answers to the one asked for, nothing otherwise.
    HRESULT Vydej(bool umi, void** object) {
        if (!umi) {
            *object = nullptr;
            return com::E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return com::S_OK;
    }

private:
    std::atomic<std::uint32_t> refs_{1};
};

class Calvira12 final : public Objekt<Calvira12, _Calvira12> {
public:
    HRESULT QueryInterface(const com::GUID& iid, void** object) override {
        if (!object) return com::E_POINTER;
        return Vydej(iid == com::IID_IUnknown || iid == com::IID_IDispatch || iid == IID_Calvira12, object);
    }

    HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        if (!count) return com::E_POINTER;
        *count = 1;
        return com::S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t index, com::LCID, const com::InterfaceDesc** info) override {
        if (!info) return com::E_POINTER;
        *info = nullptr;
        if (index != 0) return com::DISP_E_BADINDEX;
        *info = &Calvira12Interface();
        return com::S_OK;
    }
    HRESULT GetIDsOfNames(const char* const* names, std::uint32_t count, com::LCID, com::DISPID* ids) override {
        return com::DispGetIDsOfNames(Calvira12Interface(), names, count, ids);
    }
    HRESULT Invoke(com::DISPID member, com::LCID, std::uint16_t flags, com::DISPPARAMS* params,
                   com::VARIANT* result, std::uint32_t* argErr) override {
        return com::DispInvoke(static_cast<_Calvira12*>(this), Calvira12Interface(), member, flags, params, result,
                               argErr);
    }

    HRESULT get_Vysledek(com::VARIANT* result) override {
        if (!result) return com::E_POINTER;
        com::VariantInit(result);
        try {
            return com::FromVbVariant(Vysledek, result);
        } catch (...) {  // nothing may unwind into the caller
            com::VariantClear(result);
            return com::E_OUTOFMEMORY;
        }
    }
    HRESULT put_Vysledek(com::VARIANT* value) override {
        if (!value) return com::E_POINTER;
        try {
            Vysledek = com::ToVbVariant(*value);
        } catch (const vb::RuntimeError&) {
            return com::DISP_E_BADVARTYPE;
        } catch (...) {
            return com::E_OUTOFMEMORY;
        }
        return com::S_OK;
    }
    // Vysledek holds no object, so a Set stores the value as a Let does.
    HRESULT putref_Vysledek(com::VARIANT* value) override { return put_Vysledek(value); }
    HRESULT get_TonNeniVeStupnici(com::VARIANT_BOOL* result) override {
        if (!result) return com::E_POINTER;
        *result = TonNeniVeStupnici;
        return com::S_OK;
    }
    HRESULT put_TonNeniVeStupnici(com::VARIANT_BOOL value) override {
        TonNeniVeStupnici = value ? com::VARIANT_TRUE : com::VARIANT_FALSE;
        return com::S_OK;
    }

    // A run-time error inside a method (an argument that cannot be compared,
    // such as an array) ends it with success and leaves Vysledek as it was:
    // the result is stored only as the last step. No exception of any kind
    // may unwind across the library boundary.
    HRESULT DejTon(com::VARIANT* CisloTonu) override {
        try {
            TonNeniVeStupnici = com::VARIANT_FALSE;
            const vb::Variant ton = Argument(CisloTonu);
            Vysledek = NazevTonu(ton);
        } catch (...) {
        }
        return com::S_OK;
    }

    HRESULT DejTonVeStupnici(com::VARIANT* CisloTonu, com::VARIANT* Stupnice) override {
        try {
            TonNeniVeStupnici = com::VARIANT_FALSE;
            const vb::Variant ton = Argument(CisloTonu);
            const vb::Variant stupnice = Argument(Stupnice);
            for (int s = 0; s < kScaleCount; ++s) {
                if (vb::Equals(stupnice, vb::Variant(kScaleNames[s]))) {
                    DejTonStupnice(s, ton);
                    return com::S_OK;
                }
            }
            // No scale chosen ("Vyberte stupnici") or an unknown name: the plain name.
            Vysledek = NazevTonu(ton);
        } catch (...) {
        }
        return com::S_OK;
    }

    HRESULT DejCisloTonu(com::VARIANT* Ton) override {
        try {
            const vb::Variant ton = Argument(Ton);
            for (const AcceptedName& candidate : AcceptedNames()) {
                if (vb::Equals(ton, vb::Variant(candidate.name))) {
                    Vysledek = vb::Variant(candidate.tone);
                    return com::S_OK;
                }
            }
            Vysledek = vb::Variant(kNoTone);
        } catch (...) {
        }
        return com::S_OK;
    }

private:
    friend class Objekt<Calvira12, _Calvira12>;
    ~Calvira12() = default;

    static vb::Variant NazevTonu(const vb::Variant& ton) {
        for (int n = 1; n <= kToneCount; ++n)
            if (vb::Equals(ton, ToneNumber(n))) return vb::Variant(PlainName(n));
        return vb::Variant(kNenalezeno);
    }

    // The lookup of one scale; it may set the flag but never clears it.
    void DejTonStupnice(int scale, const vb::Variant& ton) {
        for (int n = 1; n <= kToneCount; ++n) {
            if (vb::Equals(ton, ToneNumber(n))) {
                const SpelledTone spelled = SpellInScale(scale, n);
                Vysledek = vb::Variant(spelled.name);
                if (spelled.outOfScale) TonNeniVeStupnici = com::VARIANT_TRUE;
                return;
            }
        }
        Vysledek = vb::Variant(kNenalezeno);
    }

    vb::Variant Vysledek;
    com::VARIANT_BOOL TonNeniVeStupnici = com::VARIANT_FALSE;
};

class Calvira12Factory final : public Objekt<Calvira12Factory, com::IClassFactory> {
public:
    HRESULT QueryInterface(const com::GUID& iid, void** object) override {
        if (!object) return com::E_POINTER;
        return Vydej(iid == com::IID_IUnknown || iid == com::IID_IClassFactory, object);
    }

    HRESULT CreateInstance(com::IUnknown* outer, const com::GUID& iid, void** object) override {
        if (!object) return com::E_POINTER;
        *object = nullptr;
        if (outer) return com::CLASS_E_NOAGGREGATION;
        return Calvira12::Vytvor(iid, object);
    }
    HRESULT LockServer(bool lock) override {
        if (lock) {
            ++g_locks;
        } else {
            // An unlock without a lock must not let the count go negative.
            long n = g_locks.load();
            while (n > 0 && !g_locks.compare_exchange_weak(n, n - 1)) {
            }
        }
        return com::S_OK;
    }

private:
    friend class Objekt<Calvira12Factory, com::IClassFactory>;
    ~Calvira12Factory() = default;
};

// The absolute path of this library file, as the registration records it.
std::string OwnPath() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&OwnPath), &info) || !info.dli_fname) return {};
    std::error_code ec;
    auto path = std::filesystem::canonical(info.dli_fname, ec);
    if (ec) path = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::string() : path.string();
}

}  // namespace

}  // namespace calvira

CALVIRA_EXPORT com::HRESULT DllGetClassObject(const com::GUID* clsid, const com::GUID* iid, void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return com::E_POINTER;
    if (!(*clsid == calvira::CLSID_Calvira12)) return com::CLASS_E_CLASSNOTAVAILABLE;
    return calvira::Calvira12Factory::Vytvor(*iid, object);
}

CALVIRA_EXPORT com::HRESULT DllCanUnloadNow() {
    return calvira::g_objects == 0 && calvira::g_locks == 0 ? com::S_OK : com::S_FALSE;
}

CALVIRA_EXPORT com::HRESULT DllRegisterServer() {
    const std::string path = calvira::OwnPath();
    if (path.empty()) return com::SELFREG_E_CLASS;
    return com::RegisterServer(calvira::TypeLibrary(), path, "Apartment");
}

CALVIRA_EXPORT com::HRESULT DllUnregisterServer() {
    return com::UnregisterServer(calvira::TypeLibrary());
}

CALVIRA_EXPORT const com::TypeLibDesc* ComTypeLib() {
    return &calvira::TypeLibrary();
}

CALVIRA_EXPORT const com::VersionInfoDesc* ComVersionInfo() {
    return &calvira::VersionBlock();
}
