#include "mainwindow/recording/shared.h"

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"

namespace {

// What reading a string the string table does not hold raises.
constexpr int kChybiRetezec = 326;

}  // namespace

std::string JmenoHlavy(Form1& f, std::int16_t s) {
    const std::int16_t vyska = vb::CInt(vb::Variant(static_cast<double>(f.picNota(s).Top.get())));
    try {
        return f.Zapis().ZjistiNotu(vyska);
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != kChybiRetezec) throw;
        return {};
    }
}

void OznamNeplatnouNotu() {
    forms::MsgBox("Nota není platná pro Belmoru. Nebude zapsána a procedura bude předčasně ukončena. Upozorněte "
                  "prosím na tuto chybu autora programu.",
                  forms::vbCritical + forms::vbOKOnly, "Chyba programu");
}
