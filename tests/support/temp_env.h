// Temporary folders and environment overrides for the tests: nothing a test
// does may reach the real home folder, the real XDG config or the real
// registration file, and every override is put back when the test ends.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "belmora") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!keep_) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Leaves the folder behind, for a look at what made a test fail.
    void Keep() { keep_ = true; }

private:
    std::filesystem::path path_;
    bool keep_ = false;
};

// Sets (or, with nullopt, unsets) environment variables for the life of the
// object and puts the old values back afterwards.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        for (const auto& [name, old] : saved_) {
            if (old) ::setenv(name.c_str(), old->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
    void Unset(const std::string& name) { Set(name, std::nullopt); }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// The build's program folder (read_only.xls, libcalvira.so, the tools) and
// the source tree; the shared test main always sets both.
inline std::string ProgramDir() {
    const char* dir = std::getenv("BELMORA_PROGRAM_DIR");
    return dir ? std::string(dir) : std::string();
}
inline std::filesystem::path SourceDir() {
    const char* dir = std::getenv("BELMORA_SOURCE_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// Everything the program finds through the environment, in one temporary
// folder: drive C, the settings folder (also the XDG config folder), the home
// folder and the registration file. No drive D unless a test makes one.
// The workbook engine looks for documents in the home folder, which its tests
// want on drive C (Home::DriveC).
class Sandbox {
public:
    enum class Home { OwnFolder, DriveC };

    explicit Sandbox(Home home = Home::OwnFolder, const std::string& prefix = "belmora-sandbox")
        : dir_(prefix), homeOnC_(home == Home::DriveC) {
        std::filesystem::create_directories(C());
        std::filesystem::create_directories(Settings());
        std::filesystem::create_directories(HomeDir());
        env_.Set("BELMORA_DRIVE_C", C().string());
        env_.Unset("BELMORA_DRIVE_D");
        env_.Set("BELMORA_SETTINGS_DIR", Settings().string());
        env_.Set("XDG_CONFIG_HOME", Settings().string());
        env_.Set("HOME", HomeDir().string());
        env_.Set("BELMORA_REGISTRY", RegistryFile());
    }

    const std::filesystem::path& Root() const { return dir_.path(); }
    // The native folder of drive C.
    std::filesystem::path C() const { return Root() / "C"; }
    std::filesystem::path Settings() const { return Root() / "settings"; }
    std::filesystem::path HomeDir() const { return homeOnC_ ? C() : Root() / "home"; }
    std::string RegistryFile() const { return (Root() / "registry.ini").string(); }
    std::string ReadRegistryFile() const { return ReadFile(RegistryFile()); }
    ScopedEnv& Env() { return env_; }

private:
    TempDir dir_;
    bool homeOnC_;
    ScopedEnv env_;
};

}  // namespace testsupport
