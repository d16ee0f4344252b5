#include "platform/system/files.h"

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/paths/paths.h"
#include "platform/vb/runtime_error.h"

namespace sys {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void RaisePathNotFound() { vb::Raise(err::PathNotFound, {}, "Path not found"); }
[[noreturn]] void RaiseAccess() { vb::Raise(err::PathFileAccess, {}, "Path/File access error"); }

}  // namespace

bool FileExists(const std::string& windowsPath) {
    // A name ending in a separator names a folder, never a file.
    if (windowsPath.empty() || windowsPath.back() == '\\' || windowsPath.back() == '/') return false;
    const auto native = ToNativePath(windowsPath);
    if (!native) return false;
    std::error_code ec;
    const auto st = fs::status(*native, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool FolderExists(const std::string& windowsPath) {
    if (windowsPath.empty()) return false;
    const auto native = ToNativePath(windowsPath);
    if (!native) return false;
    std::error_code ec;
    return fs::is_directory(*native, ec);
}

void MkDir(const std::string& windowsPath) {
    const auto native = windowsPath.empty() ? std::nullopt : ToNativePath(windowsPath);
    if (!native) RaisePathNotFound();
    const fs::path target(*native);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) RaiseAccess();
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) RaisePathNotFound();
    // create_directory (not create_directories): VB makes one level only.
    if (!fs::create_directory(target, ec) || ec) RaiseAccess();
}

std::string AppPath() {
    if (const char* dir = std::getenv("BELMORA_PROGRAM_DIR"); dir && *dir) return dir;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec).string() : exe.parent_path().string();
}

}  // namespace sys
