// Dragging heads and signs onto the entry staff: a mouse button pressed on
// a picture of the four pools lets the user move it; where it is dropped,
// it snaps to the staff's grid and to the column of its kind, or goes back
// to its tray when it lies above or below the staff. A head first frees the
// button it lit and, dropped on the staff, presses the button of its note.
#include "mainwindow/recording/drag.h"

#include <cstdint>

#include "mainwindow/form1.h"
#include "platform/forms/winapi.h"
#include "platform/vb/conversions.h"
#include "mainwindow/recording/shared.h"

void PretahniObjekt(std::int32_t& hWnd) {
    forms::ReleaseCapture();
    const long nula = 0;
    forms::SendMessage(hWnd, forms::WM_NCLBUTTONDOWN, forms::HTCAPTION, nula);
}

namespace {

// The staff band, tested after snapping; outside it a picture is parked.
constexpr float kHorniOkraj = 8040;
constexpr float kDolniOkraj = 10080;

// What a kind does on a drop: its place on the 60-twip grid (its staff
// heights modulo 60), its staff column, and its tray places when dropped
// above or below the band.
struct Druh {
    int faze;
    float sloupec;
    float zasobnikNahore;
    float zasobnikDole;
};
constexpr Druh kBecko{0, 1890, 1005, 1005};
constexpr Druh kKrizek{30, 1800, 405, 405};
constexpr Druh kOdrazka{30, 2050, 1280, 1305};
constexpr Druh kHlava{20, 2250, 1440, 1440};

std::int16_t Cele(double x) { return vb::CInt(vb::Variant(x)); }

// The user drags the picture; it then snaps to the nearest grid height of
// its kind (halves to even; a height beyond 16 bits is an overflow, error 6)
// and to its column. Returns whether it stays inside the band; if not, it is
// parked in its tray.
bool PretahniAUmisti(forms::PictureBox& obrazek, const Druh& druh) {
    std::int32_t hWnd = obrazek.hWnd();
    PretahniObjekt(hWnd);

    const std::int16_t t = Cele(obrazek.Top);
    const std::int16_t q = Cele(t / 60.0);
    obrazek.Top = Cele(q * 60 + druh.faze);
    obrazek.Left = druh.sloupec;
    if (obrazek.Top < kHorniOkraj) {
        obrazek.Top = kZasobnik;
        obrazek.Left = druh.zasobnikNahore;
        return false;
    }
    if (obrazek.Top > kDolniOkraj) {
        obrazek.Top = kZasobnik;
        obrazek.Left = druh.zasobnikDole;
        return false;
    }
    return true;
}

}  // namespace

void Form1::picBecko_MouseDown(std::int16_t Index, int, int, float, float) {
    PretahniAUmisti(picBecko(Index), kBecko);
}

void Form1::picKrizek_MouseDown(std::int16_t Index, int, int, float, float) {
    PretahniAUmisti(picKrizek(Index), kKrizek);
}

void Form1::picOdrazka_MouseDown(std::int16_t Index, int, int, float, float) {
    PretahniAUmisti(picOdrazka(Index), kOdrazka);
}

// A head dropped on the staff presses the button of the note it shows,
// read with the signs beside it now; a sign moved later does not change it.
void Form1::picNota_MouseDown(std::int16_t Index, int, int, float, float) {
    UvolniKnoflikNoty(static_cast<std::uint8_t>(Index));
    if (PretahniAUmisti(picNota(Index), kHlava) && picNota(Index).Left > kHlavaNaOsnove) OznacKnoflikNoty(Index);
}
