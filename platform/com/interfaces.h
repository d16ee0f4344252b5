// The interface shapes every component and client share. They are abstract
// classes with nothing but pure virtual functions, declared in a fixed order:
// the order of the declarations is the order of the entries in the table of
// functions, and that table is the binary contract across a shared library.
// None of them has a virtual destructor (it would add entries); an object
// goes away through Release.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/variant.h"

namespace com {

using DISPID = std::int32_t;
using LCID = std::uint32_t;

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

// How IDispatch::Invoke is asked to reach a member; a method call without
// parentheses may carry METHOD | PROPERTYGET.
enum : std::uint16_t {
    DISPATCH_METHOD = 0x1,
    DISPATCH_PROPERTYGET = 0x2,
    DISPATCH_PROPERTYPUT = 0x4,
    DISPATCH_PROPERTYPUTREF = 0x8,
};

// The arguments of IDispatch::Invoke, the last argument first.
struct DISPPARAMS {
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    std::uint32_t cArgs;
    std::uint32_t cNamedArgs;
};

struct InterfaceDesc;  // platform/com/typelib.h

inline constexpr GUID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IClassFactory = MakeGuid("{00000001-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IDispatch = MakeGuid("{00020400-0000-0000-C000-000000000046}");

class IUnknown {
public:
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    // outer must be null: the classes here cannot be aggregated.
    virtual HRESULT CreateInstance(IUnknown* outer, const GUID& iid, void** object) = 0;
    // A lock keeps the library loaded while no object exists.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
    // The description of the interface from the component's type library; it
    // stays valid while the object lives.
    virtual HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, const InterfaceDesc** info) = 0;
    // names[0] is a member, names[1..] its parameters; a name not found gives
    // DISPID_UNKNOWN in its slot and DISP_E_UNKNOWNNAME.
    virtual HRESULT GetIDsOfNames(const char* const* names, std::uint32_t count, LCID lcid, DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID member, LCID lcid, std::uint16_t flags, DISPPARAMS* params, VARIANT* result,
                           std::uint32_t* argErr) = 0;

protected:
    ~IDispatch() = default;
};

// The entry points an in-process server exports with C linkage, by name.
using DllGetClassObjectFn = HRESULT (*)(const GUID* clsid, const GUID* iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

// An owning interface pointer: releases what it holds.
template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(I* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    I* p_ = nullptr;
};

}  // namespace com
