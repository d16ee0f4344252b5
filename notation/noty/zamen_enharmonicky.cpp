#include "notation/noty/zamen_enharmonicky.h"

#include <utility>

#include "platform/vb/strings.h"

namespace {

bool JeCislice(const std::string& znak) { return znak.size() == 1 && znak[0] >= '0' && znak[0] <= '9'; }

// Pairs of names of the same tone within one octave, read both ways.
const std::pair<const char*, const char*> kDvojice[] = {
    {"cis", "des"}, {"dis", "es"}, {"e", "fes"}, {"f", "eis"}, {"fis", "ges"}, {"gis", "as"}, {"ais", "b"},
};

}  // namespace

vb::Variant ZamenEnharmonicky(const std::string& Ton) {
    // The octave part is the octave digit, when there is one, with the comma;
    // the pitch is what stands before it.
    const long delka = vb::Len(Ton);
    const bool sCislici = delka >= 2 && JeCislice(vb::Mid(Ton, delka - 1, 1));
    const std::string Oktava = vb::Right(Ton, sCislici ? 2 : 1);
    const std::string Zaklad = vb::Left(Ton, delka - vb::Len(Oktava));

    for (const auto& [a, b] : kDvojice) {
        if (Zaklad == a) return std::string(b) + Oktava;
        if (Zaklad == b) return std::string(a) + Oktava;
    }

    // "ces" is the h of the octave below, "his" the c of the octave above;
    // below the small octave there is no name.
    if (Zaklad == "ces") {
        if (!sCislici) return "nejde";
        const int cislo = Oktava[0] - '0';
        if (cislo == 0) return "nejde";
        return "h" + (cislo == 1 ? std::string() : std::to_string(cislo - 1)) + vb::Right(Oktava, 1);
    }
    if (Zaklad == "his") {
        const int cislo = sCislici ? Oktava[0] - '0' : 0;
        return "c" + std::to_string(cislo + 1) + vb::Right(Oktava, 1);
    }
    return "nejde";
}
