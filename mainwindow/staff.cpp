// Placing one note on a staff of the window: its flat, sharp or natural sign
// and its head, each at its column and at the staff's height for the note's
// offset. The reading staff, the intervals, the strip and the entry staff all
// place their pictures here; they differ only in the staff and in which
// pictures they hand over.
#include "mainwindow/form1.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/runtime_error.h"

// The reading staff: its pictures keep their designed columns; a head rests
// at 9980 for the small c, a flat at 9840 and a sharp at 9880. It has no
// natural signs.
const Osnova Form1::CteciOsnova{
    .hlava = {9980, std::nullopt}, .becko = {9840, std::nullopt}, .krizek = {9880, std::nullopt},
    .odrazka = {9880, std::nullopt}};

// A strip step inside its frame, for a note at offset p: the head at 1943 - p
// in one column, a flat at 1803 - p and a sharp at 1843 - p in another.
const Osnova Form1::OsnovaPasu{.hlava = {1943, 120}, .becko = {1803, 20}, .krizek = {1843, 20}, .odrazka = {1843, 20}};

// The entry staff: a flat stands 140 above its head, a sharp or natural 110;
// these are the heights note recognition reads back.
const Osnova Form1::VstupniOsnova{.hlava = {9980, 2250}, .becko = {9840, 1980}, .krizek = {9870, 1980},
                                  .odrazka = {9870, 2100}};

namespace {

void Poloz(forms::Control& obrazek, const Osnova::Misto& misto, int vyska) {
    if (misto.left) obrazek.Left = *misto.left;
    obrazek.Top = static_cast<float>(misto.top - vyska);
    obrazek.Visible = true;
}

}  // namespace

void Form1::UmistiNaOsnovu(const Osnova& osnova, const std::optional<PolohaNoty>& poloha,
                           const ObrazkyNoty& obrazky) {
    if (!poloha) {
        // A name the note model could not read has no sign and no height: the
        // head cannot be placed, a type mismatch for the caller to report.
        forms::MsgBox("Neznámý půltón");
        if (obrazky.hlava) vb::Raise(vb::err::TypeMismatch);
        return;
    }
    switch (poloha->znamenko) {
    case Znamenko::Becko:
        if (obrazky.becko) Poloz(*obrazky.becko, osnova.becko, poloha->vyska);
        break;
    case Znamenko::Krizek:
        if (obrazky.krizek) Poloz(*obrazky.krizek, osnova.krizek, poloha->vyska);
        break;
    case Znamenko::Zadne:
        if (obrazky.odrazka) Poloz(*obrazky.odrazka, osnova.odrazka, poloha->vyska);
        break;
    }
    if (obrazky.hlava) Poloz(*obrazky.hlava, osnova.hlava, poloha->vyska);
}
