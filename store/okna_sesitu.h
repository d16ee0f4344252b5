// The workbook windows belong to the program while it holds their workbooks:
// what becomes of one that the user closes (its close button, Alt+F4). The
// song's window ends the song as the main window's "Konec písničky" does; the
// lookup workbook's window is minimised, since the program reads its tables
// for the whole run; a workbook that a dialog works on stays open while it
// does; any other window closes as it does on its own.
#pragma once

#include <functional>
#include <string>

#include "platform/excel/application.h"

// What the store needs of the main window. The window fills it in when it
// loads and empties it when it goes; the store reaches it in no other way.
struct OknoPisne {
    // Ends the open song as "Konec písničky" does: saved and closed, and the
    // window back in its state without a song. A song that cannot be saved
    // stays open, with its window, after a box that says why.
    std::function<void()> UkonciPisen;
};
void NastavOknoPisne(OknoPisne okno);

// A dialog that works on a workbook while it is open (the conversion): asked
// first about every window the user closes. True when the dialog holds that
// workbook; it has then told the user why the window stays open. Empty: no
// dialog holds one.
using DrzitelSesitu = std::function<bool(const std::string& nazev)>;
void NastavDrziteleSesitu(DrzitelSesitu drzitel);

// What becomes of the window of workbook `nazev` that the user closes;
// SpustExcel installs it on the working spreadsheet.
xl::UserClose ZavreniOknaSesitu(const std::string& nazev);
