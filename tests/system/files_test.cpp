#include "platform/system/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/paths/paths.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/temp_env.h"
#include "tests/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ScopedEnv;
using testsupport::TempDir;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", home.str());
        env.Set("BELMORA_DRIVE_C", drive.str());
        env.Set("BELMORA_DRIVE_Q", std::nullopt);
        fs::create_directories(drive.path() / "Dokumenty" / "Dovozivuz" / "Belmora");
        testsupport::WriteFile(drive.path() / "Dokumenty" / "Dovozivuz" / "Belmora" / "Moje polka.mp3", "x");
    }
    // The error number MkDir raises for `path`, 0 when it succeeds.
    static int MkDirError(const std::string& path) {
        try {
            sys::MkDir(path);
            return 0;
        } catch (const vb::RuntimeError& e) {
            return e.Number();
        }
    }
    TempDir home, drive;
    ScopedEnv env;
};

TEST_F(FilesTest, FileAndFolderChecksOnDrivePaths) {
    struct Case {
        const char* path;
        bool file, folder;
    } cases[] = {
        {"C:\\Dokumenty\\Dovozivuz\\Belmora\\Moje polka.mp3", true, false},
        {"c:\\Dokumenty\\Dovozivuz\\Belmora\\Moje polka.mp3", true, false},
        {"C:\\Dokumenty\\Dovozivuz\\Belmora\\Moje polka.mid", false, false},
        {"C:\\Dokumenty\\Dovozivuz\\Belmora", false, true},
        {"C:\\Dokumenty\\Dovozivuz\\Belmora\\", false, true},
        {"C:\\Dokumenty\\Dovozivuz\\Belmora\\Moje polka.mp3\\", false, false},
        {"C:\\", false, true},
        {"C:\\Dokumenty\\Chybi", false, false},
        {"Q:\\", false, false},
        {"Q:\\Dokumenty", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sys::FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(sys::FolderExists(c.path), c.folder) << c.path;
    }
}

TEST_F(FilesTest, AnotherDriveExistsOnlyWhenNamed) {
    TempDir q;
    fs::create_directories(q.path() / "Data");
    EXPECT_FALSE(sys::FolderExists("Q:\\Data"));
    env.Set("BELMORA_DRIVE_Q", q.str());
    EXPECT_TRUE(sys::FolderExists("Q:\\Data"));
    EXPECT_TRUE(sys::FolderExists("q:\\"));
    EXPECT_FALSE(sys::FolderExists("C:\\Data"));
}

TEST_F(FilesTest, MkDirMakesOneLevelAndRaisesLikeVb) {
    // The song folder made level by level, as on a first start.
    fs::remove_all(drive.path() / "Dokumenty");
    EXPECT_EQ(MkDirError("C:\\Dokumenty\\Dovozivuz\\Belmora"), sys::err::PathNotFound);
    EXPECT_FALSE(fs::exists(drive.path() / "Dokumenty"));
    EXPECT_EQ(MkDirError("C:\\Dokumenty"), 0);
    EXPECT_EQ(MkDirError("C:\\Dokumenty\\Dovozivuz"), 0);
    EXPECT_EQ(MkDirError("C:\\Dokumenty\\Dovozivuz\\Belmora"), 0);
    EXPECT_TRUE(sys::FolderExists("C:\\Dokumenty\\Dovozivuz\\Belmora"));
    EXPECT_TRUE(fs::is_directory(drive.path() / "Dokumenty" / "Dovozivuz" / "Belmora"));

    testsupport::WriteFile(drive.path() / "soubor", "x");
    EXPECT_EQ(MkDirError("C:\\Dokumenty"), sys::err::PathFileAccess);  // exists already
    EXPECT_EQ(MkDirError("C:\\soubor"), sys::err::PathFileAccess);     // a file of that name
    EXPECT_EQ(MkDirError("C:\\soubor\\dalsi"), sys::err::PathNotFound);
    EXPECT_EQ(MkDirError("Q:\\Dokumenty"), sys::err::PathNotFound);
    EXPECT_EQ(MkDirError(""), sys::err::PathNotFound);
    EXPECT_EQ(MkDirError("C:\\S mezerou\\"), 0);
    EXPECT_TRUE(fs::is_directory(drive.path() / "S mezerou"));
}

TEST_F(FilesTest, MkDirInAFolderWithoutWriteAccessRaises75) {
    testsupport::AsUnprivilegedUser({drive.path()}, [&] {
        fs::create_directory(drive.path() / "zamceno");
        fs::permissions(drive.path() / "zamceno", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(MkDirError("C:\\zamceno\\nova"), sys::err::PathFileAccess);
        EXPECT_FALSE(fs::exists(drive.path() / "zamceno" / "nova"));
        fs::permissions(drive.path() / "zamceno", fs::perms::owner_all);
    });
}

TEST_F(FilesTest, AppPathIsTheExecutablesFolderUnlessOverridden) {
    env.Set("BELMORA_PROGRAM_DIR", std::nullopt);
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(sys::AppPath(), exe.parent_path().string());

    TempDir program;
    testsupport::WriteFile(program.path() / "Korvel.htm", "<html></html>");
    env.Set("BELMORA_PROGRAM_DIR", program.str());
    EXPECT_EQ(sys::AppPath(), program.str());
    // The program composes App.Path & "\Korvel.htm".
    EXPECT_EQ(sys::ToNativePath(sys::AppPath() + "\\Korvel.htm"), (program.path() / "Korvel.htm").string());
    EXPECT_TRUE(sys::FileExists(sys::AppPath() + "\\Korvel.htm"));
}

}  // namespace
