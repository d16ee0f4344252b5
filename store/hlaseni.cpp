#include "store/hlaseni.h"

#include "platform/msgbox/msgbox.h"
#include "platform/system/files.h"
#include "store/module1.h"

bool JeVybranReadOnly(const std::string& cinnost, const std::string& titulek) {
    if (Excel().ActiveWorkbook().Name() != NazevReadOnly) return false;
    forms::MsgBox("Soubor " + NazevReadOnly + " obsahuje tabulky programu a nelze ho " + cinnost +
                      ".\r\nVyberte prosím soubor s písničkou.",
                  forms::vbExclamation, titulek);
    return true;
}

void OznamChybejiciAdresar() {
    forms::MsgBox("Cesta C:\\Dokumenty\\Dovozivuz nenalezena. Aby mohl program správně pracovat, vytvořte nejprve "
                  "ručně tento adresář !!!",
                  forms::vbCritical, "Pracovní adresář neexistuje.");
}

void OznamChybuUlozeniDoSlozky(const vb::RuntimeError& chyba, const std::string& dovetek, const std::string& titulek) {
    if (!sys::FolderExists(PracovniAdresar))
        OznamChybejiciAdresar();
    else
        OznamChybuSouboru(chyba, dovetek, titulek);
}

void OznamZavrenyExcel() {
    forms::MsgBox("Soubor nelze uložit !\r\nUživatel, nebo jiný program zavřel Excel.\r\n"
                  "Tato chyba může způsobit nestabilitu systému !",
                  forms::vbExclamation, "Nenalezena externí aplikace.");
}

void OznamChybuSouboru(const std::string& pricina, int cislo, const std::string& dovetek, const std::string& titulek) {
    forms::MsgBox(pricina + "\r\n" + dovetek + "\r\nČíslo chyby: " + std::to_string(cislo) + ".", forms::vbCritical,
                  titulek);
}

void OznamChybuSouboru(const vb::RuntimeError& chyba, const std::string& dovetek, const std::string& titulek) {
    OznamChybuSouboru(chyba.Description(), chyba.Number(), dovetek, titulek);
}
