// Intervals: the tone a chosen number of scale steps above or below the
// lowest note of the active grip, marked on the treble keyboard and on the
// reading staff. The steps are counted as columns of the scale table
// "Transpozice" of the lookup workbook, so they follow the major scale the
// row is written in.
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/noty/noty.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

constexpr forms::OleColor kPouzityInterval = 0x4080;
constexpr forms::OleColor kVolnyInterval = forms::vbInactiveBorder;  // &H8000000B

// Columns D ... AK of a scale row hold the tones an interval may land on.
constexpr int kPrvniCilovySloupec = 4;
constexpr int kPosledniCilovySloupec = 37;

const char* const kNazvyIntervalu[15] = {"",       "sekunda",  "tercie",    "kvarta",     "kvinta",
                                         "sexta",  "septima",  "oktáva",    "nóna",       "decima",
                                         "undecima", "duodecima", "tercdecima", "kvartdecima", "kvintdecima"};

// A key of the scale table, found by its whole value (Excel's search also
// stops at cells that merely contain it: "es1," inside "des1,"). The found
// cell is left active in the lookup window. An empty key names nothing.
std::optional<xl::Range> NajdiVTabulce(const std::string& oblast, const std::string& klic) {
    if (klic.empty()) return std::nullopt;
    xl::Range nalez;
    try {
        nalez = NajdiVReadOnly(oblast, vb::Variant(klic));
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::ObjectNotSet) throw;
    }
    if (nalez.IsNothing()) return std::nullopt;
    return nalez;
}

// The song's window comes back on top whatever happened before.
void VratSeDoPisne() {
    try {
        AktivujPisen();
    } catch (const vb::RuntimeError&) {
    }
}

}  // namespace

void Form1::ConnectIntervalEvents() {
    for (std::int16_t i = 1; i <= 14; ++i) {
        cmdInterval(i).Click = [this, i] { cmdInterval_Click(i); };
        cmdSpodInterval(i).Click = [this, i] { cmdSpodInterval_Click(i); };
    }
}

void Form1::cmdInterval_Click(std::int16_t Index) { UkazInterval(Index); }

void Form1::cmdSpodInterval_Click(std::int16_t Index) { UkazInterval(static_cast<std::int16_t>(-Index)); }

std::string Form1::DejNazevIntervalu(std::int16_t k) {
    if (k == 0 || k < -14 || k > 14) return "nepojmenovaný";
    const int velikost = k < 0 ? -k : k;
    return std::string(k > 0 ? "vrchní " : "spodní ") + kNazvyIntervalu[velikost];
}

void Form1::UvolniIntervaly() {
    for (int i = 1; i <= 14; ++i) {
        cmdInterval(i).BackColor = kVolnyInterval;
        cmdInterval(i).Enabled = true;
        cmdSpodInterval(i).BackColor = kVolnyInterval;
        cmdSpodInterval(i).Enabled = true;
    }
}

void Form1::UkazInterval(std::int16_t k) {
    if (AktualniPisen.empty()) {
        forms::MsgBox("NENÍ OTEVŘENA ŽÁDNÁ SKLADBA !\rTlačítko, které bylo stisknuto má zobrazit zvolený interval od "
                      "nejnižšího tónu\raktuálního, již dříve zapsaného hmatu. V tuto chvíli nelze tuto funkci vykonat.",
                      forms::vbCritical, "Požadavek odmítnut !");
        return;
    }

    try {
        // The lowest note of the grip: rows are stored with their notes sorted upwards.
        // A workbook window closed under the program is one more failure of
        // this operation and is reported with its number like any other.
        Excel().Windows(AktualniPisen).Activate();
        const std::string zakladniTon =
            vb::CStr(Excel().Range("B" + std::to_string(Excel().ActiveCell().Row())).Value());

        Excel().Windows(NazevReadOnly).Activate();
        Excel().Sheets("Transpozice").Select();

        // The scale the row is written in; when the note is not in it, the
        // user may try the scales one after another.
        std::string stupnice = lblStupnice.Caption;
        std::optional<xl::Range> zaklad;
        for (;;) {
            if (auto radek = NajdiVTabulce("B1:B17", stupnice)) {
                const std::string r = std::to_string(radek->Row());
                zaklad = NajdiVTabulce("C" + r + ":AN" + r, zakladniTon);
            }
            if (zaklad) break;

            if (lblStupnice.Caption.get().empty()) {
                forms::MsgBox("U tohoto hmatu není zapsáno v jaké stupnici se skladba hraje.", forms::vbCritical,
                              "Nelze určit interval !");
                VratSeDoPisne();
                return;
            }
            const int odpoved = forms::MsgBox(
                "Nota " + zakladniTon + " od které se má určit interval " + DejNazevIntervalu(k) +
                    ", není obsažena v aktuální stupnici " + stupnice + ".\r\nPřejete si zkusit štěstí s jinou stupnicí ?",
                forms::vbQuestion | forms::vbYesNo | forms::vbDefaultButton2, "Nelze určit interval v " + stupnice + ".");
            if (odpoved != forms::vbYes) {
                VratSeDoPisne();
                return;
            }
            cmdStupnice_Click();
            stupnice = cmdStupnice.Caption;
        }

        const int cil = zaklad->Column() + k;
        if (cil < kPrvniCilovySloupec || cil > kPosledniCilovySloupec) {
            forms::MsgBox("Interval je mimo rozsah tohoto akordeonu !", forms::vbInformation, "Neprovedeno.");
            VratSeDoPisne();
            return;
        }
        const std::string cilovyTon = vb::CStr(zaklad->Offset(0, k).Value());
        if (cilovyTon.empty()) {
            forms::MsgBox("Interval nelze určit !", forms::vbInformation, "Neprovedeno.");
            VratSeDoPisne();
            return;
        }

        // The lookup respells its argument into sharps; the staff wants the
        // name as the scale spells it.
        std::string kopie = cilovyTon;
        StiskniKnoflik(kopie);

        auto& tlacitko = k < 0 ? cmdSpodInterval(-k) : cmdInterval(k);
        tlacitko.BackColor = kPouzityInterval;
        tlacitko.Enabled = false;

        // Only the reading staff's own five pictures of each kind are used,
        // the first hidden one of each; the strip's pictures stay where they are.
        auto volny = [](forms::ControlArray<forms::Image>& obrazky) -> forms::Control* {
            for (int i = 0; i <= 4; ++i)
                if (!obrazky(i).Visible) return &obrazky(i);
            return nullptr;
        };
        UmistiNaOsnovu(CteciOsnova, clsNoty().UrciPolohu(cilovyTon),
                       {.hlava = volny(imgNota), .becko = volny(imgBecko), .krizek = volny(imgKrizek)});

        Excel().Windows(AktualniPisen).Activate();
    } catch (const vb::RuntimeError& e) {
        OznamChybuSPokracovanim("V programu", e.Number(), "Neočekávaná chyba programu.");
        VratSeDoPisne();
    }
}
