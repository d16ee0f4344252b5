#include "store/hmaty.h"

#include <string>

#include "platform/vb/conversions.h"

namespace {

// Column I seen from column B.
constexpr int kSloupecSmeru = 7;

}  // namespace

bool JeSmerMechu(const std::string& bunka) { return bunka == "Tlak" || bunka == "Tah"; }

bool JeHmat(const xl::Range& BunkaB) {
    if (!vb::CStr(BunkaB.Value()).empty()) return true;
    return JeSmerMechu(vb::CStr(BunkaB.Offset(0, kSloupecSmeru).Value()));
}

xl::Range NajdiKonecPisne(const xl::Range& Oblast, const xl::Range& Po) {
    xl::Range prvniNalez;
    xl::Range po = Po;
    for (;;) {
        const xl::Range nalez = Oblast.Find({.What = "",
                                             .After = po,
                                             .LookIn = xl::xlFormulas,
                                             .LookAt = xl::xlPart,
                                             .SearchOrder = xl::xlByRows,
                                             .SearchDirection = xl::xlNext,
                                             .MatchCase = false});
        if (nalez.IsNothing() || !JeHmat(nalez)) return nalez;
        // Every empty cell of the range was a grip of basses only: the search
        // has come round to the first of them again.
        if (prvniNalez.IsNothing()) prvniNalez = nalez;
        else if (nalez == prvniNalez) return {};
        po = nalez;
    }
}
