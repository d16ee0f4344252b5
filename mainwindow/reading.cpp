// Reading a grip: the active song row shown on the instrument pictures -
// treble buttons and piano keys in the bellows colour, the note names beside
// the keys, the notes with their flats and sharps on the reading staff, the
// basses looked up in the lookup workbook, the fingering on the button
// labels and the intervals the user has ticked.
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/noty/noty.h"
#include "notation/zapis/notyzapis.h"
#include "platform/com/vb_variant.h"
#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "resources/app_info/app_info.h"
#include "store/hmaty.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

constexpr int kHlavNaOsnove = 5;
// A bass name found only inside longer names is given up after this many searches.
constexpr int kHledaniBasu = 8;

constexpr forms::OleColor kKlavesaTlak = 0x800080;
constexpr forms::OleColor kKlavesaTah = 0xC00000;
constexpr forms::OleColor kNeprectenoBarva = 0x8000000B;

bool Prazdna(const vb::Variant& hodnota) { return hodnota.IsEmpty() || vb::CStr(hodnota).empty(); }

// The bass button's picture for the direction: C and the two ridged buttons
// keep their own look.
const forms::Picture& ObrazekBasu(Form1& f, int bas, bool tlak) {
    if (bas == 30) return tlak ? f.imgBaTlakC.Picture.get() : f.imgBaTahC.Picture.get();
    if (bas == 26 || bas == 34) return tlak ? f.imgBaTlakMriz.Picture.get() : f.imgBaTahMriz.Picture.get();
    return tlak ? f.imgBaTlak1.Picture.get() : f.imgBaTah1.Picture.get();
}

std::string NeexistujiciBas(const std::string& jmeno, bool tlak) {
    if (tlak) return "Basový tón " + jmeno + " při tlačení měchu na této harmonice neexistuje !";
    return "Basový tón " + jmeno + " při tažení měchu na této harmonice neexistuje !";
}

// The bass names of the active row, from column M to the first empty cell,
// each looked up in the push (F) or pull (G) column of the tone sheet and its
// button painted in the colour of the direction.
void CtiBasy(Form1& f, bool tlak) {
    try {
        Excel().Windows(AktualniPisen).Activate();
        Excel().Range("M" + Radek()).Select();
        if (tlak) {
            std::string basy;
            for (int sloupec = 0; sloupec <= 8; ++sloupec) {
                if (sloupec > 0) basy += " ";
                basy += vb::CStr(Excel().ActiveCell().Offset(0, sloupec).Value());
            }
            f.lblBasy.Caption = basy;
        }
        if (Prazdna(Excel().ActiveCell().Value())) return;
        if (vb::LooseEquals(f.NastavLadeni(), false)) return;
    } catch (const vb::RuntimeError& e) {
        // A closed song window has just been reported by the treble reading.
        if (e.Number() != vb::err::SubscriptOutOfRange) resources::NeocekavanaChyba(e.Number());
        return;
    }

    const char* rozsah = tlak ? "F1:F121" : "G1:G121";
    const int posunNaA = tlak ? -5 : -6;
    for (;;) {
        std::string jmeno;
        try {
            const vb::Variant hodnota = Excel().ActiveCell().Value();
            if (Prazdna(hodnota)) return;
            jmeno = vb::CStr(hodnota);
            // Find also stops at names that merely contain this one ("Es"
            // inside "Des dur"); such a bass is given up without a word.
            const xl::Range nalez = NajdiVReadOnly(rozsah, vb::Variant(jmeno), kHledaniBasu);
            if (!nalez.IsNothing()) {
                const std::uint8_t bas = vb::CByte(nalez.Offset(0, posunNaA).Value());
                f.ImgBas(bas).Picture = ObrazekBasu(f, bas, tlak);
            }
        } catch (const vb::RuntimeError& e) {
            if (e.Number() != vb::err::ObjectNotSet) {
                resources::NeocekavanaChyba(e.Number());
                return;
            }
            forms::MsgBox(NeexistujiciBas(jmeno, tlak), forms::vbCritical, "Neexistující bas.");
        }
        // On to the next bass. Should even this fail, the reading ends here
        // rather than reporting the same bass over and over.
        try {
            Excel().Windows(AktualniPisen).Activate();
            Excel().ActiveCell().Offset(0, 1).Select();
        } catch (const vb::RuntimeError& e) {
            resources::NeocekavanaChyba(e.Number());
            return;
        }
    }
}

}  // namespace

void Form1::cmdReadTlak_Click() {
    ZobrazHmat(kTlak);
    ZobrazBasyTlak();
    VyberSloupecB();
}

void Form1::cmdReadTah_Click() {
    ZobrazHmat(0);
    ZobrazBasyTah();
    VyberSloupecB();
}

void Form1::ZobrazHmat(std::int16_t smer) {
    clsNoty noty;
    const bool tlak = smer == kTlak;

    UvolniIntervaly();
    UvolniDiskant();
    UvolniKlavesy();
    UvolniBasy();
    cmdUvolNoty_Click();
    UvolniPultony();
    SmazTonyKlaves();
    Zapis().NastavStupnici(cmdStupnice.Caption);
    // Names written afresh also drop the fingering of the grip shown before.
    if (mnu2Rady.Checked) PopisKnoflikyTony();
    cmdJakDal.BackColor = kNeprectenoBarva;
    cmdJakDalZpet.BackColor = kNeprectenoBarva;

    try {
        Excel().Windows(AktualniPisen).Activate();
        VyberSloupecB();
        ZobrazRadek();
        if (Prazdna(Excel().ActiveCell().Value())) return;
        if (vb::LooseEquals(NastavLadeni(), false)) return;

        std::uint8_t hlavy = 0;
        std::uint8_t posuvky = 0;
        for (;;) {
            const vb::Variant hodnota = Excel().ActiveCell().Value();
            if (Prazdna(hodnota)) {
                ZobrazPrstoklad();
                for (int i = 1; i <= 14; ++i)
                    if (chkInterval(i).Value == forms::vbChecked) cmdInterval_Click(static_cast<std::int16_t>(i));
                for (int i = 1; i <= 14; ++i)
                    if (chkSpodInterval(i).Value == forms::vbChecked)
                        cmdSpodInterval_Click(static_cast<std::int16_t>(i));
                return;
            }

            const std::string s = vb::CStr(hodnota);
            if (JeSmerMechu(s)) {
                forms::MsgBox(
                    "Maximální počet současně stisknutých knoflíků je sedm.\r\n"
                    "Případné další zapsané tóny v tomto hmatu budou ignorovány.",
                    forms::vbExclamation, "Kolik máte prstů ?");
                return;
            }

            const std::uint8_t n = CisloTonu(Klic(), s);
            if (n == kNeniTon) {
                OznamNeexistujiciNotu(s);
                return;
            }

            imgDiskant(n).Picture = tlak ? imgKnofTlak.Picture : imgKnofTah.Picture;
            if (MaDruhyObrazek(n)) imgDiskantPom(n).Picture = tlak ? imgKnofTlak2.Picture : imgKnofTah2.Picture;
            cmdKlavesa(n).BackColor = tlak ? kKlavesaTlak : kKlavesaTah;
            lblTonKlav(n).Caption = s;

            if (hlavy == kHlavNaOsnove) {
                forms::MsgBox(
                    "Maximální počet současně stisknutých knoflíků pravou rukou je pět.\r"
                    "Je to podle počtu prstů na pravé ruce.\r"
                    "Jestliže jste víceprstý mutant, kontaktujte prosím autora a bude\r"
                    "pro Vás zdarma vyrobena specielní verze Korvela.",
                    forms::vbCritical, "Mnohoprstost !");
                return;
            }

            // Flats and sharps take the staff's sign pictures in turn, whatever head they belong to.
            const std::optional<PolohaNoty> poloha = noty.UrciPolohu(s);
            UmistiNaOsnovu(CteciOsnova, poloha,
                           {.hlava = &imgNota(hlavy), .becko = &imgBecko(posuvky), .krizek = &imgKrizek(posuvky)});
            if (poloha && poloha->znamenko != Znamenko::Zadne) ++posuvky;
            ++hlavy;

            Excel().Windows(AktualniPisen).Activate();
            Excel().ActiveCell().Offset(0, 1).Select();
        }
    } catch (const vb::RuntimeError& e) {
        OznamChybuOkna(e);
    }
}

void Form1::ZobrazBasyTlak() { CtiBasy(*this, true); }

void Form1::ZobrazBasyTah() { CtiBasy(*this, false); }

void Form1::ZobrazPrstoklad() {
    SmazPrstoklad();
    Excel().Windows(AktualniPisen).Activate();
    std::string t = vb::CStr(Excel().Range("V" + Radek()).Value());

    try {
        while (!t.empty()) {
            // Items are "l" or "s", the button number, ";", the finger text and "\".
            const long konec = vb::InStr(t, "\\");
            std::string polozka = vb::Left(t, konec - 1);
            t = vb::Mid(t, konec + 1);

            const std::string druh = vb::Left(polozka, 1);
            forms::ControlArray<forms::Label>* cil = nullptr;
            if (druh == "l") cil = &lbl;
            else if (druh == "s") cil = &lblSynchro;
            else {
                forms::MsgBox("Neočekávaná hodnota ve značení prstokladu.", forms::vbCritical, "Chyba !");
                return;
            }

            polozka = vb::Mid(polozka, 2);
            const long strednik = vb::InStr(polozka, ";");
            const std::uint8_t knoflik = vb::CByte(vb::Variant(vb::Left(polozka, strednik - 1)));
            const std::string prst = vb::Mid(polozka, strednik + 1);
            forms::Label& popis = (*cil)(knoflik);
            const std::string predtim = popis.Caption;
            popis.Caption = prst + "\r\n" + predtim;
            zobrazenePrsty_.push_back({&popis, predtim, popis.Caption});
        }
    } catch (const vb::RuntimeError& e) {
        if (e.Number() == vb::err::ControlArrayElementMissing) {
            forms::MsgBox(
                "Požadavek na vyznačení prstokladu nemohl být proveden, neboť záznam ve sloupci V neobsahuje platnou "
                "hodnotu. Knoflík, na který odkazuje tento záznam, neexistuje. Pro odstranění této chyby smažte "
                "prosím v Excelu na aktuálním řádku ve sloupci V celý obsah buňky. Data o aktuálním hmatu zůstanou "
                "zachována. Prstoklad pak včetně potvrzení hmatu můžete zapsat znovu.",
                forms::vbExclamation, "Chyba č. 340.");
        } else {
            OznamChybuSPokracovanim("V programu", e.Number(), "Neočekávaná chyba programu.");
        }
    }
}

void Form1::SmazPrstoklad() {
    // Latest first, so a label with two fingers gets back its caption of before
    // both; a caption written anew since (the tone names) is left as it is.
    for (auto it = zobrazenePrsty_.rbegin(); it != zobrazenePrsty_.rend(); ++it)
        if (it->popis->Caption.get() == it->potom) it->popis->Caption = it->predtim;
    zobrazenePrsty_.clear();
}

void Form1::ConnectReadingEvents() {
    cmdReadTlak.Click = [this] { cmdReadTlak_Click(); };
    cmdReadTah.Click = [this] { cmdReadTah_Click(); };
}
