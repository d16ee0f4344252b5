#include "store/module1.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/forms/form.h"
#include "platform/msgbox/msgbox.h"
#include "platform/system/files.h"
#include "platform/paths/paths.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "store/hlaseni.h"
#include "store/okna_sesitu.h"

std::shared_ptr<xl::Application> ExcelAplikace;
std::string NazevReadOnly;
std::string AktualniPisen;
std::string StaraCesta;

namespace program {

namespace {
EndHook& Hook() {
    static EndHook hook;
    return hook;
}
}  // namespace

EndHook SetEndHook(EndHook hook) { return std::exchange(Hook(), std::move(hook)); }

void Release() {
    ExcelAplikace.reset();
    forms::ReleaseFormInstances();
}

void End(int exitCode) {
    if (Hook()) Hook()(exitCode);
    Release();
    // The process goes without running the destructors of static objects:
    // pictures and windows kept there would outlive the window system.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace program

xl::Application& Excel() {
    if (!ExcelAplikace) vb::Raise(vb::err::ObjectNotSet, "Module1", "Object variable or With block variable not set");
    return *ExcelAplikace;
}

namespace {

// Opens the lookup workbook of the program folder read-only, on its sheet
// "Calvira12". A file that is missing, no workbook, damaged or without that
// sheet is reported with its name and the cause, and the program ends.
void OtevriTabulky() {
    const std::string soubor = sys::AppPath() + "/read_only.xls";
    std::string pricina;
    int cislo = 0;
    try {
        ExcelAplikace->Workbooks().Open(soubor, {}, true);
        NazevReadOnly = ExcelAplikace->ActiveWorkbook().Name();
        ExcelAplikace->Sheets("Calvira12").Select();
        return;
    } catch (const vb::RuntimeError& e) {
        cislo = e.Number();
        if (cislo == vb::err::ApplicationDefined && !e.Description().empty())
            pricina = e.Description();
        else if (cislo == vb::err::SubscriptOutOfRange)
            pricina = "Soubor " + sys::ToWindowsPath(soubor) + " neobsahuje list „Calvira12“ s tabulkou knoflíků.";
        else
            throw;
    }
    OznamChybuSouboru(pricina, cislo,
                      "Soubor read_only.xls s tabulkami programu patří do složky programu a bez něj program "
                      "nemůže pracovat. Program bude ukončen; nainstalujte ho prosím znovu.",
                      "Tabulky programu nelze načíst.");
    program::End(1);
}

}  // namespace

std::string SpustExcel() {
    try {
        // The first instance only reads the user's default folder and points
        // it at the songs; the one kept for the run is started afresh.
        std::shared_ptr<xl::Application> prvni = xl::CreateObject("excel.application");
        StaraCesta = prvni->DefaultFilePath();
        prvni->DefaultFilePath(PracovniAdresar);
        prvni->Quit();
        prvni.reset();

        ExcelAplikace = xl::CreateObject("excel.application");
        ExcelAplikace->OnUserClose(ZavreniOknaSesitu);
        ExcelAplikace->Visible(true);
        OtevriTabulky();
        return ExcelAplikace->ActiveSheet().Name();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::CannotCreateObject) {
            forms::MsgBox(
                "Tento program vyžaduje instalaci Microsoft Excelu na Vašem počítači !\r\n"
                "Jestliže nemáte nainstalován Microsoft Excel verzi 97 nebo vyšší,\r\n"
                "nelze tento program z licenčních důvodů používat !",
                forms::vbExclamation, "Nenalezena externí aplikace. Program bude ukončen.");
        } else {
            resources::NeocekavanaChyba(e.Number());
        }
        program::End(1);
    }
}

vb::Variant AktivujPisen() {
    try {
        Excel().Windows(AktualniPisen).Activate();
        return true;
    } catch (const vb::RuntimeError&) {
        return {};
    }
}

vb::Variant AktivujReadOnly() {
    try {
        Excel().Windows(NazevReadOnly).Activate();
        return true;
    } catch (const vb::RuntimeError&) {
        forms::MsgBox("Soubor read_only.xls není otevřen. Nelze načítat data ! Ukončete program a restartujte PC.",
                      forms::vbCritical, "Chyba.");
        return {};
    }
}
