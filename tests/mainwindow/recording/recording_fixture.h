// The started main window with an open, empty song, as a teacher has it
// before recording, and what the recording tests look at: pressed buttons,
// the entry staff's pictures, the red-note slots and the song's cells.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "mainwindow/frmstupnice.h"
#include "notation/zapis/notyzapis.h"
#include "platform/excel/application.h"
#include "platform/forms/form.h"
#include "platform/forms/winapi.h"
#include "platform/vb/conversions.h"
#include "resources/app_info/app_info.h"
#include "tests/mainwindow/form1_fixture.h"

namespace recording_test {

using Box = forms::ScriptedMessageBoxes::Box;

inline const std::string kUnexpected = std::string("Volejte firmu ") + resources::kMakerContact + " a sdělte číslo chyby ";

// Where a picture stands.
struct Misto {
    float left;
    float top;
    bool operator==(const Misto&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Misto& m) { return o << "(" << m.left << ", " << m.top << ")"; }
inline Misto Kde(const forms::Control& c) { return {c.Left, c.Top}; }

class RecordingFixture : public form1_test::Form1Fixture {
protected:
    void TearDown() override {
        forms::SetModalDriver(nullptr);
        forms::SetDragDriver(nullptr);
        Form1Fixture::TearDown();
    }

    // The window started with a new song open and the song controls on.
    Form1& StartRecording(const std::string& song = "Zapis.xls") {
        Form1& f = Start();
        OpenNewSong(song);
        f.PovolOvladaniPisne();
        f.VyberSloupecB();
        return f;
    }

    // The scale chosen, as the scale dialog leaves it: the caption and the key signature.
    static void Stupnice(Form1& f, const std::string& stupnice) {
        f.UvolniPredznamenani();
        f.cmdStupnice.Caption = stupnice;
        f.Zapis().NastavStupnici(stupnice);
    }

    // The scale dialog as the user answers it: the scales in turn, "Ok" each time.
    static void VolbyStupnice(std::vector<std::string> volby) {
        forms::SetModalDriver([volby = std::move(volby)](forms::Form& okno) mutable {
            auto& dialog = dynamic_cast<class frmStupnice&>(okno);
            ASSERT_FALSE(volby.empty()) << "the scale dialog opened once too often";
            const std::string volba = volby.front();
            volby.erase(volby.begin());
            for (int i = 0; i <= 14; ++i)
                if (dialog.optStupnice(i).Caption.get() == volba) dialog.optStupnice(i).Value = true;
            dialog.cmdOK.Click();
        });
    }

    // A drop at (left, top): the user's part of the next drags.
    static void Pusti(float left, float top) {
        forms::SetDragDriver([left, top](forms::Control& c) { c.Move(left, top); });
    }

    // Treble buttons marked pressed, ascending.
    static std::vector<int> Stisknute(Form1& f) {
        std::vector<int> n;
        for (int i = 1; i <= 49; ++i)
            if (f.lbl(i).Tag == "1") n.push_back(i);
        return n;
    }
    // Bass buttons marked pressed, ascending.
    static std::vector<int> StisknuteBasy(Form1& f) {
        std::vector<int> n;
        for (int b = 1; b <= 120; ++b)
            if (f.ImgBas(b).Tag == "1") n.push_back(b);
        return n;
    }
    static std::vector<std::string> Sloty(Form1& f) {
        clsNotyZapis& z = f.Zapis();
        return {z.CervenaNota0(), z.CervenaNota1(), z.CervenaNota2(), z.CervenaNota3(), z.CervenaNota4()};
    }
    // The heads on the entry staff: index and Top, in index order.
    static std::map<int, float> HlavyNaOsnove(Form1& f) {
        std::map<int, float> h;
        for (int i = 0; i <= 4; ++i)
            if (f.picNota(i).Left > 1920) h[i] = f.picNota(i).Top;
        return h;
    }
    // The loose signs of a pool standing on the staff (Left 1440 or more): their Tops.
    static std::vector<float> ZnamenkaNaOsnove(forms::ControlArray<forms::PictureBox>& pool) {
        std::vector<float> t;
        for (int i = 0; i <= 6; ++i)
            if (pool(i).Left >= 1440) t.push_back(pool(i).Top);
        return t;
    }

    // A cell of the song's active sheet as text.
    static std::string Bunka(const std::string& adresa) { return vb::CStr(ExcelAplikace->Range(adresa).Value()); }
    // Cells of one row from column `od` to `po`.
    static std::vector<std::string> Bunky(int radek, char od, char po) {
        std::vector<std::string> v;
        for (char c = od; c <= po; ++c) v.push_back(Bunka(std::string(1, c) + std::to_string(radek)));
        return v;
    }
    static void Zapis(const std::string& adresa, const std::string& hodnota) {
        ExcelAplikace->Range(adresa).Value(vb::Variant(hodnota));
    }
    static std::string Kurzor() { return ExcelAplikace->ActiveCell().Address(); }
};

}  // namespace recording_test
