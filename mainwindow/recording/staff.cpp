// The entry staff's pools: five note heads and seven flats, sharps and
// natural signs, each either on the staff or parked in its tray. A picture's
// Left says which, its Top which note or sign it is; nothing else records
// the grip composed on the staff. These are the tests, placements and
// removals of one picture at the height of a staff offset.
//
// The trays lie at Top 8400, which is also the height of the flat beside the
// head of "f3," (offset 1440). So that a parked sign is never taken for one
// beside a note, the loose signs count only while they stand on the staff,
// as note recognition reads them; the key-signature signs count wherever
// they are (their resting rows lie above every note of the instrument).
#include <cstdint>

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "platform/msgbox/msgbox.h"
#include "mainwindow/recording/shared.h"

namespace {

// A sign left of kVolnyZnak stands in its tray; so does a head left of this.
constexpr float kVolnaHlava = 1700;

// The columns where a removed sign or head is parked (kZasobnik is the row).
constexpr float kZasobnikBecek = 810;
constexpr float kZasobnikKrizku = 480;
constexpr float kZasobnikOdrazek = 1280;
constexpr float kZasobnikHlav = 1440;

constexpr std::int16_t kZadnaVolnaHlava = 9;

// The height a picture of that kind takes for offset `pos` on the entry staff.
float Vyska(const Osnova::Misto& misto, int pos) { return static_cast<float>(misto.top - pos); }

bool NaOsnove(const forms::PictureBox& znamenko) { return znamenko.Left >= kVolnyZnak; }

// The first loose sign of `pool` on the staff at `top`, or nullptr.
forms::PictureBox* ZnamenkoNa(forms::ControlArray<forms::PictureBox>& pool, float top) {
    for (int i = 0; i <= 6; ++i)
        if (NaOsnove(pool(i)) && pool(i).Top == top) return &pool(i);
    return nullptr;
}

// The first sign of `pool` in its tray, or nullptr.
forms::PictureBox* VolneZnamenko(forms::ControlArray<forms::PictureBox>& pool) {
    for (int i = 0; i <= 6; ++i)
        if (pool(i).Left < kVolnyZnak) return &pool(i);
    return nullptr;
}

// Sign j of the loose pool is looked at before key-signature sign j.
bool ZnamenkoNeboPredznamenani(forms::ControlArray<forms::PictureBox>& pool,
                               forms::ControlArray<forms::PictureBox>& predznamenani, float top) {
    for (int i = 0; i <= 6; ++i) {
        if (NaOsnove(pool(i)) && pool(i).Top == top) return true;
        if (predznamenani(i).Top == top) return true;
    }
    return false;
}

void Zaparkuj(forms::PictureBox* obrazek, float left) {
    if (!obrazek) return;
    obrazek->Left = left;
    obrazek->Top = kZasobnik;
}

}  // namespace

bool Form1::ChybiBecko(int pos) {
    return !ZnamenkoNeboPredznamenani(picBecko, picBeckoStup, Vyska(VstupniOsnova.becko, pos));
}

bool Form1::ChybiKrizek(int pos) {
    return !ZnamenkoNeboPredznamenani(picKrizek, picKrizekStup, Vyska(VstupniOsnova.krizek, pos));
}

bool Form1::ChybiOdrazka(int pos) { return !ZnamenkoNa(picOdrazka, Vyska(VstupniOsnova.odrazka, pos)); }

bool Form1::ChybiNota(int pos) {
    const float top = Vyska(VstupniOsnova.hlava, pos);
    for (int i = 0; i <= 4; ++i)
        if (picNota(i).Top == top) return false;
    return true;
}

// With no sign of the kind left in its tray, nothing is placed and nothing said.
void Form1::UmistiBecko(int pos) {
    UmistiNaOsnovu(VstupniOsnova, PolohaNoty{Znamenko::Becko, pos}, {.becko = VolneZnamenko(picBecko)});
}

void Form1::UmistiKrizek(int pos) {
    UmistiNaOsnovu(VstupniOsnova, PolohaNoty{Znamenko::Krizek, pos}, {.krizek = VolneZnamenko(picKrizek)});
}

void Form1::UmistiOdrazku(int pos) {
    UmistiNaOsnovu(VstupniOsnova, PolohaNoty{Znamenko::Zadne, pos}, {.odrazka = VolneZnamenko(picOdrazka)});
}

std::int16_t Form1::UmistiNotu(int pos) {
    for (std::int16_t i = 0; i <= 4; ++i) {
        if (picNota(i).Left < kVolnaHlava) {
            UmistiNaOsnovu(VstupniOsnova, PolohaNoty{Znamenko::Zadne, pos}, {.hlava = &picNota(i)});
            return i;
        }
    }
    forms::MsgBox("Nota v osnově pro zápis se nezobrazí. Maximální počet současně stisknutých knoflíků pro jeden "
                  "hmat je pět.\rExistuje důvodné podezření, že máte jen pět prstů na pravé ruce.",
                  forms::vbExclamation + forms::vbOKOnly, "Omezení !");
    return kZadnaVolnaHlava;
}

// A key-signature sign is never removed: it belongs to the scale.
void Form1::OdstranBecko(int pos) {
    Zaparkuj(ZnamenkoNa(picBecko, Vyska(VstupniOsnova.becko, pos)), kZasobnikBecek);
}

void Form1::OdstranKrizek(int pos) {
    Zaparkuj(ZnamenkoNa(picKrizek, Vyska(VstupniOsnova.krizek, pos)), kZasobnikKrizku);
}

void Form1::OdstranOdrazku(int pos) {
    Zaparkuj(ZnamenkoNa(picOdrazka, Vyska(VstupniOsnova.odrazka, pos)), kZasobnikOdrazek);
}

// The head goes to the tray and lets go of its red-note slot; the button it
// lit is the caller's to release.
void Form1::OdstranNotu(int pos) {
    const float top = Vyska(VstupniOsnova.hlava, pos);
    for (std::int16_t i = 0; i <= 4; ++i) {
        if (picNota(i).Top == top) {
            picNota(i).Left = kZasobnikHlav;
            picNota(i).Top = kZasobnik;
            ZrusCervenouNotu(i);
            return;
        }
    }
}
