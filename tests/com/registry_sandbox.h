// A temporary folder that stands in for the user's home and config folder
// while a test runs, with the registration file inside it. The real
// ~/.config is never read or written.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

class RegistrySandbox {
public:
    RegistrySandbox() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "belmora-com-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = tmpl;
        Override("HOME", dir_.string());
        Override("XDG_CONFIG_HOME", (dir_ / "config").string());
        Override("BELMORA_REGISTRY", RegistryFile());
    }
    ~RegistrySandbox() {
        Restore("HOME", home_);
        Restore("XDG_CONFIG_HOME", xdg_);
        Restore("BELMORA_REGISTRY", registry_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    const std::filesystem::path& Dir() const { return dir_; }
    std::string RegistryFile() const { return (dir_ / "registry.ini").string(); }
    std::string ReadRegistryFile() const {
        std::ifstream in(RegistryFile());
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

private:
    void Override(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
        if (std::string(name) == "HOME") home_ = saved;
        else if (std::string(name) == "XDG_CONFIG_HOME") xdg_ = saved;
        else registry_ = saved;
        ::setenv(name, value.c_str(), 1);
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }

    std::filesystem::path dir_;
    std::optional<std::string> home_, xdg_, registry_;
};
