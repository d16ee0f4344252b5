#include "platform/paths/paths.h"

#include <cstdlib>

namespace sys {

namespace {

std::string WithoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::optional<std::string> DriveRoot(char letter) {
    if (!IsDriveLetter(letter)) return std::nullopt;
    const std::string var = std::string("BELMORA_DRIVE_") + Upper(letter);
    if (const char* v = std::getenv(var.c_str()); v && *v) return WithoutTrailingSlash(v);
    if (Upper(letter) == 'C') {
        if (const char* home = std::getenv("HOME"); home && *home) return WithoutTrailingSlash(home);
        return std::string("/");
    }
    return std::nullopt;
}

std::optional<std::string> ToNativePath(const std::string& windowsPath) {
    std::string rest = windowsPath;
    std::string root;
    if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == ':') {
        auto r = DriveRoot(rest[0]);
        if (!r) return std::nullopt;
        root = *r;
        rest = rest.substr(2);
        if (rest.empty() || (rest[0] != '\\' && rest[0] != '/')) rest = "/" + rest;
    }
    for (char& c : rest)
        if (c == '\\') c = '/';
    std::string out = root == "/" ? rest : root + rest;
    return WithoutTrailingSlash(out.empty() ? "/" : out);
}

std::string ToWindowsPath(const std::string& nativePath) {
    const auto root = DriveRoot('C');
    if (root && *root != "/") {
        if (nativePath == *root) return "C:\\";
        if (nativePath.size() > root->size() && nativePath.compare(0, root->size(), *root) == 0 &&
            nativePath[root->size()] == '/') {
            std::string rest = nativePath.substr(root->size());
            for (char& c : rest)
                if (c == '/') c = '\\';
            return "C:" + rest;
        }
    }
    return nativePath;
}

}  // namespace sys
