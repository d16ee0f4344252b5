// belmora-regsvr: registers or unregisters a self-registering component
// library, as regsvr32 does on the platform the components come from.
//
//   belmora-regsvr [-s] [-u] library.so
//
// -u (or /u) calls DllUnregisterServer instead of DllRegisterServer; -s (or
// /s) keeps quiet on success. Exit codes: 0 done, 1 bad command line, 3 the
// library cannot be loaded, 4 it lacks the entry point, 5 the entry point
// failed. The registration goes to the per-user registration file (see
// platform/com/registry.h; BELMORA_REGISTRY names another file).

#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/com/hresult.h"
#include "platform/com/interfaces.h"

namespace {

enum ExitCode { kOk = 0, kBadArguments = 1, kLoadFailed = 3, kNoEntryPoint = 4, kCallFailed = 5 };

void Usage() {
    std::fprintf(stderr,
                 "usage: belmora-regsvr [-s] [-u] library.so\n"
                 "  -u  unregister instead of register\n"
                 "  -s  silent: print nothing on success\n");
}

// "-u", "/u", "-s", "/s" in either case; a longer argument starting with "/"
// is an absolute path.
bool IsOption(std::string_view a, char letter) {
    return a.size() == 2 && (a[0] == '-' || a[0] == '/') && (a[1] == letter || a[1] == letter - 'a' + 'A');
}

}  // namespace

int main(int argc, char** argv) {
    bool silent = false;
    bool unregister = false;
    std::string library;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (IsOption(a, 's')) {
            silent = true;
        } else if (IsOption(a, 'u')) {
            unregister = true;
        } else if (a.size() >= 2 && a[0] == '-') {
            std::fprintf(stderr, "belmora-regsvr: unknown option %s\n", argv[i]);
            Usage();
            return kBadArguments;
        } else if (library.empty() && !a.empty()) {
            library = a;
        } else {
            Usage();
            return kBadArguments;
        }
    }
    if (library.empty()) {
        Usage();
        return kBadArguments;
    }

    // A bare file name means the file in the current folder, not a search.
    const std::string path = library.find('/') == std::string::npos ? "./" + library : library;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "belmora-regsvr: cannot load %s: %s\n", library.c_str(), ::dlerror());
        return kLoadFailed;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto fn = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(module, entry));
    if (!fn) {
        std::fprintf(stderr, "belmora-regsvr: %s was loaded, but the entry point %s was not found.\n",
                     library.c_str(), entry);
        ::dlclose(module);
        return kNoEntryPoint;
    }
    const com::HRESULT hr = fn();
    ::dlclose(module);
    if (com::Failed(hr)) {
        std::fprintf(stderr, "belmora-regsvr: %s in %s failed with error 0x%08X.\n", entry, library.c_str(),
                     static_cast<unsigned>(hr));
        return kCallFailed;
    }
    if (!silent) std::printf("%s in %s succeeded.\n", entry, library.c_str());
    return kOk;
}
