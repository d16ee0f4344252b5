// The row-overlay dialog over the started main window: what it shows, what
// "Ok" stores and applies, and what "Zrušit", the close box and the help leave alone.
#include "mainwindow/frmnastaveni.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

#include "form1_fixture.h"
#include "tests/support/render_form.h"
#include "platform/system/settings.h"
#include "tests/support/press_key.h"

namespace {

using Rows = std::array<int, 5>;  // chkZabrany 1..5

class FrmNastaveniTest : public form1_test::Form1Fixture {
protected:
    void TearDown() override {
        forms::SetModalDriver(nullptr);
        Form1Fixture::TearDown();
    }

    // Opens a new dialog modal, lets `user` work in it and returns once it is hidden.
    void Open(std::function<void(frmNastaveni&)> user) {
        forms::SetModalDriver([&](forms::Form& shown) { user(dynamic_cast<frmNastaveni&>(shown)); });
        frmNastaveni dialog;
        dialog.Show(forms::vbModal);
        EXPECT_FALSE(dialog.Visible);
        dialog.Unload();
        forms::SetModalDriver(nullptr);
    }

    static Rows Boxes(const frmNastaveni& d) {
        Rows r{};
        for (int i = 1; i <= 5; ++i) r[i - 1] = d.chkZabrany(i).Value;
        return r;
    }
    static Rows Overlays(const Form1& f) {
        Rows r{};
        for (int i = 1; i <= 5; ++i) r[i - 1] = f.cmdZabrana(i).Visible ? 1 : 0;
        return r;
    }
    static std::array<std::string, 5> Stored() {
        std::array<std::string, 5> s;
        for (int i = 1; i <= 5; ++i) s[i - 1] = sys::GetSetting("Calvira12", "Zabrany", std::to_string(i), "-");
        return s;
    }
    static std::array<std::string, 5> AsText(const Rows& r) {
        std::array<std::string, 5> s;
        for (int i = 0; i < 5; ++i) s[i] = std::to_string(r[i]);
        return s;
    }
};

TEST_F(FrmNastaveniTest, FirstUseShowsNothingTickedAndOkStoresAllFiveKeys) {
    Form1& f = Start();
    Open([](frmNastaveni& d) {
        EXPECT_EQ(Boxes(d), (Rows{0, 0, 0, 0, 0}));
        // To be looked at: the dialog as it opens.
        EXPECT_TRUE(form1_test::RenderToPng(d, BELMORA_TEST_OUTPUT_DIR "/frmnastaveni.png"));
        d.cmdOK.PerformClick();
    });
    EXPECT_EQ(Stored(), AsText({0, 0, 0, 0, 0}));
    EXPECT_EQ(Overlays(f), (Rows{0, 0, 0, 0, 0}));
}

struct PresetCase {
    const char* name;
    forms::CommandButton frmNastaveni::*button;
    Rows rows;
};

class PresetTest : public FrmNastaveniTest, public ::testing::WithParamInterface<PresetCase> {};

// Every preset, then "Ok": settings and overlays follow the preset, and the next start shows them.
TEST_P(PresetTest, PresetThenOkIsStoredAppliedAndBackAtTheNextStart) {
    const PresetCase& c = GetParam();
    // Everything covered before, so that each preset has something to change.
    for (int i = 1; i <= 5; ++i) Setting("Zabrany", std::to_string(i), "1");
    {
        Form1& f = Start();
        ASSERT_EQ(Overlays(f), (Rows{1, 1, 1, 1, 1}));
        Open([&](frmNastaveni& d) {
            EXPECT_EQ(Boxes(d), (Rows{1, 1, 1, 1, 1}));
            (d.*c.button).PerformClick();
            EXPECT_EQ(Boxes(d), c.rows);
            // Nothing is stored or applied before "Ok".
            EXPECT_EQ(Stored(), AsText({1, 1, 1, 1, 1}));
            EXPECT_EQ(Overlays(f), (Rows{1, 1, 1, 1, 1}));
            d.cmdOK.PerformClick();
        });
        EXPECT_EQ(Stored(), AsText(c.rows));
        EXPECT_EQ(Overlays(f), c.rows);
        f.Unload();
    }
    Form1& again = Start();
    EXPECT_EQ(Overlays(again), c.rows);
    Open([&](frmNastaveni& d) {
        EXPECT_EQ(Boxes(d), c.rows);
        d.cmdZrušit.PerformClick();
    });
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetTest,
                         ::testing::Values(PresetCase{"CDur", &frmNastaveni::cmdCDur, {1, 1, 0, 0, 0}},
                                           PresetCase{"GDur", &frmNastaveni::cmdGDur, {1, 0, 0, 0, 1}},
                                           PresetCase{"FDur", &frmNastaveni::cmdFDur, {0, 0, 0, 1, 1}},
                                           PresetCase{"Vycistit", &frmNastaveni::cmdNic, {0, 0, 0, 0, 0}}),
                         [](const ::testing::TestParamInfo<PresetCase>& p) { return std::string(p.param.name); });

TEST_F(FrmNastaveniTest, PresetThenZrusitOrTheCloseBoxChangesNothing) {
    Setting("Zabrany", "3", "1");
    Form1& f = Start();
    ASSERT_EQ(Overlays(f), (Rows{0, 0, 1, 0, 0}));
    const std::function<void(frmNastaveni&)> closings[] = {
        [](frmNastaveni& d) { d.cmdZrušit.PerformClick(); },
        [](frmNastaveni& d) { d.Widget()->close(); },  // the window's close box
    };
    for (const auto& close : closings) {
        Open([&](frmNastaveni& d) {
            d.cmdCDur.PerformClick();
            close(d);
        });
        EXPECT_EQ(Stored(), (std::array<std::string, 5>{"-", "-", "1", "-", "-"}));
        EXPECT_EQ(Overlays(f), (Rows{0, 0, 1, 0, 0}));
    }
    // A new dialog shows what is stored, not what the last one showed.
    Open([](frmNastaveni& d) {
        EXPECT_EQ(Boxes(d), (Rows{0, 0, 1, 0, 0}));
        d.cmdZrušit.PerformClick();
    });
}

// The dialog's keys do what its buttons do: Return presses the focused
// button, elsewhere "Ok"; Escape presses "Zrušit".
TEST_F(FrmNastaveniTest, KeysDoWhatTheButtonsDo) {
    Form1& f = Start();
    using testsupport::PressKey;
    struct Case {
        const char* what;
        std::function<void(frmNastaveni&)> keys;  // after "C Dur" was pressed
        bool stored;                              // whether C Dur's rows were stored and applied
    };
    const Case cases[] = {
        {"Return on a box", [&](frmNastaveni& d) { PressKey(d.chkZabrany(2), Qt::Key_Return); }, true},
        {"Escape", [&](frmNastaveni& d) { PressKey(d.chkZabrany(2), Qt::Key_Escape); }, false},
        {"Return on F Dur, Escape",
         [&](frmNastaveni& d) {
             PressKey(d.cmdFDur, Qt::Key_Return);  // the preset, not Ok: the dialog stays
             EXPECT_EQ(Boxes(d), (Rows{0, 0, 0, 1, 1}));
             PressKey(d.cmdFDur, Qt::Key_Escape);
         },
         false},
    };
    const Rows gDur{1, 0, 0, 0, 1}, cDur{1, 1, 0, 0, 0};
    for (const Case& c : cases) {
        for (int i = 1; i <= 5; ++i) {
            sys::SaveSetting("Calvira12", "Zabrany", std::to_string(i), std::to_string(gDur[i - 1]));
            f.cmdZabrana(i).Visible = gDur[i - 1] != 0;
        }
        Open([&](frmNastaveni& d) {
            d.cmdCDur.PerformClick();
            c.keys(d);
        });
        EXPECT_EQ(Stored(), AsText(c.stored ? cDur : gDur)) << c.what;
        EXPECT_EQ(Overlays(f), c.stored ? cDur : gDur) << c.what;
    }
}

TEST_F(FrmNastaveniTest, BoxesTickedByHandAfterAPresetAreStoredAsShown) {
    Form1& f = Start();
    Open([](frmNastaveni& d) {
        d.cmdGDur.PerformClick();
        static_cast<QAbstractButton*>(d.chkZabrany(3).Widget())->click();
        static_cast<QAbstractButton*>(d.chkZabrany(1).Widget())->click();
        EXPECT_EQ(Boxes(d), (Rows{0, 0, 1, 0, 1}));
        d.cmdOK.PerformClick();
    });
    EXPECT_EQ(Stored(), AsText({0, 0, 1, 0, 1}));
    EXPECT_EQ(Overlays(f), (Rows{0, 0, 1, 0, 1}));
}

TEST_F(FrmNastaveniTest, TextsNotWrittenByTheProgramShowAsTheWindowTreatsThem) {
    // Ticked exactly where the main window shows the overlay at start.
    Setting("Zabrany", "1", "7");
    Setting("Zabrany", "2", "abc");
    Setting("Zabrany", "3", "0");
    Setting("Zabrany", "4", "-1");
    Setting("Zabrany", "5", "");
    Form1& f = Start();
    Open([&](frmNastaveni& d) {
        EXPECT_EQ(Boxes(d), (Rows{1, 0, 0, 1, 0}));
        EXPECT_EQ(Boxes(d), Overlays(f));
        d.cmdOK.PerformClick();
    });
    // "Ok" writes them back in the program's own form.
    EXPECT_EQ(Stored(), AsText({1, 0, 0, 1, 0}));
}

TEST_F(FrmNastaveniTest, HelpExplainsAndTheDialogStaysOpen) {
    Start();
    TakeBoxes();
    Open([&](frmNastaveni& d) {
        d.cmdNapoveda.PerformClick();
        EXPECT_TRUE(d.Visible);
        const auto boxes = TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Nápověda");
        EXPECT_EQ(boxes[0].flags, forms::vbInformation | forms::vbOKOnly);
        EXPECT_EQ(boxes[0].prompt,
                  "Zaškrtnutím políček můžete označit řady, které se nemají použít při nácviku prstokladu např. "
                  "podle školy hry z literatury.\r"
                  "Tlačítka s názvy stupnic slouží pro překrytí řad při hře prvním ze tří základních prstokladů.\r"
                  "Stupnice vypsané pod těmito tlačítky mají totožné nastavení.\r"
                  "Jiný prstoklad však vyžaduje jiné nastavení, které je třeba určit zaškrtnutím políček.");
        d.cmdZrušit.PerformClick();
    });
    EXPECT_EQ(Stored(), (std::array<std::string, 5>{"-", "-", "-", "-", "-"}));
}

}  // namespace
