// The grip writers: "> Tlak" and "< Tah" under the keyboards write the grip
// of the pressed buttons, the pair beside the entry staff the grip of the
// heads placed there. Either fills the active row of the song (treble names
// from B, the bellows word in I, the basses from M, the scale in W, and for
// the keyboard grip the fingering in V), moves the cursor one row down and
// shows that row, on the instrument too when it already holds a grip.
//
// A failure of the spreadsheet while writing, or a pressed bass that the
// lookup sheet does not know, is reported once; the row stays as far as it
// was written and the cursor stays on it.
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/zapis/notyzapis.h"
#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "mainwindow/recording/shared.h"
#include "resources/app_info/app_info.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

constexpr const char* kZadnaStupnice = "Vyberte stupnici";
constexpr int kNejviceDiskantu = 7;
constexpr int kNejviceBasu = 7;
constexpr int kNejviceNot = 5;

// A pressed bass button whose number the lookup sheet does not hold.
struct NeznamyBas {
    int cislo;
};

// A staff head at a height no note of the staff has.
struct NeplatnaNota {};

// Puts item `k` (from 0) of a list into the song row, `k` cells right of the
// cursor's cell, where the list starts. The cursor stays there: every writer
// puts it back into column B when the row is done, and moving it cell by
// cell would only redraw the workbook window each time.
void ZapisDoBunky(int k, const vb::Variant& hodnota) {
    Excel().Windows(AktualniPisen).Activate();
    Excel().ActiveCell().Offset(0, k).Value(hodnota);
}

// The start both writers share: the cursor in column B of the song's active
// row, the lookup sheet ready, B..I cleared and the scale in W. False when
// the lookup workbook is not there (already reported): nothing is written.
bool ZacniRadek(Form1& f) {
    Excel().Windows(AktualniPisen).Activate();
    f.VyberSloupecB();
    if (vb::LooseEquals(f.NastavLadeni(), false)) return false;
    Excel().ActiveCell().Offset(0, 0).Range("A1:H1").ClearContents();
    const std::string stupnice = f.cmdStupnice.Caption;
    Excel().Range("W" + Radek()).Value(stupnice == kZadnaStupnice ? vb::Variant() : vb::Variant(stupnice));
    return true;
}

// The bellows word into column I of the row.
void ZapisSmer(Form1& f, const std::string& smer) {
    f.VyberSloupecB();
    Excel().ActiveCell().Offset(0, 7).Range("A1").Value(vb::Variant(smer));
}

// The cursor to the next row, and that row read on the side its column I
// names; the grip just written stays on the keyboards when the row is empty.
void NaDalsiRadek(Form1& f) {
    Excel().ActiveCell().Offset(1, 0).Range("A1").Select();
    f.lblTon.Caption = Radek();
    const std::string smer = vb::CStr(Excel().ActiveCell().Offset(0, 7).Value());
    if (smer == "Tlak") {
        f.cmdReadTlak_Click();
        f.cmdJakDal.BackColor = kBarvaTlakPoZapisu;
        f.cmdJakDalZpet.BackColor = kBarvaTlakPoZapisu;
    } else if (smer == "Tah") {
        f.cmdReadTah_Click();
        f.cmdJakDal.BackColor = kBarvaTah;
        f.cmdJakDalZpet.BackColor = kBarvaTah;
    }
    f.VyberSloupecB();
    f.ZobrazRadek();
}

// After a failure the song's window comes back with the cursor in column B
// of the row, if the song is still there.
void ZpetNaRadek() {
    try {
        Excel().Windows(AktualniPisen).Activate();
        Excel().Range("B" + Radek()).Select();
    } catch (const vb::RuntimeError&) {
    }
}

// One message for a grip the writer could not finish.
template <class Zapis>
void Zapisuj(Zapis&& zapis) {
    try {
        zapis();
        return;
    } catch (const NeznamyBas& bas) {
        forms::MsgBox("Bas číslo " + std::to_string(bas.cislo) +
                          " v tabulce basů souboru read_only.xls chybí, a proto nemohl být zapsán.\r\n"
                          "Hmat je v písni zapsán jen po tento bas a kurzor zůstal na jeho řádku. Doplňte prosím "
                          "tabulku basů nebo bas uvolněte a hmat zapište znovu.",
                      forms::vbExclamation, "Bas nelze zapsat.");
    } catch (const NeplatnaNota&) {
        OznamNeplatnouNotu();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::SubscriptOutOfRange) {
            forms::MsgBox("Hmat nelze zapsat !\r\nUživatel, nebo jiný program zavřel soubor s aktuální skladbou.\r\n"
                          "Pro příště prosím nezavírejte soubory Excelu ručně !",
                          forms::vbExclamation, "Nenalezena aktuální skladba.");
        } else {
            forms::MsgBox("Při zápisu hmatu do písně došlo k chybě číslo " + std::to_string(e.Number()) +
                              ".\r\nŘádek písně je zapsán jen po místo, kde chyba nastala, a kurzor zůstal na "
                              "něm. Zkontrolujte ho prosím v tabulce písně a hmat zapište znovu. V případě "
                              "problémů volejte " +
                              resources::kMakerContact,
                          forms::vbExclamation, "Hmat nebyl zapsán celý.");
        }
    }
    ZpetNaRadek();
}

}  // namespace

void Form1::cmdTlak_Click() {
    SmerMechu = kTlak;
    Zapisuj([this] { ZapisHmat(); });
}

void Form1::cmdTah_Click() {
    SmerMechu = 0;
    Zapisuj([this] { ZapisHmat(); });
}

void Form1::cmdTlakNoty_Click() {
    SmerMechu = kTlak;
    Zapisuj([this] { ZapisNoty("Tlak"); });
}

void Form1::cmdTahNoty_Click() {
    SmerMechu = 0;
    Zapisuj([this] { ZapisNoty("Tah"); });
}

void Form1::ZapisHmat() {
    if (!ZacniRadek(*this)) return;

    int diskanty = 0;
    const std::string stupnice = cmdStupnice.Caption;
    for (std::int16_t i = 1; i <= 49; ++i) {
        if (vb::Val(lbl(i).Tag) != 1) continue;
        if (diskanty == kNejviceDiskantu) {
            forms::MsgBox(std::string("Páč asi nemáte více než sedm prstů na pravé ruce, program se Vám na zápis "
                                      "dalších knoflíků se vší úctou u tohoto hmatu vykašle. Sťěžovat si můžete u ") +
                              resources::kMakerContact,
                          forms::vbCritical, "Diagnóza mnohoprstost.");
            break;
        }
        std::int16_t cislo = i;
        bool mimoStupnici = false;
        ZapisDoBunky(diskanty++, vb::Variant(TonVeStupnici(Klic(), cislo, stupnice, mimoStupnici)));
    }

    bool basy = false;
    ZapisBasy(basy);
    // Nothing pressed at all: the row stays cleared, the cursor on it, the
    // fingering waits for the next grip.
    if (diskanty == 0 && !basy) {
        VyberSloupecB();
        return;
    }

    ZapisSmer(*this, SmerMechu == kTlak ? "Tlak" : "Tah");
    Excel().ActiveCell().Offset(0, 20).Range("A1").Value(vb::Variant(Prstoklad));
    Prstoklad.clear();
    NaDalsiRadek(*this);
    KrokPasu = static_cast<std::int16_t>(KrokPasu + 1);
    OznacAktualniKrok();
    PovolKrokZpet();
}

void Form1::ZapisNoty(const std::string& smer) {
    if (!ZacniRadek(*this)) return;

    int noty = 0;
    for (int slot = 0; slot < kNejviceNot; ++slot) {
        if (!(picNota(slot).Left > kHlavaNaOsnove)) continue;
        const std::string jmeno = JmenoHlavy(*this, static_cast<std::int16_t>(slot));
        if (jmeno.empty()) throw NeplatnaNota{};
        ZapisDoBunky(noty++, vb::Variant(jmeno));
    }

    ZapisSmer(*this, smer);
    SeradNotyRadku();
    bool basy = false;
    ZapisBasy(basy);
    VyberSloupecB();
    NaDalsiRadek(*this);
    PovolKrokZpet();
}

// Counterbasses and fundamentals (1-40) come after the chord buttons.
void Form1::ZapisBasy(bool& zapsano) {
    Excel().Range("M" + Radek()).Select();
    Excel().ActiveCell().Offset(0, 0).Range("A1:H1").ClearContents();

    int pocet = 0;
    for (int k = 0; k < 120; ++k) {
        const std::int16_t u = static_cast<std::int16_t>(k < 80 ? 41 + k : k - 79);
        if (!vb::CBool(vb::Variant(ImgBas(u).Tag))) continue;
        if (pocet == kNejviceBasu) {
            forms::MsgBox(std::string("Spočítejte si prosím prsty na levé ruce a pokud jich máte více než sedm, "
                                      "volejte odbornou pomoc: ") +
                              resources::kMakerContact,
                          forms::vbCritical, "Sdělení pro mutanty.");
            zapsano = true;
            return;
        }
        zapsano = true;
        ++pocet;

        xl::Range radek;
        try {
            radek = NajdiVReadOnly(u <= 40 ? "A1:A41" : "A40:A121", vb::Variant(u));
        } catch (const vb::RuntimeError& e) {
            if (e.Number() != vb::err::ObjectNotSet) throw;
        }
        if (radek.IsNothing()) throw NeznamyBas{u};
        // Column F (5 right of A) holds the push name, G the pull name.
        ZapisDoBunky(pocet - 1, radek.Offset(0, SmerMechu == kTlak ? 5 : 6).Value());
    }
}

// The treble names of the row in ascending tone number; a name that is no
// tone of the instrument is dropped, and the cells it leaves are cleared.
void Form1::SeradNotyRadku() {
    std::array<std::uint8_t, kNejviceDiskantu> cisla{};
    std::array<std::string, kNejviceDiskantu> jmena;
    int precteno = 0;
    for (int k = 0; k < kNejviceDiskantu; ++k) {
        jmena[k] = vb::CStr(Excel().ActiveCell().Offset(0, k).Value());
        if (jmena[k].empty()) {
            cisla[k] = kNeniTon;
            break;
        }
        cisla[k] = CisloTonu(Klic(), jmena[k]);
        precteno = k + 1;
    }

    SeradPole(cisla, jmena);

    int j = 0;
    for (int k = 0; k < kNejviceDiskantu; ++k) {
        if (cisla[k] > 0 && cisla[k] < kNeniTon) Excel().ActiveCell().Offset(0, j++).Value(vb::Variant(jmena[k]));
    }
    for (; j < precteno; ++j) Excel().ActiveCell().Offset(0, j).ClearContents();
}

// Bubble sort of both arrays by the keys; equal keys keep their order.
void Form1::SeradPole(std::span<std::uint8_t> klice, std::span<std::string> jmena) {
    for (std::size_t posledni = klice.size(); posledni-- > 0;) {
        for (std::size_t j = 1; j <= posledni; ++j) {
            if (klice[j - 1] > klice[j]) {
                std::swap(klice[j - 1], klice[j]);
                std::swap(jmena[j - 1], jmena[j]);
            }
        }
    }
}
