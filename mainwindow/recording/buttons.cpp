// Button presses while a grip is recorded: each click on a treble button,
// its piano key or its second label, and each click on a bass button toggles
// that button between free and pressed. The pressed marks (the Tags) are the
// only record of the grip until a writer puts it into the song. A treble
// button also draws or removes its note on the entry staff; a bass button of
// the first two columns lights, or clears, the buttons that sound its pitch.
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "mainwindow/recording/shared.h"
#include "resources/app_info/app_info.h"

namespace {

bool Stisknuty(const std::string& tag) { return vb::Val(tag) == 1; }

// The counterbasses and fundamentals (1-40) that sound the pitch of `bas`:
// those whose numbers differ from it by a multiple of 12, in ascending order.
template <class F>
void ProPartnery(int bas, F&& udelej) {
    if (bas > 40) return;
    for (int v = (bas - 1) % 12 + 1; v <= 40; v += 12)
        if (v != bas) udelej(v);
}

// A free bass button's picture: C (30) and the ridged As and E (26, 34) have their own.
const forms::Picture& VolnyBas(Form1& f, int bas) {
    if (bas == 30) return f.imgBaVolC.Picture.get();
    if (bas == 26 || bas == 34) return f.imgBaVolMriz.Picture.get();
    return f.imgBaVol.Picture.get();
}

void OznamChybuStisku(const vb::RuntimeError& e) {
    if (e.Number() != vb::err::FileNotFound) {
        resources::NeocekavanaChyba(e.Number());
        return;
    }
    const std::string produkt = resources::App.ProductName;
    forms::MsgBox("Chyba č. " + std::to_string(e.Number()) + ". " + e.Description() + ".\r\nProgram " + produkt +
                      " vyžaduje ke sé práci několik souborů s příponou gif, které mají být v adresáři s "
                      "nainstalovanou aplikací.\r\nTento problém odstraníte tak, že požadované soubory nakopírujete "
                      "do složky s nainstalovanou aplikací ! Soubory by měly být součástí instalace. Nemáte-li je k "
                      "dispozici, ukončete aplikaci " +
                      produkt + " a kontaktujte autora programu " + resources::kMakerContact,
                  forms::vbCritical, "Chybějící soubor s obrázkem knoflíku.");
}

}  // namespace

void Form1::lbl_Click(std::int16_t Index) {
    const int i = Index;
    try {
        if (!Stisknuty(lbl(i).Tag)) {
            imgDiskant(i).Picture = imgKnofCerv(DruhKnofliku(imgDiskant(i))).Picture;
            if (MaDruhyObrazek(i)) imgDiskantPom(i).Picture = imgKnofCerv(DruhKnofliku(imgDiskantPom(i))).Picture;
            lbl(i).Tag = "1";
            cmdKlavesa(i).BackColor = kStisknutaKlavesa;
            ZakresliNotu(Index);
        } else {
            UvolniKnoflik(static_cast<std::uint8_t>(i));
            VymazNotu(Index);
        }
    } catch (const vb::RuntimeError& e) {
        OznamChybuStisku(e);
    }
}

void Form1::cmdKlavesa_Click(std::int16_t Index) { lbl_Click(Index); }

void Form1::lblSynchro_Click(std::int16_t Index) { lbl_Click(Index); }

// Only the button clicked is marked pressed; its partners are painted. A
// release paints the partners free and takes their marks too.
void Form1::ImgBas_Click(std::int16_t Index) {
    const int u = Index;
    if (!Stisknuty(ImgBas(u).Tag)) {
        OznacBas(Index);
        ImgBas(u).Tag = "1";
        return;
    }
    ImgBas(u).Picture = imgBaVol.Picture;
    if (u <= 40) {
        ProPartnery(u, [this](int v) {
            ImgBas(v).Picture = VolnyBas(*this, v);
            ImgBas(v).Tag = "0";
        });
        if (u == 26 || u == 34 || u == 30) ImgBas(u).Picture = VolnyBas(*this, u);
    }
    ImgBas(u).Tag = "0";
}

void Form1::OznacBas(std::int16_t Index) {
    const int u = Index;
    ImgBas(u).Picture = imgBaCerv1.Picture;
    if (u > 40) return;
    ProPartnery(u, [this](int v) { ImgBas(v).Picture = imgBaCerv2.Picture; });
    if (u == 26 || u == 34) ImgBas(u).Picture = imgBaStiskMriz.Picture;
    if (u == 30) ImgBas(u).Picture = imgBaStiskC.Picture;
}
