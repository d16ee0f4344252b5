// The tone-name object of the window: the component calvira's Calvira12,
// made by its class id the first time it is needed and kept until the
// window goes. An unregistered component gives runtime error 429, reported
// with what the user can do about it.
#include <filesystem>

#include "mainwindow/form1.h"
#include "resources/app_info/app_info.h"

namespace {

// A path as the user types it into a shell.
std::string ProShell(const std::string& path) {
    if (path.find_first_of(" '\"$\\`") == std::string::npos) return path;
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void VysvetliNeregistrovanouSoucast() {
    const std::filesystem::path program = resources::App.Path();
    resources::VysvetliPristiChybu(
        vb::err::CannotCreateObject,
        "Součást calvira (libcalvira.so), která dává knoflíkům a notám názvy tónů, není pro tohoto uživatele "
        "zaregistrována. Bez ní nelze písničky číst ani zapisovat.\r\n\r\n"
        "Zaregistrujte ji příkazem\r\n" +
            ProShell((program / "belmora-regsvr").string()) + " " + ProShell((program / "libcalvira.so").string()) +
            "\r\na program spusťte znovu.",
        "Součást calvira není zaregistrována");
}

}  // namespace

calvira::_Calvira12& Form1::Klic() {
    if (!Klic_) {
        void* objekt = nullptr;
        const com::HRESULT hr =
            com::CoCreateInstance(calvira::CLSID_Calvira12, nullptr, calvira::IID_Calvira12, &objekt);
        if (hr == com::REGDB_E_CLASSNOTREG || hr == com::CO_E_DLLNOTFOUND) VysvetliNeregistrovanouSoucast();
        if (com::Failed(hr) || !objekt) com::RaiseCannotCreate(hr);
        Klic_ = com::ComPtr<calvira::_Calvira12>::Attach(static_cast<calvira::_Calvira12*>(objekt));
    }
    return *Klic_.Get();
}
