// The program's version information (VB's App object) and the maker's
// contact line that the unexpected-error messages name.
#pragma once

#include <string>

namespace resources {

struct AppInfo {
    const char* Title = "Belmora";
    const char* ProductName = "Belmora";
    int Major = 2;
    int Minor = 1;
    int Revision = 0;
    const char* LegalCopyright = "Copyright \u00a9 2026 Belmora";
    const char* CompanyName = "Belmora";
    // The program folder: where read_only.xls, Korvel.htm and libcalvira.so
    // lie, as sys::AppPath finds it: BELMORA_PROGRAM_DIR names it when set;
    // otherwise it is the folder of the running executable.
    std::string Path() const;
};

inline constexpr AppInfo App{};

// Named in the unexpected-error messages after "Volejte firmu " and similar.
inline constexpr const char* kMakerContact = "Belmora \u2013 podpora programu";

// The text of the unexpected-error message: "Volejte firmu ", the contact
// line, " a sdělte číslo chyby " and the error number.
std::string NeocekavanaChybaText(int cislo);

// The box every unexpected error ends with: that text, the critical icon and
// the title "Neočekávaná chyba !".
void NeocekavanaChyba(int cislo);

// Where the program knows the cause of an error better than its number says
// (a component that is not registered), the next report of that number shows
// this explanation instead of the unexpected-error box.
void VysvetliPristiChybu(int cislo, std::string text, std::string titulek);
// Shows the explanation waiting for error `cislo` and drops it; false when
// none waits.
bool UkazVysvetleniChyby(int cislo);

}  // namespace resources
