// The start of the connection to the spreadsheet and the two window
// switches, on the real engine with the real read_only.xls (no main window).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/msgbox/msgbox.h"
#include "resources/app_info/app_info.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/support/store_fixture.h"

namespace {

using store_test::ProgramEnded;
using store_test::StoreFixture;
using Box = forms::ScriptedMessageBoxes::Box;

class Module1Test : public StoreFixture {};

// The box of a lookup workbook the start cannot use.
Box LookupWorkbookBox(const std::string& cause, int number) {
    return {cause +
                "\r\nSoubor read_only.xls s tabulkami programu patří do složky programu a bez něj program nemůže "
                "pracovat. Program bude ukončen; nainstalujte ho prosím znovu.\r\nČíslo chyby: " +
                std::to_string(number) + ".",
            forms::vbCritical, "Tabulky programu nelze načíst."};
}

// The user's default folder as the spreadsheet keeps it between runs.
std::string StoredDefaultFolder() { return xl::Application().DefaultFilePath(); }

TEST_F(Module1Test, MissingLookupWorkbookEndsTheProgramWithTheSpreadsheetsErrorNumber) {
    const auto emptyProgramDir = Root() / "program";
    std::filesystem::create_directories(emptyProgramDir);
    Env().Set("BELMORA_PROGRAM_DIR", emptyProgramDir.string());
    xl::Application().DefaultFilePath("C:\\Moje dokumenty");

    EXPECT_THROW(Start(), ProgramEnded);

    const std::string file = (emptyProgramDir / "read_only.xls").string();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{LookupWorkbookBox(
                               "Soubor " + file +
                                   " nebyl nalezen. Zkontrolujte, zda nebyl přejmenován, přesunut nebo odstraněn, a "
                                   "zda je název zapsán správně.",
                               1004)}));
    // No shutdown ran: the default folder stays the songs' folder.
    EXPECT_EQ(StoredDefaultFolder(), PracovniAdresar);
}

// A lookup workbook that is there but cannot serve: the box names the file
// and the cause under the error number, and the program ends.
TEST_F(Module1Test, UnusableLookupWorkbookIsNamedWithItsCause) {
    const auto programDir = Root() / "program";
    const auto file = programDir / "read_only.xls";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string cause;
        int number;
    };
    const std::string shown = "Soubor „" + file.string() + "“";
    const std::string good = testsupport::ReadFile(testsupport::ProgramDir() + "/read_only.xls");
    const std::vector<Case> cases = {
        {"empty", [&] { testsupport::WriteFile(file, ""); }, shown + " je prázdný.", 1004},
        {"not a workbook", [&] { testsupport::WriteFile(file, "tabulky"); },
         shown + " není platný sešit aplikace Excel 97.", 1004},
        {"damaged",
         [&] { testsupport::WriteFile(file, good.substr(0, good.size() / 2)); },
         "", 1004},
        {"a folder", [&] { std::filesystem::create_directories(file); },
         "Soubor " + file.string() + " nelze otevřít: je to složka, ne soubor.", 1004},
        {"no sheet Calvira12",
         [&] {
             xl::Application excel;
             excel.Workbooks().Add().SaveAs({.Filename = file.string()});
             excel.Quit();
         },
         "Soubor " + file.string() + " neobsahuje list „Calvira12“ s tabulkou knoflíků.", 9},
    };
    Env().Set("BELMORA_PROGRAM_DIR", programDir.string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(programDir);
        std::filesystem::create_directories(programDir);
        c.make();

        EXPECT_THROW(Start(), ProgramEnded);

        const auto boxes = TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        if (c.cause.empty()) {
            // Damaged somewhere inside: the reader's own words, with the file named.
            EXPECT_EQ(boxes[0].title, "Tabulky programu nelze načíst.");
            EXPECT_EQ(boxes[0].prompt.rfind(shown, 0), 0u) << boxes[0].prompt;
            EXPECT_NE(boxes[0].prompt.find("Číslo chyby: 1004."), std::string::npos);
        } else {
            EXPECT_EQ(boxes[0], LookupWorkbookBox(c.cause, c.number));
        }
        ExcelAplikace.reset();
    }
}

TEST_F(Module1Test, SpreadsheetThatCannotBeCreatedEndsTheProgramWithTheLicenceMessage) {
    xl::testing::SetCreationFails(true);

    EXPECT_THROW(Start(), ProgramEnded);

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags, forms::vbExclamation);
    EXPECT_EQ(boxes[0].title, "Nenalezena externí aplikace. Program bude ukončen.");
    EXPECT_EQ(boxes[0].prompt,
              "Tento program vyžaduje instalaci Microsoft Excelu na Vašem počítači !\r\n"
              "Jestliže nemáte nainstalován Microsoft Excel verzi 97 nebo vyšší,\r\n"
              "nelze tento program z licenčních důvodů používat !");
    EXPECT_FALSE(ExcelAplikace);
}

TEST_F(Module1Test, SongWindowSwitchIsSilentAndTellsWhetherTheSongIsOpen) {
    Start();
    const std::string song = OpenNewSong("Pisen.xls");
    ASSERT_EQ(song, "Pisen.xls");

    // The lookup workbook active, then the song activated again.
    ASSERT_TRUE(vb::LooseEquals(AktivujReadOnly(), true));
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "read_only.xls");
    EXPECT_TRUE(vb::LooseEquals(AktivujPisen(), true));
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), song);

    // No song: Empty, which compares equal to False, and no box.
    AktualniPisen = "";
    const vb::Variant r = AktivujPisen();
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_TRUE(vb::LooseEquals(r, false));
    // A song whose window the user closed answers the same way.
    AktualniPisen = song;
    ExcelAplikace->ActiveWorkbook().Close(false);
    EXPECT_TRUE(AktivujPisen().IsEmpty());
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(Module1Test, LookupWindowClosedByTheUserIsReportedAndGivesEmpty) {
    Start();
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->ActiveWorkbook().Close(false);

    EXPECT_TRUE(AktivujReadOnly().IsEmpty());

    EXPECT_EQ(
        TakeBoxes(),
        (std::vector<Box>{{"Soubor read_only.xls není otevřen. Nelze načítat data ! Ukončete program a restartujte PC.",
                           forms::vbCritical, "Chyba."}}));
}

}  // namespace
