// The per-user registration file: which library serves a class, which
// interfaces and type libraries are known. It stands where the system
// registry stood for in-process components and keeps its layout of keys
// ("CLSID\{...}\InprocServer32") with named values ("@" is a key's default
// value).
//
// File: $BELMORA_REGISTRY when set, else $XDG_CONFIG_HOME/belmora/registry.ini,
// else ~/.config/belmora/registry.ini. Format: INI-like,
//
//     [CLSID\{AD0DA24E-3518-4B73-B04F-C36B924D793D}\InprocServer32]
//     @=/opt/belmora/libcalvira.so
//     ThreadingModel=Apartment
//
// Key and value names compare without regard to case; blanks around names are
// dropped, a value is everything after the "=" exactly. Lines that are not a
// section or a "name=value" pair are ignored on reading. Every change rewrites
// the whole file atomically (a temporary file renamed over it) under a lock
// file beside it, so a reader never sees half a file and two registrations do
// not lose each other's keys.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/hresult.h"
#include "platform/com/typelib.h"

namespace com {

std::string RegistryFilePath();

struct CaseInsensitiveLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

class RegistryTree {
public:
    using Values = std::map<std::string, std::string, CaseInsensitiveLess>;

    static RegistryTree Parse(std::string_view text);
    std::string Serialize() const;

    std::optional<std::string> Get(std::string_view key, std::string_view name = "@") const;
    // Creates the key as needed. A value or name with a line break, a key with
    // a bracket or a line break cannot be kept and gives false.
    bool Set(std::string_view key, std::string_view name, std::string_view value);
    // Removes the key, its values and every key below it; false when absent.
    bool DeleteTree(std::string_view key);
    bool HasKey(std::string_view key) const;
    // True when some other key lies below this one.
    bool HasSubkeys(std::string_view key) const;
    bool Empty() const { return keys_.empty(); }

private:
    std::map<std::string, Values, CaseInsensitiveLess> keys_;
};

// A snapshot of the file; an absent or unreadable file reads as empty.
RegistryTree ReadRegistry();
// Reads the file, lets edit change the tree and writes it back atomically,
// all under the lock. REGDB_E_WRITEREGDB when the file cannot be written;
// an edit that returns a failure leaves the file as it was.
HRESULT EditRegistry(const std::function<HRESULT(RegistryTree&)>& edit);

// Registration of an in-process server from its type library: for each class
// of the library its CLSID key (the library path as InprocServer32 with the
// threading model, its type library and version), for each interface its
// Interface key, and the library's TypeLib key. Unregistration removes exactly
// those keys.
HRESULT RegisterServer(const TypeLibDesc& lib, const std::string& libraryPath, std::string_view threadingModel);
HRESULT UnregisterServer(const TypeLibDesc& lib);

// The library registered for a class, nullopt when the class is not registered.
std::optional<std::string> InprocServerPath(const GUID& clsid);
// The library file registered for a type library of the neutral locale.
std::optional<std::string> RegisteredTypeLibPath(const GUID& libid, std::uint16_t major, std::uint16_t minor);

}  // namespace com
