#include "store/lookup.h"

#include "platform/vb/runtime_error.h"
#include "store/module1.h"

xl::Range NajdiVReadOnly(const std::string& Oblast, const vb::Variant& Klic, int NejvyseHledani) {
    xl::Application& excel = Excel();
    excel.Windows(NazevReadOnly).Activate();
    excel.Range(Oblast).Select();

    xl::Range prvniNalez;
    for (int hledani = 1;; ++hledani) {
        const xl::Range nalez = excel.Selection().Find({.What = Klic,
                                                        .After = excel.ActiveCell(),
                                                        .LookIn = xl::xlFormulas,
                                                        .LookAt = xl::xlPart,
                                                        .SearchOrder = xl::xlByRows,
                                                        .SearchDirection = xl::xlNext,
                                                        .MatchCase = false});
        if (nalez.IsNothing())
            vb::Raise(vb::err::ObjectNotSet, xl::kErrorSource, "Hledaná hodnota v oblasti " + Oblast + " není.");
        // Without a limit, coming back to the first hit means that every cell
        // holding the key has been seen and none is the whole key.
        if (NejvyseHledani <= 0 && !prvniNalez.IsNothing() && nalez == prvniNalez) return {};
        nalez.Activate();
        if (vb::Equals(nalez.Value(), Klic)) return nalez;
        if (prvniNalez.IsNothing()) prvniNalez = nalez;
        if (NejvyseHledani > 0 && hledani >= NejvyseHledani) return {};
    }
}
