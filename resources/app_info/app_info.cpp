#include "resources/app_info/app_info.h"

#include <utility>

#include "platform/msgbox/msgbox.h"
#include "platform/system/files.h"

namespace resources {

std::string AppInfo::Path() const { return sys::AppPath(); }

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
    forms::MsgBox(NeocekavanaChybaText(cislo), forms::vbCritical, "Neočekávaná chyba !");
}

void VysvetliPristiChybu(int cislo, std::string text, std::string titulek) {
    g_vysvetleni = {cislo, std::move(text), std::move(titulek)};
}

bool UkazVysvetleniChyby(int cislo) {
    if (g_vysvetleni.cislo == 0 || g_vysvetleni.cislo != cislo) return false;
    const Vysvetleni v = std::exchange(g_vysvetleni, {});
    forms::MsgBox(v.text, forms::vbCritical, v.titulek);
    return true;
}

}  // namespace resources
