// The controls of recording connected to their handlers. The handlers that
// trap nothing themselves (bass clicks and drags) are guarded here, so that
// a failure reaching the window is reported with its number instead of
// ending the program.
#include <cstdint>
#include <utility>

#include "mainwindow/form1.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"

namespace {

template <class Handler>
auto Chranene(Handler handler) {
    return [handler = std::move(handler)](auto&&... args) {
        try {
            handler(args...);
        } catch (const vb::RuntimeError& e) {
            resources::NeocekavanaChyba(e.Number());
        }
    };
}

}  // namespace

void Form1::ConnectRecordingEvents() {
    for (std::int16_t n = 1; n <= 49; ++n) {
        lbl(n).Click = [this, n] { lbl_Click(n); };
        lbl(n).DblClick = [this, n] { lbl_DblClick(n); };
        cmdKlavesa(n).Click = [this, n] { cmdKlavesa_Click(n); };
        if (lblSynchro.Exists(n)) {
            lblSynchro(n).Click = [this, n] { lblSynchro_Click(n); };
            lblSynchro(n).DblClick = [this, n] { lblSynchro_DblClick(n); };
        }
    }
    for (std::int16_t b = 1; b <= 120; ++b) ImgBas(b).Click = Chranene([this, b] { ImgBas_Click(b); });

    for (std::int16_t i = 0; i <= 4; ++i)
        picNota(i).MouseDown =
            Chranene([this, i](int Button, int Shift, float X, float Y) { picNota_MouseDown(i, Button, Shift, X, Y); });
    for (std::int16_t i = 0; i <= 6; ++i) {
        picBecko(i).MouseDown = Chranene(
            [this, i](int Button, int Shift, float X, float Y) { picBecko_MouseDown(i, Button, Shift, X, Y); });
        picKrizek(i).MouseDown = Chranene(
            [this, i](int Button, int Shift, float X, float Y) { picKrizek_MouseDown(i, Button, Shift, X, Y); });
        picOdrazka(i).MouseDown = Chranene(
            [this, i](int Button, int Shift, float X, float Y) { picOdrazka_MouseDown(i, Button, Shift, X, Y); });
    }

    cmdTlak.Click = [this] { cmdTlak_Click(); };
    cmdTah.Click = [this] { cmdTah_Click(); };
    cmdTlakNoty.Click = [this] { cmdTlakNoty_Click(); };
    cmdTahNoty.Click = [this] { cmdTahNoty_Click(); };
}
