// Bringing the window up: topmost, the connection to the spreadsheet, the
// pictures from the resources, the user's settings, the bass layout, the
// released keyboards and the row overlays.
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/forms/winapi.h"
#include "platform/system/settings.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "resources/bitmaps/pictures.h"
#include "resources/strings/strings.h"
#include "store/module1.h"
#include "store/okna_sesitu.h"

namespace {

constexpr const char* kAplikace = "Calvira12";

// One statement of the settings part of the load: a value that cannot be
// converted (a missing or non-numeric setting) is passed over and the load
// goes on with the next statement; every other failure ends the load.
template <class F>
void PreskocNeprevoditelne(F&& prikaz) {
    try {
        prikaz();
    } catch (const vb::RuntimeError& e) {
        if (e.Number() != vb::err::TypeMismatch) throw;
    }
}

// A whole-number setting 0-255, read with an empty default.
std::uint8_t CeleCislo(const char* sekce) { return vb::CByte(sys::GetSetting(kAplikace, sekce, "Index", "")); }

}  // namespace

void Form1::Form_Load() {
    forms::SetWindowPos(hWnd(), forms::HWND_TOPMOST, 0, 0, 0, 0, forms::SWP_NOMOVE | forms::SWP_NOSIZE);

    lblLadeni.Caption = SpustExcel();
    // The song's window closed by the user ends the song as "Konec písničky" does.
    NastavOknoPisne({.UkonciPisen = [this] { cmdEndEdit_Click(); }});

    for (int i = 5; i <= 84; ++i) imgBecko(i).Picture = resources::LoadResPicture(122);
    for (int i = 0; i <= 6; ++i) {
        picKrizekStup(i).Picture = resources::LoadResPicture(131);
        picBeckoStup(i).Picture = resources::LoadResPicture(132);
        picOdrazka(i).Picture = resources::LoadResPicture(133);
    }

    try {
        std::uint8_t znaceni = 0;
        PreskocNeprevoditelne([&] { znaceni = CeleCislo("Znaceni"); });
        PreskocNeprevoditelne([&] {
            if (znaceni == 1) CislujRadyZnaky();
        });

        std::uint8_t popisKnof = 0;
        PreskocNeprevoditelne([&] { popisKnof = CeleCislo("PopisKnof"); });
        PreskocNeprevoditelne([&] { mnu2Rady.Checked = popisKnof != 0; });
        PreskocNeprevoditelne([&] {
            if (mnu2Rady.Checked) PopisKnoflikyTony();
        });

        std::uint8_t cislovani = 0;
        PreskocNeprevoditelne([&] { cislovani = CeleCislo("Cislovani"); });
        PreskocNeprevoditelne([&] { mnuCislovat.Checked = cislovani != 0; });
        for (int i = 0; i <= 31; ++i)
            PreskocNeprevoditelne([&] { lblCisKnofl(i).Visible = mnuCislovat.Checked.get(); });

        PreskocNeprevoditelne([&] { RozmistiBasy(); });
        PreskocNeprevoditelne([&] { UvolniBasy(); });
        for (int i = 1; i <= 120; ++i) PreskocNeprevoditelne([&] { ImgBas(i).Tag = "0"; });
        PreskocNeprevoditelne([&] { UvolniDiskant(); });

        for (int i = 1; i <= 5; ++i)
            PreskocNeprevoditelne([&] {
                cmdZabrana(i).Visible = vb::CBool(sys::GetSetting(kAplikace, "Zabrany", std::to_string(i), "0"));
            });
    } catch (const vb::RuntimeError& e) {
        OznamChybuSPokracovanim("V programu", e.Number(), "Neočekávaná chyba programu.");
    }
}

// The letter labels of the treble rows: the first column of labels from the
// bottom (7440) up to 240, the second from 6840 up.
void Form1::CislujRadyZnaky() {
    for (int i = 0; i <= 12; ++i) {
        lblCisKnofl(i).Caption = resources::LoadResString(101 + i);
        lblCisKnofl(i).Top = static_cast<float>(7440 - 600 * i);
    }
    for (int i = 13; i <= 24; ++i) {
        lblCisKnofl(i).Caption = resources::LoadResString(101 + i);
        lblCisKnofl(i).Top = static_cast<float>(6840 - 600 * (i - 13));
    }
}
