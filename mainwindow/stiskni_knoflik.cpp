// The treble button of a note name, found in the lookup workbook's tone
// sheet and marked on the main window's keyboard as the target of an
// interval. The window hands its keyboard over; the lookup goes through the
// spreadsheet connection.
#include <cstdint>
#include <memory>
#include <string>

#include "notation/noty.h"
#include "platform/excel/application.h"
#include "platform/forms/app_info.h"
#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/msgbox.h"
#include "platform/forms/resource_pictures.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"
#include "store/lookup.h"
#include "store/module1.h"

namespace {

// The sharp spelling of the pitches the lookup sheet does not hold.
struct Preklad {
    const char* z;
    const char* na;
};
constexpr Preklad kPreklady[] = {
    {"b", "ais"}, {"as", "gis"}, {"ges", "fis"}, {"eis", "f"}, {"fes", "e"}, {"es", "dis"}, {"des", "cis"},
};

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

const clsNoty::Klavesnice* g_klavesnice = nullptr;

// The message boxes of the lookup are shown with the main window hidden.
void Oznam(const std::string& text, const std::string& titulek) {
    forms::Form* okno = g_klavesnice ? g_klavesnice->okno : nullptr;
    if (okno) okno->Hide();
    forms::MsgBox(text, forms::vbCritical + forms::vbOKOnly, titulek);
    if (okno) okno->Show(forms::vbModeless);
}

const clsNoty::Klavesnice& Okno() {
    if (!g_klavesnice) vb::Raise(vb::err::ObjectNotSet);
    return *g_klavesnice;
}

}  // namespace

vb::Variant clsNoty::PrevedNaKrizky(const std::string& Ton) {
    // The name is the pitch, an optional octave digit 1-5 and the comma.
    if (vb::Right(Ton, 1) != ",") return Ton;
    std::string vyska = vb::Left(Ton, vb::Len(Ton) - 1);
    std::string oktava;
    const std::string posledni = vb::Right(vyska, 1);
    if (posledni >= "1" && posledni <= "5" && posledni.size() == 1) {
        oktava = posledni;
        vyska = vb::Left(vyska, vb::Len(vyska) - 1);
    }

    // Ces is h of the octave below: the digit goes one down, "h," having none.
    if (vyska == "ces") {
        if (oktava.empty()) return std::string("h0,");
        if (oktava == "1") return std::string("h,");
        return "h" + std::to_string(oktava[0] - '0' - 1) + ",";
    }
    for (const Preklad& p : kPreklady)
        if (vyska == p.z) return std::string(p.na) + oktava + ",";
    return Ton;
}

void clsNoty::PripojKlavesnici(const Klavesnice* klavesnice) { g_klavesnice = klavesnice; }

const clsNoty::Klavesnice* clsNoty::PripojenaKlavesnice() { return g_klavesnice; }

void clsNoty::StiskniKnoflik(std::string& Ton) {
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
                Oznam(forms::NeocekavanaChybaText(e.Number()), "Neočekávaná chyba !");
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

        krok([&] { Ton = vb::CStr(PrevedNaKrizky(Ton)); });

        // Find also stops at cells that merely contain the name; only a
        // whole, exact value counts, and 51 searches reach every cell.
        xl::Range nalez;
        krok([&] { nalez = NajdiVReadOnly("B1:B51", vb::Variant(Ton), kBunekVRozsahu); });
        if (nalez.IsNothing()) throw Nenalezeno{};

        std::int16_t knoflik = 0;
        krok([&] { knoflik = vb::CInt(excel->ActiveCell().Offset(0, -1).Value()); });
        krok([&] { (*Okno().imgDiskant)(knoflik).Picture = forms::LoadResPicture(kObrazekKnofliku); });
        krok([&] { (*Okno().cmdKlavesa)(knoflik).BackColor = kBarvaKlavesy; });
        // Button 1 and the multiples of 3 up to 48 appear only once on the keyboard.
        const bool jedenObrazek = knoflik == 1 || (knoflik >= 3 && knoflik <= 48 && knoflik % 3 == 0);
        if (!jedenObrazek)
            krok([&] { (*Okno().imgDiskantPom)(knoflik).Picture = forms::LoadResPicture(kObrazekDruhehoKnofliku); });
    } catch (const Nenalezeno&) {
        Oznam("Nenalezen tón " + Ton + " stisk knoflíku nevyznačen !!!", "Chyba č. 91.");
    } catch (const Vzdano&) {
        // Reported already; what was marked before stays marked.
    }
}
