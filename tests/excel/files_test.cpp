// Saving and opening song workbooks through the object model.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/excel_env.h"
#include "tests/support/write_protect.h"

using namespace xl;
using excel_test::ErrorOf;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
    excel_test::TempEnv env;
    forms::ScriptedMessageBoxes boxes;
    std::shared_ptr<Application> app = CreateExcelApplication();

    SaveAsArgs SongArgs(const std::string& path) {
        return {.Filename = path, .FileFormat = xlWorkbookNormal, .Password = "", .WriteResPassword = "",
                .ReadOnlyRecommended = false, .CreateBackup = false};
    }
    void MakeSongFolder() { fs::create_directories(env.C() / "Dokumenty" / "Dovozivuz" / "Belmora"); }
    static constexpr const char* kSong = "C:\\Dokumenty\\Dovozivuz\\Belmora\\Polka.xls";
};

TEST_F(FilesTest, SaveAsIntoAMissingFolderRaises1004AndWritesNothing) {
    app->Workbooks().Add();
    EXPECT_EQ(ErrorOf([&] { app->ActiveWorkbook().SaveAs(SongArgs(kSong)); }), 1004);
    EXPECT_FALSE(fs::exists(env.C() / "Dokumenty"));
    EXPECT_EQ(app->ActiveWorkbook().Name(), "Sešit1");
    // An unknown drive as well.
    EXPECT_EQ(ErrorOf([&] { app->ActiveWorkbook().SaveAs(SongArgs("Q:\\Polka.xls")); }), 1004);
}

TEST_F(FilesTest, SaveAsRefusesWhatItCannotWrite) {
    MakeSongFolder();
    app->Workbooks().Add();
    SaveAsArgs withPassword = SongArgs(kSong);
    withPassword.Password = "tajné";
    SaveAsArgs otherFormat = SongArgs(kSong);
    otherFormat.FileFormat = 51;
    for (const auto& args : {withPassword, otherFormat}) {
        EXPECT_EQ(ErrorOf([&] { app->ActiveWorkbook().SaveAs(args); }), 1004);
        EXPECT_FALSE(fs::exists(env.C() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Polka.xls"));
    }
}

TEST_F(FilesTest, SavedSongOpensWithTheSameValuesSheetAndCursor) {
    MakeSongFolder();
    app->Workbooks().Add();
    app->ActiveWorkbook().SaveAs(SongArgs(kSong));
    EXPECT_EQ(app->ActiveWorkbook().Name(), "Polka.xls");
    app->ActiveSheet().Name("Calvira12");
    app->Range("A1").Value("Ach");
    app->Range("B1").Value("cis1,");
    app->Range("I1").Value("Tlak");
    app->Range("HC32344").Value(vb::Date{45123});
    app->Range("HC32347").Value(std::int16_t{2});
    app->Range("HC32341:HC32350").Font().ColorIndex(2);
    app->Sheets("List2").Select();
    app->Range("B1").Value("d1,");
    app->Range("B12").Select();
    EXPECT_FALSE(app->ActiveWorkbook().Saved());
    app->ActiveWorkbook().Save();
    EXPECT_TRUE(app->ActiveWorkbook().Saved());
    app->ActiveWorkbook().Close();
    EXPECT_TRUE(boxes.boxes().empty());  // saved just before: no question

    Workbook song = app->Workbooks().Open(kSong);
    EXPECT_EQ(song.Name(), "Polka.xls");
    EXPECT_EQ(app->ActiveWorkbook(), song);
    EXPECT_EQ(app->ActiveSheet().Name(), "List2");
    EXPECT_EQ(app->ActiveCell().Address(), "$B$12");
    EXPECT_EQ(app->Range("B1").Value().AsString(), "d1,");
    app->Sheets("Calvira12").Select();
    EXPECT_EQ(app->Range("A1").Value().AsString(), "Ach");
    EXPECT_EQ(app->Range("I1").Value().AsString(), "Tlak");
    EXPECT_EQ(app->Range("HC32344").Value().AsDate().serial, 45123);
    EXPECT_EQ(app->Range("HC32347").Value().AsDouble(), 2);
    EXPECT_EQ(app->Range("HC32341:HC32350").Font().ColorIndex().AsDouble(), 2);
    EXPECT_EQ(app->Sheets().Count(), 3);
}

TEST_F(FilesTest, OpenFailuresRaise1004WithTheFileInTheDescription) {
    MakeSongFolder();
    std::ofstream(env.C() / "Dokumenty" / "damaged.xls") << "not a workbook";
    struct Case {
        std::string path;
    } cases[] = {{"C:\\Dokumenty\\missing.xls"}, {"Q:\\read_only.xls"}, {"C:\\Dokumenty\\damaged.xls"}};
    for (const auto& c : cases) {
        try {
            app->Workbooks().Open(c.path);
            ADD_FAILURE() << c.path << " opened";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 1004) << c.path;
            EXPECT_FALSE(e.Description().empty());
        }
    }
    EXPECT_EQ(app->Workbooks().Count(), 0);
}

TEST_F(FilesTest, OpeningTheSameFileAgainActivatesIt) {
    MakeSongFolder();
    app->Workbooks().Add();
    app->ActiveWorkbook().SaveAs(SongArgs(kSong));
    app->Workbooks().Add();
    Workbook again = app->Workbooks().Open(kSong);
    EXPECT_EQ(app->Workbooks().Count(), 2);
    EXPECT_EQ(again.Name(), "Polka.xls");
    EXPECT_EQ(app->ActiveWorkbook(), again);
    // Another file of the same name cannot be open beside it.
    fs::create_directories(env.C() / "jinde");
    fs::copy_file(env.C() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Polka.xls", env.C() / "jinde" / "Polka.xls");
    EXPECT_EQ(ErrorOf([&] { app->Workbooks().Open("C:\\jinde\\Polka.xls"); }), 1004);
}

TEST_F(FilesTest, SaveOfANewWorkbookGoesToTheDefaultFolder) {
    MakeSongFolder();
    app->DefaultFilePath("C:\\Dokumenty\\Dovozivuz\\Belmora");
    app->Workbooks().Add();
    app->ActiveWorkbook().Save();
    EXPECT_EQ(app->ActiveWorkbook().Name(), "Sešit1.xls");
    EXPECT_TRUE(fs::exists(env.C() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Sešit1.xls"));
}

// The tests run as root in CI, who may write any file: a 0444 song is still
// write-protected for the user of the program.
TEST_F(FilesTest, AWriteProtectedSongIsNotReplacedAndTheSaveRaises1004) {
    MakeSongFolder();
    app->Workbooks().Add();
    app->ActiveWorkbook().SaveAs(SongArgs(kSong));
    const fs::path file = env.C() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Polka.xls";
    const std::string before = testsupport::ReadFile(file);
    ::chmod(file.c_str(), 0444);
    app->Range("B1").Value("cis1,");
    try {
        app->ActiveWorkbook().Save();
        ADD_FAILURE() << "saved";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 1004);
        EXPECT_EQ(e.Description(), std::string("Soubor „") + kSong + "“ nelze uložit: je chráněný proti zápisu.");
    }
    EXPECT_EQ(testsupport::ReadFile(file), before);
    EXPECT_FALSE(app->ActiveWorkbook().Saved());
    EXPECT_EQ(fs::directory_iterator(file.parent_path())->path(), file);  // nothing beside it
}

TEST_F(FilesTest, ASongWithANameAsLongAsTheFileSystemAllowsIsSavedAndOpened) {
    MakeSongFolder();
    const fs::path folder = env.C() / "Dokumenty" / "Dovozivuz" / "Belmora";
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    std::string name;
    while (static_cast<long>(name.size() + 2 + 4) <= nameMax) name += "ř";
    name += ".xls";
    app->Workbooks().Add();
    app->Range("A1").Value("Dlouhá");
    app->ActiveWorkbook().SaveAs(SongArgs("C:\\Dokumenty\\Dovozivuz\\Belmora\\" + name));
    app->Range("A1").Value("Dlouhá píseň");
    app->ActiveWorkbook().Save();
    app->ActiveWorkbook().Close();
    app->Workbooks().Open("C:\\Dokumenty\\Dovozivuz\\Belmora\\" + name);
    EXPECT_EQ(app->ActiveWorkbook().Name(), name);
    EXPECT_EQ(app->Range("A1").Value().AsString(), "Dlouhá píseň");
}

TEST_F(FilesTest, ASongThatIsALinkIsSavedIntoTheFileItPointsTo) {
    MakeSongFolder();
    app->Workbooks().Add();
    app->ActiveWorkbook().SaveAs(SongArgs("C:\\Polka.xls"));
    app->ActiveWorkbook().Close();
    const fs::path link = env.C() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Polka.xls";
    fs::create_symlink(env.C() / "Polka.xls", link);
    app->Workbooks().Open(kSong);
    app->Range("B1").Value("fis1,");
    app->ActiveWorkbook().Save();
    app->ActiveWorkbook().Close();
    EXPECT_TRUE(fs::is_symlink(link));
    app->Workbooks().Open("C:\\Polka.xls");
    EXPECT_EQ(app->Range("B1").Value().AsString(), "fis1,");
}

// Every failure of a song file names the file as the program shows paths
// ("C:\..."), also where the file was given as a path of the system or the
// failure was found by the file reader or writer.
TEST_F(FilesTest, FailuresNameTheFileInTheProgramsForm) {
    MakeSongFolder();
    const fs::path folder = env.C() / "Dokumenty" / "Dovozivuz" / "Belmora";
    const std::string shown = "C:\\Dokumenty\\Dovozivuz\\Belmora\\";
    std::ofstream(folder / "Poskozena.xls") << "not a workbook";
    fs::create_directories(folder / "Slozka.xls");
    fs::create_symlink("Smycka.xls", folder / "Smycka.xls");
    app->Workbooks().Add();
    app->ActiveWorkbook().SaveAs(SongArgs(shown + "Chranena.xls"));
    app->ActiveWorkbook().Close();
    ::chmod((folder / "Chranena.xls").c_str(), 0444);
    app->Workbooks().Add();

    struct Case {
        const char* what;
        std::function<void()> action;
        std::string description;
    };
    const Case cases[] = {
        {"damaged, opened by its system path",
         [&] { app->Workbooks().Open((folder / "Poskozena.xls").string()); },
         "Soubor „" + shown + "Poskozena.xls“ není platný sešit aplikace Excel 97."},
        {"a folder, opened by its system path",
         [&] { app->Workbooks().Open((folder / "Slozka.xls").string()); },
         "Soubor " + shown + "Slozka.xls nelze otevřít: je to složka, ne soubor."},
        {"a link that leads to itself",
         [&] { app->Workbooks().Open(shown + "Smycka.xls"); },
         "Soubor " + shown +
             "Smycka.xls nelze otevřít: je to symbolický odkaz, který vede sám na sebe (příliš mnoho úrovní "
             "symbolických odkazů)."},
        {"saved over a write-protected file",
         [&] { app->ActiveWorkbook().SaveAs(SongArgs(shown + "Chranena.xls")); },
         "Soubor „" + shown + "Chranena.xls“ nelze uložit: je chráněný proti zápisu."},
        {"saved over a folder, by its system path",
         [&] { app->ActiveWorkbook().SaveAs(SongArgs((folder / "Slozka.xls").string())); },
         "Soubor „" + shown + "Slozka.xls“ nelze uložit: je to složka."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.action();
            ADD_FAILURE() << "no failure";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 1004);
            EXPECT_EQ(e.Description(), c.description);
        }
    }

    // A folder that refuses new files is named as well.
    testsupport::WriteProtected ochrana(folder);
    if (!ochrana.Active()) GTEST_SKIP() << "no write protection here";
    try {
        app->ActiveWorkbook().SaveAs(SongArgs(shown + "Nova.xls"));
        ADD_FAILURE() << "saved into a protected folder";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Description(), "Soubor „" + shown + "Nova.xls“ nelze uložit: do složky „C:\\Dokumenty\\Dovozivuz\\"
                                   "Belmora“ nelze zapisovat.");
    }
}

// What a save would meet is told before anything is written: each obstacle
// as the save itself would name it, and nothing made or changed.
TEST_F(FilesTest, CheckSaveAsNamesWhatAStandsInTheWayWithoutWriting) {
    MakeSongFolder();
    const fs::path folder = env.C() / "Dokumenty" / "Dovozivuz" / "Belmora";
    const std::string shown = "C:\\Dokumenty\\Dovozivuz\\Belmora\\";
    fs::create_directories(folder / "Slozka.xls");
    testsupport::WriteFile(folder / "Stara.xls", "starý");
    testsupport::WriteFile(folder / "Chranena.xls", "chráněný");
    testsupport::WriteProtected ochrana(folder / "Chranena.xls");
    if (!ochrana.Active()) GTEST_SKIP() << "no write protection here";

    struct Case {
        std::string file;
        std::string description;  // "" when nothing is in the way
    };
    const Case cases[] = {
        {shown + "Nova.xls", ""},
        {shown + "Stara.xls", ""},
        {shown + "Slozka.xls", "Soubor „" + shown + "Slozka.xls“ nelze uložit: je to složka."},
        {shown + "Chranena.xls", "Soubor „" + shown + "Chranena.xls“ nelze uložit: je chráněný proti zápisu."},
        {"C:\\Chybi\\Nova.xls", "Soubor C:\\Chybi\\Nova.xls nelze uložit: cesta C:\\Chybi neexistuje."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            xl::CheckSaveAs(c.file);
            EXPECT_EQ(c.description, "");
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 1004);
            EXPECT_EQ(e.Description(), c.description);
        }
    }
    ochrana.Lift();
    EXPECT_EQ(testsupport::ReadFile(folder / "Stara.xls"), "starý");
    EXPECT_EQ(testsupport::ReadFile(folder / "Chranena.xls"), "chráněný");
    EXPECT_FALSE(fs::exists(folder / "Nova.xls"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);

    // A folder that takes no new file, for a new file and for one to replace.
    testsupport::WriteProtected slozka(folder);
    if (!slozka.Active()) GTEST_SKIP() << "no write protection here";
    for (const char* name : {"Nova.xls", "Stara.xls"}) {
        SCOPED_TRACE(name);
        try {
            xl::CheckSaveAs(shown + name);
            ADD_FAILURE() << "nothing in the way";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Description(), "Soubor „" + shown + name +
                                           "“ nelze uložit: do složky „C:\\Dokumenty\\Dovozivuz\\Belmora“ nelze "
                                           "zapisovat.");
        }
    }
}

}  // namespace
