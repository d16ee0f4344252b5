// What the benchmark programs share: a temporary drive C, settings folder and
// home for one run, and the component registered from the program folder.
#pragma once

#include <dlfcn.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/com/com.h"

namespace bench {

// Offscreen windows, the built program folder unless another is named, and a
// fresh temporary folder that stands in for drive C, the settings, the home
// folder and the registry. Returns that folder; empty when it could not be made.
inline std::filesystem::path PrepareEnvironment(const std::string& name) {
    namespace fs = std::filesystem;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("BELMORA_PROGRAM_DIR", BELMORA_BENCH_PROGRAM_DIR, 0);

    std::string tmpl = (fs::temp_directory_path() / (name + "-XXXXXX")).string();
    if (!::mkdtemp(tmpl.data())) return {};
    const fs::path root = tmpl;
    fs::create_directories(root / "C");
    fs::create_directories(root / "settings");
    setenv("BELMORA_DRIVE_C", (root / "C").c_str(), 1);
    setenv("BELMORA_SETTINGS_DIR", (root / "settings").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "settings").c_str(), 1);
    setenv("HOME", root.c_str(), 1);
    setenv("BELMORA_REGISTRY", (root / "registry.ini").c_str(), 1);
    return root;
}

// Registers libcalvira.so of the program folder in the run's registry.
inline bool RegisterCalvira(const std::string& programDir) {
    void* lib = ::dlopen((programDir + "/libcalvira.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    auto reg = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(lib, "DllRegisterServer"));
    const bool ok = reg && reg() == com::S_OK;
    ::dlclose(lib);
    return ok;
}

// One figure of a run: `RESULT step_ms=0.358 ms` names it, its value and unit.
struct Figure {
    std::string name;
    double value;
    std::string unit;
};

// The last line of every benchmark: its medians, for comparing runs.
inline void PrintResult(const std::vector<Figure>& figures) {
    std::printf("RESULT");
    for (const Figure& f : figures) std::printf(" %s=%.4g %s", f.name.c_str(), f.value, f.unit.c_str());
    std::printf("\n");
}

}  // namespace bench
