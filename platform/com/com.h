// The component object layer in front: identifiers, result codes, the shared
// interface shapes, the boundary variant, and creation of a class by its
// CLSID through the per-user registration file (platform/com/registry.h).
//
// Creation loads the library registered as the class's in-process server,
// asks its DllGetClassObject for the class factory and lets the factory make
// the object. A loaded library stays loaded until CoFreeUnusedLibraries finds
// that its DllCanUnloadNow allows unloading.
#pragma once

#include <string>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/interfaces.h"
#include "platform/com/variant.h"

namespace com {

// REGDB_E_CLASSNOTREG when no library is registered for the class,
// CO_E_DLLNOTFOUND when the registered library cannot be loaded,
// CO_E_ERRORINDLL when it lacks DllGetClassObject; otherwise what the
// library's factory answers (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE ...).
HRESULT CoGetClassObject(const GUID& clsid, const GUID& iid, void** object);
HRESULT CoCreateInstance(const GUID& clsid, IUnknown* outer, const GUID& iid, void** object);

// Unloads every library loaded for creation whose DllCanUnloadNow says S_OK.
void CoFreeUnusedLibraries();

// For the program's handlers: creation that fails raises runtime error 429
// "ActiveX component can't create object", as a failed CreateObject or New
// of a registered class does.
[[noreturn]] void RaiseCannotCreate(HRESULT hr);

// A failed call on an interface becomes a run-time error in the calling
// handler: its number is the HRESULT, its description "Automation error".
void CheckHresult(HRESULT hr);

template <class I>
ComPtr<I> CreateObject(const GUID& clsid, const GUID& iid) {
    void* p = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, iid, &p);
    if (Failed(hr) || !p) RaiseCannotCreate(hr);
    return ComPtr<I>::Attach(static_cast<I*>(p));
}

}  // namespace com
