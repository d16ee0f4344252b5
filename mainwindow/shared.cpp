#include "mainwindow/shared.h"

#include "platform/com/vb_variant.h"
#include "platform/msgbox/msgbox.h"
#include "platform/forms/controls.h"
#include "platform/vb/conversions.h"
#include "resources/app_info/app_info.h"
#include "store/module1.h"

void OznamChybuOkna(const vb::RuntimeError& e) {
    if (e.Number() == vb::err::SubscriptOutOfRange) {
        forms::MsgBox("Soubor nelze aktivovat !\r\nUživatel, nebo jiný program zavřel Excel.\r\n"
                      "Tato chyba může způsobit nestabilitu systému !",
                      forms::vbExclamation, "Nenalezena externí aplikace.");
    } else {
        resources::NeocekavanaChyba(e.Number());
    }
}

void OznamChybuSPokracovanim(const std::string& kde, int cislo, const std::string& titulek) {
    if (resources::UkazVysvetleniChyby(cislo)) return;
    forms::MsgBox(kde + " došlo k chybě číslo " + std::to_string(cislo) +
                      ". Možná budete moci dále pokračovat. V případě problémů volejte " + resources::kMakerContact,
                  forms::vbExclamation, titulek);
}

std::string Radek() { return std::to_string(Excel().ActiveCell().Row()); }

int DruhKnofliku(const forms::Image& knoflik) { return vb::CInt(vb::Variant(knoflik.Tag)); }

vb::Variant VysledekKlice(calvira::_Calvira12& klic) {
    com::VARIANT v;
    com::VariantInit(&v);
    com::CheckHresult(klic.get_Vysledek(&v));
    const vb::Variant vysledek = com::ToVbVariant(v);
    com::VariantClear(&v);
    return vysledek;
}

std::uint8_t CisloTonu(calvira::_Calvira12& klic, const std::string& nota) {
    const vb::Variant jmeno(nota);
    {
        com::VariantArg arg(jmeno);
        com::CheckHresult(klic.DejCisloTonu(arg.get()));
    }
    return vb::CByte(VysledekKlice(klic));
}

void OznamNeexistujiciNotu(const std::string& nota) {
    forms::MsgBox("Nota " + nota +
                      " v nastaveném ladění neexistuje.\r"
                      "Zkontrolujte prosím aktuální záznam v písničce a opravte uvedenou notu,\r"
                      "nebo proveďte pomocí programu nový záznam aktuálního akordu znovu.\r\r"
                      "V tuto chvíli tón nemůže být zobrazen !",
                  forms::vbExclamation, "Chyba při vyhledávání tónu.");
}

std::string TonVeStupnici(calvira::_Calvira12& klic, std::int16_t& ton, const std::string& stupnice,
                          bool& mimoStupnici) {
    vb::Variant cislo = vb::Variant::ByRef(ton);
    const vb::Variant nazev(stupnice);
    {
        com::VariantArg argCislo(cislo);
        com::VariantArg argStupnice(nazev);
        com::CheckHresult(klic.DejTonVeStupnici(argCislo.get(), argStupnice.get()));
    }
    com::VARIANT_BOOL mimo = 0;
    com::CheckHresult(klic.get_TonNeniVeStupnici(&mimo));
    mimoStupnici = mimo != 0;
    return vb::CStr(VysledekKlice(klic));
}
