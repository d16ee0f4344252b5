#include "mainwindow/shared.h"

#include "platform/com/vb_variant.h"
#include "platform/forms/app_info.h"
#include "platform/forms/msgbox.h"

void OznamChybuOkna(const vb::RuntimeError& e) {
    if (e.Number() == vb::err::SubscriptOutOfRange) {
        forms::MsgBox("Soubor nelze aktivovat !\r\nUživatel, nebo jiný program zavřel Excel.\r\n"
                      "Tato chyba může způsobit nestabilitu systému !",
                      forms::vbExclamation, "Nenalezena externí aplikace.");
    } else {
        forms::NeocekavanaChyba(e.Number());
    }
}

void OznamChybuSPokracovanim(const std::string& kde, int cislo, const std::string& titulek) {
    if (forms::UkazVysvetleniChyby(cislo)) return;
    forms::MsgBox(kde + " došlo k chybě číslo " + std::to_string(cislo) +
                      ". Možná budete moci dále pokračovat. V případě problémů volejte " + forms::kMakerContact,
                  forms::vbExclamation, titulek);
}

vb::Variant VysledekKlice(calvira::_Calvira12& klic) {
    com::VARIANT v;
    com::VariantInit(&v);
    com::CheckHresult(klic.get_Vysledek(&v));
    const vb::Variant vysledek = com::ToVbVariant(v);
    com::VariantClear(&v);
    return vysledek;
}
