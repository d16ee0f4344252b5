// Tone names on the treble buttons: every button (and its second picture,
// where the button appears twice) shows the plain sharp name of its tone
// without the closing comma, in bold olive; or nothing at all.
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/com/vb_variant.h"
#include "platform/vb/conversions.h"
#include "platform/vb/strings.h"

namespace {

constexpr float kVelikostPisma = 12;
constexpr forms::OleColor kBarvaPisma = 0x00008080;

// The plain name of tone `ton` as the component spells it, e.g. "fis1,".
// The counter crosses by reference, as the window's own variable.
std::string JmenoTonu(calvira::_Calvira12& klic, std::uint8_t& ton) {
    vb::Variant promenna = vb::Variant::ByRef(ton);
    {
        com::VariantArg arg(promenna);
        com::CheckHresult(klic.DejTon(arg.get()));
    }
    return vb::CStr(VysledekKlice(klic));
}

// The caption shown on a button: the name without its closing comma.
std::string BezCarky(const std::string& jmeno) { return vb::Left(jmeno, vb::Len(jmeno) - 1); }

void Pismo(forms::Label& popis) {
    popis.FontSize = kVelikostPisma;
    popis.ForeColor = kBarvaPisma;
    popis.FontBold = true;
}

}  // namespace

void Form1::PopisKnoflikyTony() {
    for (std::uint8_t i = 1; i <= 49; ++i) {
        const std::string jmeno = BezCarky(JmenoTonu(Klic(), i));
        lbl(i).Caption = jmeno;
        Pismo(lbl(i));
        lbl(i).ToolTipText = jmeno;
    }
    // Only the buttons shown twice have a second label: 2, 5, ... 47 and 4, 7, ... 49.
    for (int start : {2, 4}) {
        for (std::uint8_t i = static_cast<std::uint8_t>(start); i <= start + 45; i += 3) {
            Pismo(lblSynchro(i));
            lblSynchro(i).Caption = BezCarky(JmenoTonu(Klic(), i));
        }
    }
}

// The font stays as the names left it, so fingering shown later looks the same.
void Form1::SmazPopisKnofliku() {
    for (int i = 1; i <= 49; ++i) {
        lbl(i).Caption = std::string();
        lbl(i).ToolTipText = std::string();
    }
    for (int start : {4, 2}) {
        for (int i = start; i <= start + 45; i += 3) lblSynchro(i).Caption = std::string();
    }
}
