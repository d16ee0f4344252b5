// Type libraries and version blocks carried inside a component's shared
// library.
//
// A component describes itself with the plain C-layout tables below, kept as
// constant data in its library, and exports two functions with C linkage that
// hand them out:
//
//     extern "C" const com::TypeLibDesc* ComTypeLib(void);
//     extern "C" const com::VersionInfoDesc* ComVersionInfo(void);
//
// A client reads them with LoadTypeLib / LoadVersionInfo (by file) or
// LoadRegTypeLib (by the library identifier in the registration file). The
// type library is what IDispatch works from: DispGetIDsOfNames maps names to
// dispatch ids and DispInvoke calls the matching entry of the object's table
// of functions, whose position the description gives.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/interfaces.h"
#include "platform/com/variant.h"

namespace com {

inline constexpr const char* kTypeLibExport = "ComTypeLib";
inline constexpr const char* kVersionInfoExport = "ComVersionInfo";

// Parameter flags.
enum : std::uint16_t {
    PARAMFLAG_FIN = 0x1,
    PARAMFLAG_FOUT = 0x2,
    PARAMFLAG_FRETVAL = 0x8,
};

// What kind of member an entry is.
enum : std::uint16_t {
    INVOKE_FUNC = 1,
    INVOKE_PROPERTYGET = 2,
    INVOKE_PROPERTYPUT = 4,
    INVOKE_PROPERTYPUTREF = 8,
};

// Type flags of interfaces and classes.
enum : std::uint16_t {
    TYPEFLAG_FCANCREATE = 0x2,
    TYPEFLAG_FHIDDEN = 0x10,
    TYPEFLAG_FDUAL = 0x40,
    TYPEFLAG_FNONEXTENSIBLE = 0x80,
    TYPEFLAG_FOLEAUTOMATION = 0x100,
    TYPEFLAG_FDISPATCHABLE = 0x1000,
};

enum : std::uint32_t { SYS_WIN16 = 0, SYS_WIN32 = 1 };

struct ParamDesc {
    const char* name;
    VARTYPE vt;  // VT_VARIANT | VT_BYREF for VARIANT*, VT_BOOL for VARIANT_BOOL ...
    std::uint16_t flags;
};

struct FuncDesc {
    const char* name;
    DISPID dispId;
    std::uint16_t invokeKind;
    std::uint16_t vtableIndex;  // position in the table of functions, IUnknown's first entry is 0
    std::uint16_t paramCount;
    const ParamDesc* params;
};

struct InterfaceDesc {
    const char* name;
    GUID iid;
    const GUID* baseIid;  // the interface it derives from
    std::uint16_t typeFlags;
    std::uint16_t funcCount;
    const FuncDesc* funcs;
};

struct CoClassDesc {
    const char* name;
    GUID clsid;
    std::uint16_t typeFlags;
    const char* description;     // may be empty
    const GUID* defaultInterface;
    const GUID* eventInterface;  // null when the class has none
};

struct TypeLibDesc {
    const char* name;
    const char* description;
    GUID libid;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
    LCID lcid;
    std::uint32_t sysKind;
    std::uint32_t importCount;
    const char* const* imports;  // names of the libraries it imports, e.g. "stdole2"
    std::uint32_t interfaceCount;
    const InterfaceDesc* interfaces;
    std::uint32_t coclassCount;
    const CoClassDesc* coclasses;
};

// File types and operating systems of the fixed part of a version block.
enum : std::uint32_t { VFT_APP = 1, VFT_DLL = 2 };
enum : std::uint32_t { VOS_WINDOWS32 = 4 };

struct VersionString {
    const char* key;
    const char* value;
};

struct VersionInfoDesc {
    std::uint16_t fileVersion[4];
    std::uint16_t productVersion[4];
    std::uint32_t fileType;
    std::uint32_t fileOs;
    std::uint16_t language;  // 0x0409 US English
    std::uint16_t codePage;  // 0x04B0 Unicode
    std::uint32_t stringCount;
    const VersionString* strings;
};

// A description read from a library, which stays loaded while the handle lives.
template <class Desc>
class LoadedDesc {
public:
    LoadedDesc(std::shared_ptr<void> module, const Desc* desc) : module_(std::move(module)), desc_(desc) {}
    const Desc& operator*() const { return *desc_; }
    const Desc* operator->() const { return desc_; }

private:
    std::shared_ptr<void> module_;
    const Desc* desc_;
};
using TypeLib = LoadedDesc<TypeLibDesc>;
using VersionInfo = LoadedDesc<VersionInfoDesc>;

// nullopt when the file cannot be loaded or carries no such description.
std::optional<TypeLib> LoadTypeLib(const std::string& libraryPath);
std::optional<VersionInfo> LoadVersionInfo(const std::string& libraryPath);
// Through the registration of the library identifier and version.
HRESULT LoadRegTypeLib(const GUID& libid, std::uint16_t major, std::uint16_t minor, std::optional<TypeLib>* out);

const InterfaceDesc* FindInterface(const TypeLibDesc& lib, const GUID& iid);
// The value of a key of the version block, nullopt when absent.
std::optional<std::string> QueryVersionString(const VersionInfoDesc& info, const std::string& key);

// IDispatch helpers for dual interfaces. Names compare without regard to case.
HRESULT DispGetIDsOfNames(const InterfaceDesc& itf, const char* const* names, std::uint32_t count, DISPID* ids);
// Calls object's entry for the member through its table of functions. The
// arguments come last first, as DISPPARAMS holds them; a [in] VARIANT*
// parameter receives the argument itself (or the variant a VT_BYREF|VT_VARIANT
// argument points to), a VARIANT_BOOL parameter the argument converted, and a
// retval parameter fills result. A failing HRESULT of the entry is returned.
HRESULT DispInvoke(void* object, const InterfaceDesc& itf, DISPID member, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, std::uint32_t* argErr);

}  // namespace com
