// A temporary drive C and settings folder for one test, so that nothing
// touches the real home folder or configuration.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/vb/runtime_error.h"

namespace excel_test {

class TempEnv {
public:
    TempEnv() {
        char pattern[] = "/tmp/belmora-excel-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ / "c");
        std::filesystem::create_directories(root_ / "config");
        Set("BELMORA_DRIVE_C", (root_ / "c").string());
        Set("HOME", (root_ / "c").string());
        Set("XDG_CONFIG_HOME", (root_ / "config").string());
        Unset("BELMORA_SETTINGS_DIR");
        Unset("BELMORA_DRIVE_D");
    }
    ~TempEnv() {
        for (auto& [name, old] : saved_) {
            if (old) setenv(name.c_str(), old->c_str(), 1);
            else unsetenv(name.c_str());
        }
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    // The native folder of drive C.
    std::filesystem::path C() const { return root_ / "c"; }
    std::filesystem::path Root() const { return root_; }

    void Set(const std::string& name, const std::string& value) {
        Remember(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Remember(name);
        unsetenv(name.c_str());
    }

private:
    void Remember(const std::string& name) {
        if (saved_.count(name)) return;
        const char* v = std::getenv(name.c_str());
        saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
    }
    std::filesystem::path root_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// The number of the runtime error that `f` raises; 0 when it raises none.
template <class F>
int ErrorOf(F&& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        EXPECT_FALSE(e.Description().empty()) << "error " << e.Number() << " without a description";
        EXPECT_FALSE(e.Source().empty()) << "error " << e.Number() << " without a source";
        return e.Number();
    }
    return 0;
}

}  // namespace excel_test
