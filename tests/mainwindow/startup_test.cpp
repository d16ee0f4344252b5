// The main window brought up as the program does it: the load handler's
// order, the user's settings and what a setting that cannot be read does,
// and the tone-name object made on first use.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/com/vb_variant.h"
#include "platform/msgbox/msgbox.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;
using form1_test::ProgramEnded;
using Box = forms::ScriptedMessageBoxes::Box;

class StartupTest : public Form1Fixture {};

std::vector<int> VisibleOverlays(Form1& f) {
    std::vector<int> shown;
    for (int i = 1; i <= 5; ++i)
        if (f.cmdZabrana(i).Visible) shown.push_back(i);
    return shown;
}

int VisibleNumberLabels(Form1& f) {
    int n = 0;
    for (int i = 0; i <= 31; ++i) n += f.lblCisKnofl(i).Visible ? 1 : 0;
    return n;
}

TEST_F(StartupTest, FirstStartBringsUpTheWindowWithNothingSwitchedOn) {
    Form1 design;  // the design, for the captions the load must leave alone
    Form1& f = NewForm();
    // Whatever the design says, the settings decide these at load.
    f.mnu2Rady.Checked = true;
    f.mnuCislovat.Checked = true;
    for (int i = 0; i <= 31; ++i) f.lblCisKnofl(i).Visible = true;
    f.ImgBas(7).Tag = "1";
    f.ImgBas(21).Move(10, 20);
    f.ImgBas(120).Move(30, 40);

    f.Show(forms::vbModeless);

    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible);
    EXPECT_TRUE(f.IsTopmost());
    EXPECT_EQ(f.lblLadeni.Caption.get(), "Calvira12");
    EXPECT_FALSE(f.mnu2Rady.Checked);
    EXPECT_FALSE(f.mnuCislovat.Checked);
    EXPECT_EQ(VisibleNumberLabels(f), 0);
    EXPECT_TRUE(VisibleOverlays(f).empty());
    for (int i = 0; i <= 31; ++i) {
        EXPECT_EQ(f.lblCisKnofl(i).Caption.get(), design.lblCisKnofl(i).Caption.get()) << i;
        EXPECT_EQ(f.lblCisKnofl(i).Top, design.lblCisKnofl(i).Top) << i;
    }
    // Pictures from the resources, the bass layout and released keyboards.
    for (int i = 5; i <= 84; ++i) EXPECT_TRUE(f.imgBecko(i).Picture.get() == resources::LoadResPicture(122)) << i;
    for (int i = 0; i <= 6; ++i) {
        EXPECT_TRUE(f.picKrizekStup(i).Picture.get() == resources::LoadResPicture(131)) << i;
        EXPECT_TRUE(f.picBeckoStup(i).Picture.get() == resources::LoadResPicture(132)) << i;
        EXPECT_TRUE(f.picOdrazka(i).Picture.get() == resources::LoadResPicture(133)) << i;
    }
    EXPECT_EQ(f.ImgBas(21).Left, 2940.f);
    EXPECT_EQ(f.ImgBas(21).Top, 1710.f);
    EXPECT_EQ(f.ImgBas(120).Left, 1740.f);
    EXPECT_EQ(f.ImgBas(120).Top, 8010.f);
    for (int b = 1; b <= 120; ++b) EXPECT_EQ(f.ImgBas(b).Tag, "0") << b;
    EXPECT_TRUE(f.imgBecko(0).Visible.get() == false);
    EXPECT_TRUE(TakeBoxes().empty());
}

// One stored set of settings and what the window shows after the load.
struct SettingsCase {
    const char* name;
    std::map<std::pair<std::string, std::string>, std::string> stored;
    bool names;
    bool numbering;
    std::vector<int> overlays;
};

class StartupSettingsTest : public StartupTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(StartupSettingsTest, SettingsDecideMenusLabelsAndOverlays) {
    for (const auto& [where, value] : GetParam().stored) Setting(where.first, where.second, value);

    Form1& f = Start();

    EXPECT_EQ(f.mnu2Rady.Checked.get(), GetParam().names);
    EXPECT_EQ(f.mnuCislovat.Checked.get(), GetParam().numbering);
    EXPECT_EQ(VisibleNumberLabels(f), GetParam().numbering ? 32 : 0);
    EXPECT_EQ(VisibleOverlays(f), GetParam().overlays);
    // With names on, the buttons carry their tone names from the start.
    EXPECT_EQ(f.lbl(1).Caption.get(), GetParam().names ? "e" : "");
    EXPECT_EQ(f.lblSynchro(49).Caption.get(), GetParam().names ? "e4" : "");
    EXPECT_TRUE(TakeBoxes().empty());
    // The load ran to its end.
    EXPECT_EQ(f.ImgBas(120).Left, 1740.f);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StartupSettingsTest,
    ::testing::Values(
        SettingsCase{"NamesOnNumberingMissing", {{{"PopisKnof", "Index"}, "1"}}, true, false, {}},
        SettingsCase{"NumberingSeven", {{{"Cislovani", "Index"}, "7"}}, false, true, {}},
        SettingsCase{"OneOverlay", {{{"Zabrany", "3"}, "1"}}, false, false, {3}},
        SettingsCase{"StoredOverlays",
                     {{{"Zabrany", "1"}, "1"}, {{"Zabrany", "2"}, "0"}, {{"Zabrany", "5"}, "True"}},
                     false,
                     false,
                     {1, 5}},
        SettingsCase{"NonNumbersReadAsZero",
                     {{{"PopisKnof", "Index"}, "ano"}, {{"Cislovani", "Index"}, ""}, {{"Znaceni", "Index"}, "x"}},
                     false,
                     false,
                     {}}),
    [](const ::testing::TestParamInfo<SettingsCase>& p) { return std::string(p.param.name); });

TEST_F(StartupTest, OverlayValueThatIsNoBooleanLeavesTheOverlayAsItWas) {
    Setting("Zabrany", "2", "nevim");
    Setting("Zabrany", "4", "0");
    Form1& f = NewForm();
    f.cmdZabrana(2).Visible = true;
    f.cmdZabrana(4).Visible = true;

    f.Show(forms::vbModeless);

    EXPECT_EQ(VisibleOverlays(f), std::vector<int>{2});
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(StartupTest, LetterRowLabels) {
    Form1 design;
    Setting("Znaceni", "Index", "1");

    Form1& f = Start();

    const std::vector<std::string> captions = {"1", "A", "B", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                               "1", "B", "2", "3", "4", "5s", "6", "7", "8", "9", "10", "11"};
    for (int i = 0; i <= 24; ++i) {
        SCOPED_TRACE("lblCisKnofl " + std::to_string(i));
        EXPECT_EQ(f.lblCisKnofl(i).Caption.get(), captions[static_cast<std::size_t>(i)]);
        EXPECT_EQ(f.lblCisKnofl(i).Top, i <= 12 ? 7440.f - 600.f * static_cast<float>(i)
                                                : 6840.f - 600.f * static_cast<float>(i - 13));
        EXPECT_EQ(f.lblCisKnofl(i).Left, design.lblCisKnofl(i).Left);
    }
    EXPECT_EQ(f.lblCisKnofl(18).Caption.get(), "5s");
    EXPECT_EQ(f.lblCisKnofl(18).Top, 3840.f);
    for (int i = 25; i <= 31; ++i) {
        EXPECT_EQ(f.lblCisKnofl(i).Caption.get(), design.lblCisKnofl(i).Caption.get()) << i;
        EXPECT_EQ(f.lblCisKnofl(i).Top, design.lblCisKnofl(i).Top) << i;
    }
    // Letter labels do not switch the numbering on.
    EXPECT_EQ(VisibleNumberLabels(f), 0);
}

TEST_F(StartupTest, SettingAboveByteRangeEndsTheLoadWithItsMessage) {
    Setting("Znaceni", "Index", "1");
    Setting("PopisKnof", "Index", "300");
    Setting("Cislovani", "Index", "1");
    Setting("Zabrany", "1", "1");
    Form1& f = NewForm();
    f.ImgBas(7).Tag = "1";
    f.ImgBas(120).Move(30, 40);
    f.lblCisKnofl(0).Top = 15;
    f.mnuCislovat.Checked = false;
    for (int i = 0; i <= 31; ++i) f.lblCisKnofl(i).Visible = false;

    f.Show(forms::vbModeless);

    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{std::string("V programu došlo k chybě číslo 6. Možná budete moci dále pokračovat. "
                                             "V případě problémů volejte ") +
                                     resources::kMakerContact,
                                 forms::vbExclamation, "Neočekávaná chyba programu."}}));
    // The window is shown as it stands: the steps before ran, none after.
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.lblCisKnofl(0).Top, 7440.f);
    EXPECT_EQ(f.lblCisKnofl(18).Caption.get(), "5s");
    EXPECT_FALSE(f.mnuCislovat.Checked);
    EXPECT_EQ(VisibleNumberLabels(f), 0);
    EXPECT_EQ(f.ImgBas(120).Left, 30.f);
    EXPECT_EQ(f.ImgBas(120).Top, 40.f);
    EXPECT_EQ(f.ImgBas(7).Tag, "1");
    EXPECT_FALSE(f.cmdZabrana(1).Visible);
    // The connection is up all the same.
    EXPECT_EQ(f.lblLadeni.Caption.get(), "Calvira12");
}

TEST_F(StartupTest, ToneNameObjectIsMadeOnFirstUseAndKept) {
    Form1& f = Start();

    calvira::_Calvira12& klic = f.Klic();
    EXPECT_EQ(&f.Klic(), &klic);

    com::VariantArg ton(vb::Variant(std::int16_t{1}));
    ASSERT_EQ(klic.DejTon(ton.get()), com::S_OK);
    com::VARIANT v;
    com::VariantInit(&v);
    ASSERT_EQ(klic.get_Vysledek(&v), com::S_OK);
    EXPECT_EQ(com::ToVbVariant(v).AsString(), "e,");
    com::VariantClear(&v);
}

TEST_F(StartupTest, ToneNameObjectOfAnUnregisteredComponentIsError429) {
    Form1& f = Start();
    Env().Set("BELMORA_REGISTRY", (Root() / "empty-registry.ini").string());

    try {
        f.Klic();
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::CannotCreateObject);
    }
}

// The user's default folder as the spreadsheet keeps it between runs.
std::string StoredDefaultFolder() { return xl::Application().DefaultFilePath(); }

// The load starts the connection to the spreadsheet and shows the sheet it selected.
TEST_F(StartupTest, StartOpensTheLookupWorkbookAndPointsTheDefaultFolderAtTheSongs) {
    xl::Application().DefaultFilePath("C:\\Moje dokumenty");

    Form1& f = Start();

    ASSERT_TRUE(ExcelAplikace);
    EXPECT_TRUE(ExcelAplikace->Visible());
    EXPECT_EQ(NazevReadOnly, "read_only.xls");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "read_only.xls");
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Calvira12");
    EXPECT_EQ(f.lblLadeni.Caption.get(), "Calvira12");
    EXPECT_EQ(StaraCesta, "C:\\Moje dokumenty");
    EXPECT_EQ(StoredDefaultFolder(), PracovniAdresar);
    EXPECT_EQ(AktualniPisen, "");
    EXPECT_TRUE(TakeBoxes().empty());
}

// A start that fails ends the program before the rest of the load.
TEST_F(StartupTest, ProgramEndsWithAFailureCodeAndGoesNoFurtherThanTheMessage) {
    xl::testing::SetCreationFails(true);
    Form1& f = NewForm();
    const std::string designCaption = f.lblLadeni.Caption;
    try {
        f.Show(forms::vbModeless);
        FAIL() << "the program did not end";
    } catch (const ProgramEnded& e) {
        EXPECT_NE(e.exitCode, 0);
    }
    // The rest of the load never ran.
    EXPECT_EQ(f.lblLadeni.Caption.get(), designCaption);
    EXPECT_FALSE(f.imgBecko(5).Picture.get() == resources::LoadResPicture(122));
}

}  // namespace

// Started from the program folder without registering the component, reading
// says what is missing and how to register it, in place of the bare "429";
// the next reading says it again, until the component is registered.
TEST_F(StartupTest, AnUnregisteredComponentIsNamedWithTheCommandThatRegistersIt) {
    Form1& f = Start();
    Env().Set("BELMORA_REGISTRY", (Root() / "empty-registry.ini").string());
    OpenNewSong("Polka.xls");
    ExcelAplikace->Range("B1").Value(vb::Variant("c1,"));
    ExcelAplikace->Range("I1").Value(vb::Variant("Tlak"));
    ExcelAplikace->Range("B1").Select();
    TakeBoxes();

    const std::string program = form1_test::ProgramDir();
    const Box expected{"Součást calvira (libcalvira.so), která dává knoflíkům a notám názvy tónů, není pro tohoto "
                       "uživatele zaregistrována. Bez ní nelze písničky číst ani zapisovat.\r\n\r\n"
                       "Zaregistrujte ji příkazem\r\n" +
                           program + "/belmora-regsvr " + program + "/libcalvira.so\r\na program spusťte znovu.",
                       forms::vbCritical, "Součást calvira není zaregistrována"};
    for (int reading = 0; reading < 2; ++reading) {
        f.cmdReadTlak_Click();
        EXPECT_EQ(TakeBoxes(), std::vector<Box>{expected}) << reading;
    }

    // Any other unexpected error keeps its numbered box.
    resources::NeocekavanaChyba(429);
    EXPECT_EQ(TakeBoxes().at(0).title, "Neočekávaná chyba !");
}
