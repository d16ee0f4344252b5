// The song around the cursor: the current row in words (syllables of the
// rows around it, its treble notes, basses and scale) and the 16-step strip
// of note heads and syllables with the current step marked in red.
//
// Everything here reads the active sheet of the song workbook through the
// active cell, which rests in column B between operations.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/noty/noty.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "resources/bitmaps/pictures.h"
#include "store/hmaty.h"
#include "store/module1.h"

namespace {

// Syllable colours of the strip: the current step in red, the others in the
// window-text colour.
constexpr forms::OleColor kBeznyKrok = forms::vbWindowText;  // &H80000008
constexpr forms::OleColor kAktualniKrok = 0x000000FF;

// The strip's note bitmaps: the current step's filled red head and the
// plain outline of every other step.
constexpr int kNotaAktualni = 123;
constexpr int kNotaBezna = 124;

// A cell address of the active sheet: the column letter and the row number.
std::string Adresa(const char* sloupec, int radek) {
    std::string adresa = sloupec;
    adresa += std::to_string(radek);
    return adresa;
}

// Nine neighbouring cells of the active row joined by single blanks: an empty
// cell adds nothing, but the blanks around it stay, so the columns stay countable.
std::string SpojBunky(const xl::Range& bunka, int odSloupce, int doSloupce) {
    std::string radek;
    for (int c = odSloupce; c <= doSloupce; ++c) {
        if (c > odSloupce) radek += ' ';
        radek += vb::CStr(bunka.Offset(0, c).Value());
    }
    return radek;
}

}  // namespace

void Form1::ZobrazRadek() {
    xl::Range bunka = Excel().ActiveCell();
    const int r = bunka.Row();

    // Column A of the two rows above and below; above row 1 and below the
    // sheet's last row there is nothing to show.
    const int prvni = r >= 3 ? 0 : (r == 2 ? 1 : 2);
    const int posledni = std::min(4, xl::kRowsPerSheet - r + 2);
    for (int j = 0; j <= 4; ++j)
        lblSlabika(j).Caption = j >= prvni && j <= posledni ? vb::CStr(bunka.Offset(j - 2, -1).Value()) : std::string();

    lblPopisD.Visible = true;
    lblTony.Caption = SpojBunky(bunka, 0, 8);     // B..J
    lblPopisB.Visible = true;
    lblBasy.Caption = SpojBunky(bunka, 11, 19);   // M..U
    lblStupnice.Caption = vb::CStr(Excel().Range(Adresa("W", r)).Value());
}

// The scale stays: it belongs to the song's last reading until a new row is shown.
void Form1::SmazPopisRadku() {
    for (int j = 0; j <= 4; ++j) lblSlabika(j).Caption = "";
    lblPopisD.Visible = false;
    lblTony.Caption = "";
    lblPopisB.Visible = false;
    lblBasy.Caption = "";
}

void Form1::OznacAktualniKrok() {
    // The strip no longer shows the cursor's row at the counted step (after
    // "last", or a row written from the staff), or the step ran off the strip.
    if (Excel().ActiveCell().Row() != ZacatekPasu + KrokPasu - 1) {
        ObnovNotovyPas();
        return;
    }
    if (KrokPasu > 16 || KrokPasu < 1) {
        ObnovNotovyPas();
        return;
    }

    // Only the marking moves; the heads stay where the last rebuild put them.
    for (int i = 1; i <= 16; ++i) lblSlabika2(i).ForeColor = kBeznyKrok;
    lblSlabika2(KrokPasu).ForeColor = kAktualniKrok;
    const forms::Picture bezna = resources::LoadResPicture(kNotaBezna);
    for (int s = 5; s <= 84; ++s) imgNota(s).Picture = bezna;
    const forms::Picture aktualni = resources::LoadResPicture(kNotaAktualni);
    for (int k = 0; k <= 4; ++k) imgNota(5 * KrokPasu + k).Picture = aktualni;
}

void Form1::ObnovNotovyPas() {
    const forms::Picture bezna = resources::LoadResPicture(kNotaBezna);
    for (int s = 5; s <= 84; ++s) imgNota(s).Picture = bezna;
    for (int i = 2; i <= 16; ++i) lblSlabika2(i).ForeColor = kBeznyKrok;
    lblSlabika2(1).ForeColor = kAktualniKrok;
    const forms::Picture aktualni = resources::LoadResPicture(kNotaAktualni);
    for (int s = 5; s <= 9; ++s) imgNota(s).Picture = aktualni;

    // The cursor's row becomes step 1.
    ZacatekPasu = Excel().ActiveCell().Row();
    KrokPasu = 1;

    // Steps below the sheet's last row stay empty.
    const int kroku = std::min(16, xl::kRowsPerSheet - ZacatekPasu + 1);
    for (int i = 1; i <= 16; ++i)
        lblSlabika2(i).Caption = i <= kroku ? vb::CStr(Excel().Range(Adresa("A", ZacatekPasu + i - 1)).Value())
                                            : std::string();

    SkryjNoty();
    // A step that cannot be drawn to its end ends the strip: the steps after
    // it keep their syllables without notes. The sheet's end ends it too, the
    // cursor back in column B as the next step would have put it.
    for (int i = 1; i <= 16; ++i) {
        if (i > kroku) {
            VyberSloupecB();
            break;
        }
        if (!ZobrazNotyKroku(static_cast<std::uint8_t>(i))) break;
    }
}

bool Form1::ZobrazNotyKroku(std::uint8_t i) {
    bool vysledek = false;
    clsNoty Noty;
    try {
        Excel().Windows(AktualniPisen).Activate();
        VyberSloupecB();  // column B of the strip's first row
        // A strip that starts past the song's end draws nothing; one that
        // starts on a grip of basses only shows its empty frame and goes on.
        if (!JeHmat(Excel().ActiveCell())) return vysledek;
        if (!vb::LooseEquals(NastavLadeni(), true)) return vysledek;

        std::uint8_t m = 0;  // note heads drawn
        std::uint8_t a = 0;  // accidentals met, flats and sharps counted together
        for (;;) {
            const std::string nota = vb::CStr(Excel().ActiveCell().Offset(i - 1, 0).Value());
            if (nota.empty()) return true;
            // The bellows column, or a note the conversion could not convert:
            // nothing further in this row is a note, and the strip ends here.
            if (JeSmerMechu(nota) || nota == "Nepřekonvertováno!") return vysledek;
            if (m == 5) {
                forms::MsgBox("Maximální počet současně stisknutých knoflíků pravou rukou je pět.\r"
                              "Je to podle počtu prstů na pravé ruce.\r"
                              "Jestliže jste víceprstý mutant, kontaktujte prosím autora a bude\r"
                              "pro Vás zdarma vyrobena specielní verze Belmorky.",
                              forms::vbCritical, "Mnohoprstost !");
                return vysledek;
            }

            // Signs are packed from the step's first slot. A name the note
            // model could not read leaves no height: that is a type mismatch
            // when its head is placed, and the strip ends with its message.
            const std::optional<PolohaNoty> poloha = Noty.UrciPolohu(nota);
            const int slot = 5 * i + a;
            const int hlava = 5 * i + m;
            UmistiNaOsnovu(OsnovaPasu, poloha,
                           {.hlava = &imgNota(hlava), .becko = &imgBecko(slot), .krizek = &imgKrizek(slot)});
            if (!poloha || poloha->znamenko != Znamenko::Zadne) ++a;
            ++m;

            Excel().Windows(AktualniPisen).Activate();
            Excel().ActiveCell().Offset(0, 1).Select();
        }
    } catch (const vb::RuntimeError& e) {
        OznamChybuOkna(e);
    }
    return vysledek;
}

void Form1::SkryjNoty() {
    for (int s = 5; s <= 84; ++s) {
        imgNota(s).Visible = false;
        imgBecko(s).Visible = false;
        imgKrizek(s).Visible = false;
    }
}

void Form1::SmazSlabiky() {
    for (int i = 1; i <= 16; ++i) lblSlabika2(i).Caption = "";
}
