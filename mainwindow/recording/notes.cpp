// The treble keyboard and the entry staff kept together while a grip is
// recorded: a pressed button draws its note (head and sign) on the staff, a
// released one takes it away, and a head dropped on the staff presses the
// button of the note it shows. The red-note slots tie each head to the
// button it lit, so that moving or clearing the head frees the button.
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/noty/noty.h"
#include "notation/zapis/notyzapis.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "mainwindow/recording/shared.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"

namespace {

// A treble button pressed from the staff.
constexpr int kKnoflikZNot = 102;

enum class Otazka { Posuvka, Odrazka };

// Asks whether to draw the sign of a tone the scale does not use.
int ZeptejSeMimoStupnici(Otazka otazka, const std::string& ton, const std::string& stupnice) {
    const char* prostredni =
        otazka == Otazka::Posuvka
            ? "Pokud skladba pokračuje v jiné stupnici, stiskněte tlačítko Ne a pak zvolte jinou stupnici."
            : "Můžete použít odrážku pro dočasné zrušení půltónu, nebo zvolit jinou stupnici.";
    const char* posledni = otazka == Otazka::Posuvka
                               ? "Přejete-li si i přes upozornění zvolenou notu zapsat, stiskněte Ano a pak Vámi "
                                 "požadované tlačítko pro zápis."
                               : "Přejete si použít odrážku ?";
    return forms::MsgBox("Nota " + ton + " se ve stupnici " + stupnice + " nepoužívá.\r" + prostredni + "\r" +
                             posledni,
                         forms::vbQuestion + forms::vbYesNoCancel, "Nota je mimo stupnici.");
}

void NastavSlot(clsNotyZapis& zapis, int s, const std::string& knoflik) {
    switch (s) {
    case 0: zapis.CervenaNota0(knoflik); break;
    case 1: zapis.CervenaNota1(knoflik); break;
    case 2: zapis.CervenaNota2(knoflik); break;
    case 3: zapis.CervenaNota3(knoflik); break;
    case 4: zapis.CervenaNota4(knoflik); break;
    default: break;
    }
}

}  // namespace

void Form1::ZakresliNotu(std::int16_t i) {
    std::int16_t cislo = i;
    std::string ton;
    std::optional<PolohaNoty> poloha;
    // Asked again after every new scale until the user says Yes or Cancel,
    // or the scale holds the tone.
    for (bool znovu = true; znovu;) {
        znovu = false;
        const std::string stupnice = cmdStupnice.Caption;
        bool mimoStupnici = false;
        ton = TonVeStupnici(Klic(), cislo, stupnice, mimoStupnici);
        poloha = clsNoty().UrciPolohu(ton);
        if (!poloha) {
            forms::MsgBox(std::string("Nota nebyla rozpoznána a proto nemůže být zakreslena. Tato chyba by se v "
                                      "tomto programu vyskytnout neměla. Aby mohla být opravena, informujte prosím "
                                      "autora. Kontakt: ") +
                              resources::kMakerContact,
                          forms::vbCritical + forms::vbOKOnly);
            return;
        }

        const int pos = poloha->vyska;
        Otazka otazka = Otazka::Posuvka;
        bool kreslitZnamenko = false;
        switch (poloha->znamenko) {
        case Znamenko::Becko:
            kreslitZnamenko = ChybiBecko(pos);
            break;
        case Znamenko::Krizek:
            kreslitZnamenko = ChybiKrizek(pos);
            break;
        case Znamenko::Zadne:
            // A natural note needs its sign only where the scale would sharpen or flatten it.
            otazka = Otazka::Odrazka;
            kreslitZnamenko = mimoStupnici && ChybiOdrazka(pos);
            break;
        }
        if (!kreslitZnamenko) break;

        if (mimoStupnici) {
            switch (ZeptejSeMimoStupnici(otazka, ton, stupnice)) {
            case forms::vbYes: break;
            case forms::vbCancel:
                lbl_Click(i);  // the press is taken back
                return;
            case forms::vbNo:
                cmdStupnice_Click();
                znovu = true;
                continue;
            default: kreslitZnamenko = false; break;
            }
        }
        if (!kreslitZnamenko) break;
        switch (poloha->znamenko) {
        case Znamenko::Becko: UmistiBecko(pos); break;
        case Znamenko::Krizek: UmistiKrizek(pos); break;
        case Znamenko::Zadne: UmistiOdrazku(pos); break;
        }
    }

    lblTonKlav(i).Caption = ton;
    // A head already at the height serves both notes; with all five heads on
    // the staff, none is drawn and no slot is written.
    if (ChybiNota(poloha->vyska)) PriradCervenouNotu(i, UmistiNotu(poloha->vyska));
}

// The note is named in the scale current now: a head or sign drawn for
// another spelling of the tone stays where it is.
void Form1::VymazNotu(std::int16_t i) {
    std::int16_t cislo = i;
    bool mimoStupnici = false;
    const std::string ton = TonVeStupnici(Klic(), cislo, cmdStupnice.Caption, mimoStupnici);
    lblTonKlav(i).Caption = "";
    const std::optional<PolohaNoty> poloha = clsNoty().UrciPolohu(ton);
    if (!poloha) {
        forms::MsgBox("Neznámý půltón");
        vb::Raise(vb::err::TypeMismatch);  // a note without a height
    }
    const int pos = poloha->vyska;
    switch (poloha->znamenko) {
    case Znamenko::Becko:
        if (!ChybiBecko(pos)) OdstranBecko(pos);
        break;
    case Znamenko::Krizek:
        if (!ChybiKrizek(pos)) OdstranKrizek(pos);
        break;
    case Znamenko::Zadne:
        // A natural sign drawn for the note goes with it, so that it cannot
        // change a note placed at this height later.
        if (!ChybiOdrazka(pos)) OdstranOdrazku(pos);
        break;
    }
    if (!ChybiNota(pos)) OdstranNotu(pos);
}

void Form1::OznacKnoflikNoty(std::int16_t s) {
    const std::string jmeno = JmenoHlavy(*this, s);
    if (jmeno.empty()) {
        OznamNeplatnouNotu();
        return;
    }

    const int n = CisloTonu(Klic(), jmeno);
    if (n == kNeniTon) {
        OznamNeexistujiciNotu(jmeno);
        return;
    }

    // The staff already shows the note: only the button is pressed.
    const forms::Picture zNot = resources::LoadResPicture(kKnoflikZNot);
    imgDiskant(n).Picture = zNot;
    lbl(n).Tag = "1";
    cmdKlavesa(n).BackColor = kStisknutaKlavesa;
    lblTonKlav(n).Caption = jmeno;
    if (MaDruhyObrazek(n)) imgDiskantPom(n).Picture = zNot;
    PriradCervenouNotu(static_cast<std::int16_t>(n), s);
}

void Form1::PriradCervenouNotu(std::int16_t n, std::int16_t s) { NastavSlot(Zapis(), s, std::to_string(n)); }

void Form1::ZrusCervenouNotu(std::int16_t s) { NastavSlot(Zapis(), s, ""); }
