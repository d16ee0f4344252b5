#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/safe_file/safe_file.h"

namespace com {

namespace fs = std::filesystem;

std::string RegistryFilePath() {
    if (const char* p = std::getenv("BELMORA_REGISTRY"); p && *p) return p;
    fs::path base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        base = x;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return (base / "belmora" / "registry.ini").string();
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    CaseInsensitiveLess less;
    const auto head = s.substr(0, prefix.size());
    return !less(head, prefix) && !less(prefix, head);
}

}  // namespace

RegistryTree RegistryTree::Parse(std::string_view text) {
    RegistryTree tree;
    Values* current = nullptr;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view t = Trim(line);
        if (t.empty() || t.front() == ';' || t.front() == '#') continue;
        if (t.front() == '[') {
            current = nullptr;
            if (t.back() != ']' || t.size() < 3) continue;
            const std::string_view key = Trim(t.substr(1, t.size() - 2));
            if (key.empty()) continue;
            current = &tree.keys_[std::string(key)];
            continue;
        }
        const auto eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, eq));
        if (name.empty()) continue;
        (*current)[std::string(name)] = std::string(line.substr(eq + 1));
    }
    return tree;
}

std::string RegistryTree::Serialize() const {
    std::string out;
    for (const auto& [key, values] : keys_) {
        if (!out.empty()) out += '\n';
        out += '[' + key + "]\n";
        for (const auto& [name, value] : values) out += name + '=' + value + '\n';
    }
    return out;
}

std::optional<std::string> RegistryTree::Get(std::string_view key, std::string_view name) const {
    const auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

bool RegistryTree::Set(std::string_view key, std::string_view name, std::string_view value) {
    if (key.empty() || HasLineBreak(key) || key.find_first_of("[]") != std::string_view::npos) return false;
    if (Trim(key) != key || Trim(name) != name || name.empty() || HasLineBreak(name) ||
        name.find('=') != std::string_view::npos || name.front() == ';' || name.front() == '#' ||
        name.front() == '[')
        return false;
    if (HasLineBreak(value)) return false;
    keys_[std::string(key)][std::string(name)] = std::string(value);
    return true;
}

bool RegistryTree::DeleteTree(std::string_view key) {
    bool removed = keys_.erase(std::string(key)) > 0;
    const std::string prefix = std::string(key) + '\\';
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && StartsWithNoCase(it->first, prefix);) {
        it = keys_.erase(it);
        removed = true;
    }
    return removed;
}

bool RegistryTree::HasKey(std::string_view key) const {
    return keys_.find(key) != keys_.end() || HasSubkeys(key);
}

bool RegistryTree::HasSubkeys(std::string_view key) const {
    const std::string prefix = std::string(key) + '\\';
    const auto it = keys_.lower_bound(prefix);
    return it != keys_.end() && StartsWithNoCase(it->first, prefix);
}

namespace {

RegistryTree ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::stringstream ss;
    ss << in.rdbuf();
    return RegistryTree::Parse(ss.str());
}

class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace

RegistryTree ReadRegistry() {
    return ReadFile(RegistryFilePath());
}

HRESULT EditRegistry(const std::function<HRESULT(RegistryTree&)>& edit) {
    const std::string path = RegistryFilePath();
    std::error_code ec;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);
    FileLock lock(path + ".lock");
    if (!lock.Held()) return REGDB_E_WRITEREGDB;
    RegistryTree tree = ReadFile(path);
    const HRESULT hr = edit(tree);
    if (Failed(hr)) return hr;
    // The file is either the old one or the new one, never a mixture.
    return sys::SaveFileSafely(path, tree.Serialize(), 0600) == sys::SaveFailure::None ? hr : REGDB_E_WRITEREGDB;
}

namespace {

std::string VersionText(const TypeLibDesc& lib) {
    return std::to_string(lib.majorVersion) + '.' + std::to_string(lib.minorVersion);
}

std::string TypeLibKey(const TypeLibDesc& lib) {
    return "TypeLib\\" + FormatGuid(lib.libid) + '\\' + VersionText(lib);
}

std::string LcidText(LCID lcid) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", unsigned(lcid));
    return buf;
}

const char* SysKindText(std::uint32_t sysKind) {
    return sysKind == SYS_WIN16 ? "win16" : "win32";
}

}  // namespace

HRESULT RegisterServer(const TypeLibDesc& lib, const std::string& libraryPath, std::string_view threadingModel) {
    return EditRegistry([&](RegistryTree& t) -> HRESULT {
        const std::string libid = FormatGuid(lib.libid);
        const std::string version = VersionText(lib);
        bool ok = true;
        for (std::uint32_t i = 0; i < lib.coclassCount; ++i) {
            const CoClassDesc& c = lib.coclasses[i];
            const std::string key = "CLSID\\" + FormatGuid(c.clsid);
            ok = ok && t.Set(key, "@", c.name);
            ok = ok && t.Set(key + "\\InprocServer32", "@", libraryPath);
            ok = ok && t.Set(key + "\\InprocServer32", "ThreadingModel", threadingModel);
            ok = ok && t.Set(key + "\\TypeLib", "@", libid);
            ok = ok && t.Set(key + "\\VERSION", "@", version);
        }
        if (!ok) return SELFREG_E_CLASS;
        for (std::uint32_t i = 0; i < lib.interfaceCount; ++i) {
            const InterfaceDesc& itf = lib.interfaces[i];
            const std::string key = "Interface\\" + FormatGuid(itf.iid);
            ok = ok && t.Set(key, "@", itf.name);
            ok = ok && t.Set(key + "\\TypeLib", "@", libid);
            ok = ok && t.Set(key + "\\TypeLib", "Version", version);
        }
        const std::string key = TypeLibKey(lib);
        const std::string folder = std::filesystem::path(libraryPath).parent_path().string();
        ok = ok && t.Set(key, "@", lib.description);
        ok = ok && t.Set(key + "\\FLAGS", "@", "0");
        ok = ok && t.Set(key + '\\' + LcidText(lib.lcid) + '\\' + SysKindText(lib.sysKind), "@", libraryPath);
        ok = ok && t.Set(key + "\\HELPDIR", "@", folder);
        return ok ? S_OK : SELFREG_E_TYPELIB;
    });
}

HRESULT UnregisterServer(const TypeLibDesc& lib) {
    return EditRegistry([&](RegistryTree& t) -> HRESULT {
        for (std::uint32_t i = 0; i < lib.coclassCount; ++i) t.DeleteTree("CLSID\\" + FormatGuid(lib.coclasses[i].clsid));
        for (std::uint32_t i = 0; i < lib.interfaceCount; ++i)
            t.DeleteTree("Interface\\" + FormatGuid(lib.interfaces[i].iid));
        t.DeleteTree(TypeLibKey(lib));
        return S_OK;
    });
}

std::optional<std::string> InprocServerPath(const GUID& clsid) {
    return ReadRegistry().Get("CLSID\\" + FormatGuid(clsid) + "\\InprocServer32");
}

std::optional<std::string> RegisteredTypeLibPath(const GUID& libid, std::uint16_t major, std::uint16_t minor) {
    const std::string key = "TypeLib\\" + FormatGuid(libid) + '\\' + std::to_string(major) + '.' + std::to_string(minor);
    const RegistryTree t = ReadRegistry();
    if (auto p = t.Get(key + "\\0\\win32")) return p;
    return std::nullopt;
}

}  // namespace com
