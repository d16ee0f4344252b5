// The treble button of a note name, found in the lookup workbook's tone
// sheet and marked on the window's keyboard as the target of an interval.
// The lookup goes through the spreadsheet connection.
#include <cstdint>
#include <memory>
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "notation/noty/noty.h"
#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

// Cells B1:B51 are searched; every cell is reached once in 51 searches.
constexpr int kBunekVRozsahu = 51;
// Unexpected failures reported in one lookup before it gives up: a lookup
// workbook closed under the program would otherwise fail again on every try.
constexpr int kNejvicNeocekavanych = 3;

constexpr int kObrazekKnofliku = 129;
constexpr int kObrazekDruhehoKnofliku = 130;
constexpr forms::OleColor kBarvaKlavesy = 0x4080;

struct Nenalezeno {};
struct Vzdano {};

// The message boxes of the lookup are shown with the window hidden.
void Oznam(Form1& okno, const std::string& text, const std::string& titulek) {
    okno.Hide();
    forms::MsgBox(text, forms::vbCritical + forms::vbOKOnly, titulek);
    okno.Show(forms::vbModeless);
}

}  // namespace

void Form1::StiskniKnoflik(std::string& Ton) {
    // Held for the whole lookup, so the spreadsheet stays while we use it.
    std::shared_ptr<xl::Application> excel;
    int neocekavane = 0;

    // One step of the lookup. "Object not set" means the name was not found
    // (Find gave no cell) or there is nothing to search; any other failure is
    // reported and the step tried again, up to the bound.
    auto krok = [&](auto&& prikaz) {
        for (;;) {
            try {
                prikaz();
                return;
            } catch (const vb::RuntimeError& e) {
                if (e.Number() == vb::err::ObjectNotSet) throw Nenalezeno{};
                Oznam(*this, resources::NeocekavanaChybaText(e.Number()), "Neočekávaná chyba !");
                if (++neocekavane >= kNejvicNeocekavanych) throw Vzdano{};
            }
        }
    };

    try {
        krok([&] {
            excel = ExcelAplikace;
            if (!excel) vb::Raise(vb::err::ObjectNotSet);
            excel->Windows(NazevReadOnly).Activate();
            excel->Sheets("Calvira12").Select();
            excel->Range("B1:B51").Select();
        });

        krok([&] { Ton = vb::CStr(clsNoty().PrevedNaKrizky(Ton)); });

        // Find also stops at cells that merely contain the name; only a
        // whole, exact value counts, and 51 searches reach every cell.
        xl::Range nalez;
        krok([&] { nalez = NajdiVReadOnly("B1:B51", vb::Variant(Ton), kBunekVRozsahu); });
        if (nalez.IsNothing()) throw Nenalezeno{};

        std::int16_t knoflik = 0;
        krok([&] { knoflik = vb::CInt(excel->ActiveCell().Offset(0, -1).Value()); });
        krok([&] { imgDiskant(knoflik).Picture = resources::LoadResPicture(kObrazekKnofliku); });
        krok([&] { cmdKlavesa(knoflik).BackColor = kBarvaKlavesy; });
        if (MaDruhyObrazek(knoflik))
            krok([&] { imgDiskantPom(knoflik).Picture = resources::LoadResPicture(kObrazekDruhehoKnofliku); });
    } catch (const Nenalezeno&) {
        Oznam(*this, "Nenalezen tón " + Ton + " stisk knoflíku nevyznačen !!!", "Chyba č. 91.");
    } catch (const Vzdano&) {
        // Reported already; what was marked before stays marked.
    }
}
