#include "resources/app_info.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

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

namespace {

struct Vysvetleni {
    int cislo = 0;
    std::string text, titulek;
};
Vysvetleni g_vysvetleni;

}  // namespace

void NeocekavanaChyba(int cislo) {
    if (UkazVysvetleniChyby(cislo)) return;
    MsgBox(NeocekavanaChybaText(cislo), vbCritical, "Neočekávaná chyba !");
}

void VysvetliPristiChybu(int cislo, std::string text, std::string titulek) {
    g_vysvetleni = {cislo, std::move(text), std::move(titulek)};
}

bool UkazVysvetleniChyby(int cislo) {
    if (g_vysvetleni.cislo == 0 || g_vysvetleni.cislo != cislo) return false;
    const Vysvetleni v = std::exchange(g_vysvetleni, {});
    MsgBox(v.text, vbCritical, v.titulek);
    return true;
}

}  // namespace forms
