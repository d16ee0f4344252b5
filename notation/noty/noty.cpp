#include "notation/noty/noty.h"

#include "platform/msgbox/msgbox.h"
#include "platform/vb/strings.h"

namespace {

// The octave digit of a note name: only the single characters "1" to "4".
// Returns 0 for anything else.
int OktavaZnaku(const std::string& znak) {
    if (znak.size() == 1 && znak[0] >= '1' && znak[0] <= '4') return znak[0] - '0';
    return 0;
}

PolohaNoty Poloha(const std::string& Predznamenani, int Krok) {
    if (Predznamenani == "k") return {Znamenko::Krizek, Krok};
    if (Predznamenani == "b") return {Znamenko::Becko, Krok};
    return {Znamenko::Zadne, Krok};
}

// The sharp spelling of the pitches the lookup sheet does not hold.
struct Preklad {
    const char* z;
    const char* na;
};
constexpr Preklad kPreklady[] = {
    {"b", "ais"}, {"as", "gis"}, {"ges", "fis"}, {"eis", "f"}, {"fes", "e"}, {"es", "dis"}, {"des", "cis"},
};

void NeocekavanaHodnota(const std::string& titulek) {
    forms::MsgBox("Neočekávaná hodnota !", forms::vbCritical + forms::vbOKOnly, titulek);
}

}  // namespace

vb::Variant clsNoty::UrciPolohuNoty(const std::string& Nota) {
    const std::optional<PolohaNoty> poloha = UrciPolohu(Nota);
    if (!poloha) return {};
    const char* predznamenani = poloha->znamenko == Znamenko::Krizek  ? "k"
                                : poloha->znamenko == Znamenko::Becko ? "b"
                                                                      : "";
    return predznamenani + std::to_string(poloha->vyska);
}

std::optional<PolohaNoty> clsNoty::UrciPolohu(const std::string& Nota) {
    std::string Predznamenani;
    int Krok = 0;

    // The letter gives the step within the octave; "b" is h flat.
    const std::string prvni = vb::Mid(Nota, 1, 1);
    if (prvni == "c") Krok = 0;
    else if (prvni == "d") Krok = 60;
    else if (prvni == "e") Krok = 120;
    else if (prvni == "f") Krok = 180;
    else if (prvni == "g") Krok = 240;
    else if (prvni == "a") Krok = 300;
    else if (prvni == "h") Krok = 360;
    else if (prvni == "b") {
        Krok = 360;
        Predznamenani = "b";
    } else {
        forms::MsgBox("Neznámý tón !", forms::vbCritical + forms::vbOKOnly);
        return std::nullopt;
    }

    // Second character: the comma, an octave digit, or the start of "is",
    // "es" or "s". Whatever follows "i" or "e" is not checked: only the comma
    // or a digit ends the name.
    const std::string druhy = vb::Mid(Nota, 2, 1);
    if (druhy == ",") return Poloha(Predznamenani, Krok);
    if (druhy == "i") {
        Predznamenani = "k";
    } else if (druhy == "e" || druhy == "s") {
        Predznamenani = "b";
    } else if (const int oktava = OktavaZnaku(druhy)) {
        return Poloha(Predznamenani, Krok + 420 * oktava);
    } else {
        NeocekavanaHodnota("druhý znak tónu");
    }

    const std::string treti = vb::Mid(Nota, 3, 1);
    if (treti == ",") return Poloha(Predznamenani, Krok);
    if (treti != "s") {
        if (const int oktava = OktavaZnaku(treti)) return Poloha(Predznamenani, Krok + 420 * oktava);
        NeocekavanaHodnota("třetí znak tónu");
    }

    const std::string ctvrty = vb::Mid(Nota, 4, 1);
    if (ctvrty == ",") return Poloha(Predznamenani, Krok);
    if (const int oktava = OktavaZnaku(ctvrty)) return Poloha(Predznamenani, Krok + 420 * oktava);
    NeocekavanaHodnota("čtvrtý znak tónu");
    return std::nullopt;
}

vb::Variant clsNoty::PrevedNaKrizky(const std::string& Ton) {
    // The name is the pitch, an optional octave digit 1-5 and the comma.
    if (vb::Right(Ton, 1) != ",") return Ton;
    std::string vyska = vb::Left(Ton, vb::Len(Ton) - 1);
    std::string oktava;
    const std::string posledni = vb::Right(vyska, 1);
    if (posledni >= "1" && posledni <= "5" && posledni.size() == 1) {
        oktava = posledni;
        vyska = vb::Left(vyska, vb::Len(vyska) - 1);
    }

    // Ces is h of the octave below: the digit goes one down, "h," having none.
    if (vyska == "ces") {
        if (oktava.empty()) return std::string("h0,");
        if (oktava == "1") return std::string("h,");
        return "h" + std::to_string(oktava[0] - '0' - 1) + ",";
    }
    for (const Preklad& p : kPreklady)
        if (vyska == p.z) return std::string(p.na) + oktava + ",";
    return Ton;
}
