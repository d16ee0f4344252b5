#include "store/okna_sesitu.h"

#include <utility>

#include "store/module1.h"

namespace {

OknoPisne& Okno() {
    static OknoPisne okno;
    return okno;
}

DrzitelSesitu& Drzitel() {
    static DrzitelSesitu drzitel;
    return drzitel;
}

}  // namespace

void NastavOknoPisne(OknoPisne okno) { Okno() = std::move(okno); }

void NastavDrziteleSesitu(DrzitelSesitu drzitel) { Drzitel() = std::move(drzitel); }

xl::UserClose ZavreniOknaSesitu(const std::string& nazev) {
    // Copies: what they call may register others meanwhile.
    if (const DrzitelSesitu drzitel = Drzitel(); drzitel && drzitel(nazev)) return xl::UserClose::Refuse;
    if (nazev == NazevReadOnly) return xl::UserClose::Minimise;
    if (const auto ukonci = Okno().UkonciPisen; ukonci && !AktualniPisen.empty() && nazev == AktualniPisen) {
        // The program saves its songs itself: the spreadsheet asks nothing.
        ukonci();
        return xl::UserClose::Handled;
    }
    return xl::UserClose::Close;
}
