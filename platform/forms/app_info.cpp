#include "platform/forms/app_info.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace forms {

std::string AppInfo::Path() const {
    if (const char* dir = std::getenv("BELMORA_PROGRAM_DIR"); dir && *dir) return dir;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

}  // namespace forms
