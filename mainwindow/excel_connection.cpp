// The window's side of the connection to the spreadsheet: selecting the
// lookup workbook's tone sheet for a lookup, returning the cursor to column
// B, and the shutdown when the window closes.
#include <string>

#include "mainwindow/form1.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "store/module1.h"

namespace {

// The message of the shutdown for a failure, told apart by its number.
void OznamChybuUkonceni(const vb::RuntimeError& e) {
    switch (e.Number()) {
    case vb::err::ObjectNotSet:
        forms::MsgBox("Nezavírejte příště prosím Excel ručně !\r\nAplikace si ho ovládá sama.", forms::vbExclamation,
                      "Nestandardní ukončení.");
        break;
    case vb::err::ApplicationDefined:
        forms::MsgBox("Chyba při ukládání souboru !\r\nData v písni mohou být ztracena.", forms::vbExclamation,
                      "Nestandardní ukončení.");
        break;
    default:
        resources::NeocekavanaChyba(e.Number());
        break;
    }
}

}  // namespace

vb::Variant Form1::NastavLadeni() {
    // The window to come back to. When even this cannot be read, no workbook
    // is active, so the lookup workbook is gone too and the next step says so.
    std::string puvodniOkno;
    try {
        puvodniOkno = Excel().ActiveWorkbook().Name();
    } catch (const vb::RuntimeError&) {
    }

    if (vb::LooseEquals(AktivujReadOnly(), false)) return {};

    vb::Variant vysledek;
    try {
        Excel().Sheets("Calvira12").Select();
        vysledek = true;
        Excel().Windows(puvodniOkno).Activate();
        return vysledek;
    } catch (const vb::RuntimeError&) {
        forms::MsgBox(std::string("Ve funkci NastavLadeni došlo k chybě. Tato chyba pravděpodobně nebude mít vliv na "
                                  "další běh programu. Přesto Vám autor bude vděčný, když bude upozorněn na toto "
                                  "hlášení. Chcete-li autora upozornit, kontaktujte prosím ") +
                          resources::kMakerContact,
                      forms::vbInformation, "Blíže nespecifikovaná chyba.");
    }
    // One more try to return to the window; if that fails as well, the user
    // has already been told and the caller goes on from where Excel stands.
    try {
        Excel().Windows(puvodniOkno).Activate();
    } catch (const vb::RuntimeError&) {
    }
    return vysledek;
}

void Form1::VyberSloupecB() {
    try {
        Excel().Range("B" + std::to_string(Excel().ActiveCell().Row())).Select();
    } catch (const vb::RuntimeError&) {
        forms::MsgBox("Umístění kurzoru do sloupce B se nezdařilo.", forms::vbInformation, "Chyba");
    }
}

void Form1::UkonciExcel() {
    try {
        if (vb::LooseEquals(AktivujPisen(), true)) Excel().ActiveWorkbook().Save();
    } catch (const vb::RuntimeError& e) {
        OznamChybuUkonceni(e);
    }

    // Quitting and restoring the folder are each tried once; when they fail,
    // one message says so and the shutdown still ends with the object released.
    bool oznameno = false;
    try {
        Excel().Quit();
    } catch (const vb::RuntimeError& e) {
        OznamChybuUkonceni(e);
        oznameno = true;
    }
    try {
        Excel().DefaultFilePath(StaraCesta);
    } catch (const vb::RuntimeError& e) {
        if (!oznameno) OznamChybuUkonceni(e);
    }
    ExcelAplikace.reset();
}

void Form1::Form_Unload(int& Cancel) { UkonciExcel(); }
