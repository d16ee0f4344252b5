#include "platform/forms/app_info.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/forms/msgbox.h"

namespace forms {

std::string AppInfo::Path() const {
    if (const char* dir = std::getenv("BELMORA_PROGRAM_DIR"); dir && *dir) return dir;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string NeocekavanaChybaText(int cislo) {
    return std::string("Volejte firmu ") + kMakerContact + " a sdělte číslo chyby " + std::to_string(cislo);
}

void NeocekavanaChyba(int cislo) { MsgBox(NeocekavanaChybaText(cislo), vbCritical, "Neočekávaná chyba !"); }

}  // namespace forms
