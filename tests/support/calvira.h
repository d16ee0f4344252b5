// The component calvira as the tests load it: libcalvira.so of the program
// folder, opened by the test itself, with its four entry points.
#pragma once

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "platform/com/com.h"
#include "tests/support/temp_env.h"

namespace testsupport {

inline std::string CalviraLibraryPath() { return ProgramDir() + "/libcalvira.so"; }

struct CalviraLibrary {
    CalviraLibrary() : handle(::dlopen(CalviraLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) throw std::runtime_error(::dlerror());
        registerServer = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(handle, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<com::DllUnregisterServerFn>(::dlsym(handle, "DllUnregisterServer"));
        getClassObject = reinterpret_cast<com::DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<com::DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
    }
    ~CalviraLibrary() { ::dlclose(handle); }
    CalviraLibrary(const CalviraLibrary&) = delete;
    CalviraLibrary& operator=(const CalviraLibrary&) = delete;

    void* handle;
    com::DllRegisterServerFn registerServer;
    com::DllUnregisterServerFn unregisterServer;
    com::DllGetClassObjectFn getClassObject;
    com::DllCanUnloadNowFn canUnloadNow;
};

// Registers the component into the current registration file through the
// library's own entry point; false when that cannot be done.
inline bool RegisterCalvira() {
    try {
        CalviraLibrary lib;
        return lib.registerServer && lib.registerServer() == com::S_OK;
    } catch (const std::runtime_error&) {
        return false;
    }
}

}  // namespace testsupport
