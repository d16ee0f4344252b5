// Fingering input: a double-click on a treble button's label (or on its
// second label) asks which finger plays it and appends one item to the
// grip's fingering text Prstoklad: the kind ("l" main label, "s" second
// label), the button number, ";", the answer and "\". The keyboard grip
// writer stores the text with the grip; reading shows it on the labels.
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/strings.h"

namespace {

// The reader cuts an item at its backslash and takes the backslash's place
// as a byte: an item, backslash included, holds at most 255 characters.
constexpr long kNejdelsiPolozka = 255;

void PridejPrst(std::string& prstoklad, const char* druh, std::int16_t knoflik) {
    const std::string odpoved =
        forms::InputBox("Zadejte číslo prstu, kterým má být mačkán tento knoflík. 1 = palec až 5 = malíček.",
                        "Označení prstokladu");
    if (odpoved.empty()) return;

    const std::string polozka = druh + std::to_string(knoflik) + ";" + odpoved + "\\";
    // An answer the reader could not take back apart is refused whole.
    if (vb::InStr(odpoved, "\\") > 0) {
        forms::MsgBox("Prstoklad nebyl zapsán: zadaný text obsahuje zpětné lomítko \\, které v záznamu prstokladu "
                      "odděluje jednotlivé knoflíky.\r\nZadejte prosím číslo prstu znovu, bez zpětného lomítka.",
                      forms::vbExclamation, "Neplatné označení prstu.");
        return;
    }
    if (vb::Len(polozka) > kNejdelsiPolozka) {
        forms::MsgBox("Prstoklad nebyl zapsán: zadaný text je příliš dlouhý. Záznam prstokladu jednoho knoflíku "
                      "smí mít nejvýše 255 znaků.\r\nZadejte prosím číslo prstu znovu.",
                      forms::vbExclamation, "Neplatné označení prstu.");
        return;
    }
    prstoklad += polozka;
}

}  // namespace

void Form1::lbl_DblClick(std::int16_t Index) { PridejPrst(Prstoklad, "l", Index); }

void Form1::lblSynchro_DblClick(std::int16_t Index) { PridejPrst(Prstoklad, "s", Index); }
