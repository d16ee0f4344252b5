#include "platform/com/com.h"

#include <dlfcn.h>

#include <map>

#include "platform/com/registry.h"
#include "platform/vb/runtime_error.h"

namespace com {

namespace {

// Libraries loaded for creation, by the path they are registered with. The
// program creates objects on its one GUI thread only.
std::map<std::string, void*>& LoadedLibraries() {
    static std::map<std::string, void*> libraries;
    return libraries;
}

void* LoadServer(const std::string& path) {
    auto& loaded = LoadedLibraries();
    if (auto it = loaded.find(path); it != loaded.end()) return it->second;
    void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h) loaded.emplace(path, h);
    return h;
}

}  // namespace

HRESULT CoGetClassObject(const GUID& clsid, const GUID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const auto path = InprocServerPath(clsid);
    if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
    void* module = LoadServer(*path);
    if (!module) return CO_E_DLLNOTFOUND;
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(module, "DllGetClassObject"));
    if (!getClassObject) return CO_E_ERRORINDLL;
    return getClassObject(&clsid, &iid, object);
}

HRESULT CoCreateInstance(const GUID& clsid, IUnknown* outer, const GUID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    void* p = nullptr;
    HRESULT hr = CoGetClassObject(clsid, IID_IClassFactory, &p);
    if (Failed(hr)) return hr;
    auto* factory = static_cast<IClassFactory*>(p);
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    return hr;
}

void CoFreeUnusedLibraries() {
    auto& loaded = LoadedLibraries();
    for (auto it = loaded.begin(); it != loaded.end();) {
        auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(it->second, "DllCanUnloadNow"));
        if (canUnload && canUnload() == S_OK) {
            ::dlclose(it->second);
            it = loaded.erase(it);
        } else {
            ++it;
        }
    }
}

void RaiseCannotCreate(HRESULT) {
    vb::Raise(vb::err::CannotCreateObject);
}

void CheckHresult(HRESULT hr) {
    if (Failed(hr)) vb::Raise(hr, {}, "Automation error");
}

}  // namespace com
