#include "notation/zapis/notyzapis.h"

#include <initializer_list>
#include <utility>

#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "resources/strings/strings.h"

namespace {

// Where the k-th sign of a key signature stands at the start of the entry
// staff. Each Top is the head position of the note it marks less the sign's
// offset above its head (110 for a sharp, 140 for a flat), so the signs sit
// on the same grid as the loose signs the user drags onto the staff.
struct Misto {
    float Left;
    float Top;
};

// Sharps in the order of the signature: f2, c2, g2, d2, a1, e2, h1.
constexpr Misto kKrizky[7] = {
    {1490, 8850}, {1590, 9030}, {1690, 8790}, {1790, 8970}, {1890, 9150}, {1990, 8910}, {2090, 9090},
};

// Flats in the order of the signature: h1, e2, a1, d2, g1, c2, f1.
constexpr Misto kBecka[7] = {
    {1390, 9060}, {1490, 8880}, {1590, 9120}, {1690, 8940}, {1790, 9180}, {1890, 9000}, {1990, 9240},
};

// The picture element that shows the j-th flat. The keys up to six flats take
// their pictures in this order; the seven flats of Ces take them in turn.
constexpr int kBeckoDoGes[6] = {4, 5, 6, 3, 2, 1};
constexpr int kBeckoCes[7] = {0, 1, 2, 3, 4, 5, 6};

struct Predznamenani {
    const char* Stupnice;
    int Krizku;  // number of sharps
    int Becek;   // number of flats
};

// Compared in this order; the first exact match decides.
constexpr Predznamenani kStupnice[] = {
    {"G Dur", 1, 0},   {"D Dur", 2, 0},   {"A Dur", 3, 0},   {"E Dur", 4, 0},  {"H Dur", 5, 0},
    {"Fis Dur", 6, 0}, {"Cis Dur", 7, 0}, {"F Dur", 0, 1},   {"B Dur", 0, 2},  {"Es Dur", 0, 3},
    {"As Dur", 0, 4},  {"Des Dur", 0, 5}, {"Ges Dur", 0, 6}, {"Ces Dur", 0, 7},
};

void Presun(forms::PictureBox& znamenko, const Misto& misto) {
    znamenko.Left = misto.Left;
    znamenko.Top = misto.Top;
}

}  // namespace

void clsNotyZapis::NastavStupnici(const std::string& Stupnice) {
    for (const auto& klic : kStupnice) {
        if (Stupnice != klic.Stupnice) continue;
        for (int k = 0; k < klic.Krizku; ++k)
            Presun(okno_.picKrizekStup(k), kKrizky[k]);
        const int* prvky = klic.Becek == 7 ? kBeckoCes : kBeckoDoGes;
        for (int j = 0; j < klic.Becek; ++j)
            Presun(okno_.picBeckoStup(prvky[j]), kBecka[j]);
        return;
    }
}

namespace {

// The staff's head-to-sign distances: a sharp or natural sign stands 110
// above its head, a flat 140.
constexpr int kKrizekNadHlavou = 110;
constexpr int kBeckoNadHlavou = 140;

// Whether a sign stands on the staff exactly at height `Top` (compared in
// single precision, as the pictures keep their positions).
bool ZnamenkoNaMiste(const forms::PictureBox& znamenko, int Top) {
    return znamenko.Left >= kVolnyZnak && znamenko.Top == static_cast<float>(Top);
}

template <class T>
T& Ovladac(T* ovladac) {
    if (!ovladac)
        vb::Raise(vb::err::ObjectNotSet, "clsNotyZapis", "Object variable or With block variable not set");
    return *ovladac;
}

// The flat of a natural letter, "" for a letter that is no note.
std::string BeckoPismene(const std::string& pismeno) {
    if (pismeno == "c") return "ces";
    if (pismeno == "d") return "des";
    if (pismeno == "e") return "es";
    if (pismeno == "f") return "fes";
    if (pismeno == "g") return "ges";
    if (pismeno == "a") return "as";
    if (pismeno == "h") return "b";
    return {};
}

bool JePismenoNoty(const std::string& pismeno) {
    return pismeno == "c" || pismeno == "d" || pismeno == "e" || pismeno == "f" || pismeno == "g" ||
           pismeno == "a" || pismeno == "h";
}

std::string NeznamyTon() {
    forms::MsgBox("Neznámý tón !", forms::vbCritical + forms::vbOKOnly);
    return {};
}

using Znamenka = std::initializer_list<std::pair<const char*, const char*>>;

// A natural note name in a key: a letter of the key signature becomes its
// spelled pitch, the rest of the name (octave digit and comma) stays.
vb::Variant UpravNotu(const std::string& Nota, Znamenka znamenka) {
    const std::string pismeno = vb::Left(Nota, 1);
    for (const auto& [stare, nove] : znamenka) {
        if (pismeno == stare) return std::string(nove) + vb::Mid(Nota, 2);
    }
    return Nota;
}

}  // namespace

std::string clsNotyZapis::ZjistiNotu(const std::int16_t& Vyska) {
    const std::string s = resources::LoadResString(Vyska - 2640);
    auto& picOdrazka = Ovladac(okno_.picOdrazka);
    auto& picBecko = Ovladac(okno_.picBecko);
    auto& picKrizek = Ovladac(okno_.picKrizek);
    auto& cmdStupnice = Ovladac(okno_.cmdStupnice);

    // A natural sign beside the head overrides its own signs and the key.
    for (int i = 0; i <= 6; ++i) {
        if (ZnamenkoNaMiste(picOdrazka(i), Vyska - kKrizekNadHlavou)) return s;
    }

    const std::string pismeno = vb::Left(s, 1);
    const std::string zbytek = vb::Mid(s, 2);
    for (int j = 0; j <= 6; ++j) {
        if (ZnamenkoNaMiste(picBecko(j), Vyska - kBeckoNadHlavou)) {
            const std::string becko = BeckoPismene(pismeno);
            if (becko.empty()) return NeznamyTon();
            return becko + zbytek;
        }
        if (ZnamenkoNaMiste(picKrizek(j), Vyska - kKrizekNadHlavou)) {
            if (!JePismenoNoty(pismeno)) return NeznamyTon();
            return pismeno + "is" + zbytek;
        }
    }

    // No sign of its own: the key signature of the current scale decides.
    const std::string Stupnice = cmdStupnice.Caption;
    if (Stupnice == "Vyberte stupnici") return s;
    vb::Variant nota;
    if (Stupnice == "G Dur") nota = UpravNotuGDur(s);
    else if (Stupnice == "D Dur") nota = UpravNotuDDur(s);
    else if (Stupnice == "A Dur") nota = UpravNotuADur(s);
    else if (Stupnice == "E Dur") nota = UpravNotuEDur(s);
    else if (Stupnice == "H Dur") nota = UpravNotuHDur(s);
    else if (Stupnice == "Fis Dur") nota = UpravNotuFisDur(s);
    else if (Stupnice == "Cis Dur") nota = UpravNotuCisDur(s);
    else if (Stupnice == "F Dur") nota = UpravNotuFDur(s);
    else if (Stupnice == "B Dur") nota = UpravNotuBDur(s);
    else if (Stupnice == "Es Dur") nota = UpravNotuEsDur(s);
    else if (Stupnice == "As Dur") nota = UpravNotuAsDur(s);
    else if (Stupnice == "Des Dur") nota = UpravNotuDesDur(s);
    else if (Stupnice == "Ges Dur") nota = UpravNotuGesDur(s);
    else if (Stupnice == "Ces Dur") nota = UpravNotuCesDur(s);
    else return s;  // "C Dur" and any other caption
    return vb::CStr(nota);
}

vb::Variant clsNotyZapis::UpravNotuGDur(const std::string& Nota) { return UpravNotu(Nota, {{"f", "fis"}}); }

vb::Variant clsNotyZapis::UpravNotuDDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"f", "fis"}, {"c", "cis"}});
}

vb::Variant clsNotyZapis::UpravNotuADur(const std::string& Nota) {
    return UpravNotu(Nota, {{"f", "fis"}, {"c", "cis"}, {"g", "gis"}});
}

vb::Variant clsNotyZapis::UpravNotuEDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"f", "fis"}, {"c", "cis"}, {"g", "gis"}, {"d", "dis"}});
}

vb::Variant clsNotyZapis::UpravNotuHDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"f", "fis"}, {"c", "cis"}, {"g", "gis"}, {"d", "dis"}, {"a", "ais"}});
}

vb::Variant clsNotyZapis::UpravNotuFisDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"f", "fis"}, {"c", "cis"}, {"g", "gis"}, {"d", "dis"}, {"a", "ais"}, {"e", "eis"}});
}

vb::Variant clsNotyZapis::UpravNotuCisDur(const std::string& Nota) {
    return UpravNotu(Nota,
        {{"f", "fis"}, {"c", "cis"}, {"g", "gis"}, {"d", "dis"}, {"a", "ais"}, {"e", "eis"}, {"h", "his"}});
}

vb::Variant clsNotyZapis::UpravNotuFDur(const std::string& Nota) { return UpravNotu(Nota, {{"h", "b"}}); }

vb::Variant clsNotyZapis::UpravNotuBDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"h", "b"}, {"e", "es"}});
}

vb::Variant clsNotyZapis::UpravNotuEsDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"h", "b"}, {"e", "es"}, {"a", "as"}});
}

vb::Variant clsNotyZapis::UpravNotuAsDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"h", "b"}, {"e", "es"}, {"a", "as"}, {"d", "des"}});
}

vb::Variant clsNotyZapis::UpravNotuDesDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"h", "b"}, {"e", "es"}, {"a", "as"}, {"d", "des"}, {"g", "ges"}});
}

vb::Variant clsNotyZapis::UpravNotuGesDur(const std::string& Nota) {
    return UpravNotu(Nota, {{"h", "b"}, {"e", "es"}, {"a", "as"}, {"d", "des"}, {"g", "ges"}, {"c", "ces"}});
}

vb::Variant clsNotyZapis::UpravNotuCesDur(const std::string& Nota) {
    return UpravNotu(Nota,
        {{"h", "b"}, {"e", "es"}, {"a", "as"}, {"d", "des"}, {"g", "ges"}, {"c", "ces"}, {"f", "fes"}});
}
