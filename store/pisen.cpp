#include "store/pisen.h"

#include "platform/msgbox/msgbox.h"
#include "platform/vb/runtime_error.h"
#include "store/hlaseni.h"
#include "store/module1.h"

bool OtevriSesitPisne(const std::string& Soubor, const std::string& cinnost, const std::string& titulek) {
    try {
        Excel().Workbooks().Open(Soubor);
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::ApplicationDefined) throw;
        // The spreadsheet names the file and why it cannot be opened.
        forms::MsgBox(!e.Description().empty()
                          ? e.Description()
                          : "Soubor " + Soubor +
                                " nelze otevřít.\r\nZkontrolujte, zda jde o sešit Excelu, zda není poškozen a zda "
                                "není otevřen sešit stejného názvu.",
                      forms::vbExclamation, titulek);
        return false;
    }
    // The lookup workbook would be saved over and closed as the song.
    return !JeVybranReadOnly(cinnost, titulek);
}
