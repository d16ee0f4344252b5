#include "notation/notyzapis.h"

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
