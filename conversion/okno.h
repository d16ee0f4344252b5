// What the conversion needs of the main window that opens it. The window
// fills this in when it opens the dialog; the conversion never reaches the
// window in any other way. Zobraz and NastavTitulek left empty are not done;
// without FldExist and FileExists the plain file-system tests serve, and a
// file that exists is not offered for deletion.
#pragma once

#include <functional>
#include <string>

struct OknoKonverze {
    // Shows the main window again (the dialog hid it while it was open).
    std::function<void()> Zobraz;
    // Ends the main window's song when its workbook is gone, as "Konec
    // písničky" does (the main window back to no song).
    std::function<void()> UkonciPisen;
    // The main window's caption: the name of the song it goes on with.
    std::function<void(const std::string& nazev)> NastavTitulek;
    // The window's folder test: True when the folder exists.
    std::function<bool(const std::string& slozka)> FldExist;
    // The window's replace question for a file that exists already: True when
    // the file is still there afterwards (kept, or it could not be deleted).
    std::function<bool(const std::string& soubor)> FileExists;
};
