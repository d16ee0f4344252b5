#include "notation/zapis/volby_stupnic.h"

#include <cstddef>

#include "notation/noty/stupnice.h"

void NactiVolbyStupnic(forms::ControlArray<forms::OptionButton>& volby, forms::Container& ramecek, float sirka) {
    for (int i = 0; i <= 14; ++i) {
        auto& opt = volby.Load(i, ramecek);
        opt.Move(120, 240.0f + 360.0f * static_cast<float>(i), sirka, 255);
        opt.Caption = kDuroveStupnice[static_cast<std::size_t>(i)];
    }
}

std::string ZvolenaStupnice(const forms::ControlArray<forms::OptionButton>& volby) {
    for (int i = 0; i <= 14; ++i)
        if (volby(i).Value.get()) return volby(i).Caption.get();
    return {};
}
