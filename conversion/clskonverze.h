// clsKonverze: the steps of a conversion into another major scale that need
// the lookup workbook or a question to the user. One note at a time is moved
// from one scale's row of the scale table "Transpozice" (read_only.xls) into
// the cell of the same column in the target scale's row. The class keeps no
// song state: everything it works on is in the spreadsheet and in Module1's
// globals.
#pragma once

#include <string>

#include "conversion/okno.h"
#include "platform/vb/variant.h"

// The text written into the song in place of a note that could not be
// converted; the reading strip stops at it.
inline constexpr const char* kNeprekonvertovano = "Nepřekonvertováno!";

// The answers of ZmenaLadeni.
inline constexpr const char* kZmenit = "Zmenit";
inline constexpr const char* kNe = "Ne";
inline constexpr const char* kStorno = "Storno";

class clsKonverze {
public:
    // `okno`: what the opening window lends (its caption and its file and
    // folder checks); it must outlive the object.
    explicit clsKonverze(const OknoKonverze& okno) : okno_(okno) {}

    // The note `Nota` of scale `LadeniZdroj` spelled in scale `LadeniCil`:
    // the converted name; kNeprekonvertovano (after a warning box) when the
    // note, either scale or the converted tone is not in the table; Empty
    // after an unexpected error (the box has been shown). Leaves the lookup
    // workbook's window active on its sheet "Transpozice".
    vb::Variant Konvertuj(const std::string& LadeniZdroj, const std::string& LadeniCil, const std::string& Nota);

    // Makes an empty song workbook for a conversion result in the song folder,
    // named after `NazevPisne` (the song's name with ".xls") and the target
    // scale, with the song's syllables copied in. The new workbook's name, or
    // Empty when nothing was created.
    vb::Variant VytvorCilovySoubor(const std::string& LadeniCil, const std::string& NazevPisne);

    // The scale of the song `Pisen` (a workbook name): W1 of its active sheet
    // as text, "" when W1 is empty. Activates the song's window; a window that
    // is gone raises its error to the caller.
    std::string ZjistiZapsaneLadeni(const std::string& Pisen);

    // Asks whether the part of the song from row `Radek`, where the scale
    // changes from `PuvLadeni` to `NoveLadeni`, is to go into another target:
    // kZmenit (Yes), kNe (No, the default) or kStorno (Cancel).
    vb::Variant ZmenaLadeni(const std::string& PuvLadeni, const std::string& NoveLadeni, const std::string& Radek);

private:
    const OknoKonverze& okno_;
};
