// Songs on disk through the object model: one song open for writing in one
// place at a time (two engines here, or another program), LibreOffice's own
// mark, read-only opening, names that are no files, new files and the
// umask, a full disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/excel_env.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/support/private_mount.h"

extern char** environ;

namespace {

using namespace xl;
namespace fs = std::filesystem;

constexpr const char* kSong = "C:\\Dokumenty\\Dovozivuz\\Belmora\\Polka.xls";

std::string InAnotherWindow(const std::string& shown) {
    return "Soubor " + shown +
           " je již otevřen k zápisu v jiném okně programu. Dokud je otevřen tam, nelze ho zde otevřít k zápisu ani "
           "přepsat: změny by se navzájem přepsaly. Zavřete ho nejprve tam.";
}

// The description of the error `f` raises; "" when it raises none.
template <class F>
std::string FailureOf(F&& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 1004) << e.Description();
        return e.Description();
    }
    return {};
}

mode_t Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
}

// The other program: the helper built beside this test, holding a song open
// as another run of the program does.
class Holder {
public:
    explicit Holder(const std::string& song) {
        const std::string exe = fs::read_symlink("/proc/self/exe").parent_path() / "excel_song_holder";
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::vector<char*> argv = {const_cast<char*>(exe.c_str()), const_cast<char*>(song.c_str()), nullptr};
        if (::posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = ::fdopen(out[0], "r");
        said_ = Line();
    }
    ~Holder() {
        if (toChild_ >= 0) ::close(toChild_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
        if (fromChild_) std::fclose(fromChild_);
    }
    // What it said after the open: "open", or "refused: " and why.
    const std::string& Said() const { return said_; }
    std::string Save() {
        if (::write(toChild_, "save\n", 5) != 5) return {};
        return Line();
    }
    // Ends it as a kill does: no chance to let go of anything itself.
    void Kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::string Line() {
        char buf[2048];
        if (!fromChild_ || !std::fgets(buf, sizeof buf, fromChild_)) return {};
        std::string s(buf);
        if (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    }
    pid_t pid_ = -1;
    int toChild_ = -1;
    FILE* fromChild_ = nullptr;
    std::string said_;
};

class SongFilesTest : public ::testing::Test {
protected:
    excel_test::TempEnv env;
    forms::ScriptedMessageBoxes boxes;

    fs::path Folder() const { return env.C() / "Dokumenty" / "Dovozivuz" / "Belmora"; }
    fs::path SongFile() const { return Folder() / "Polka.xls"; }
    // A saved song, and the engine that made it, which keeps it open.
    std::shared_ptr<Application> EngineWithSong() {
        fs::create_directories(Folder());
        auto app = CreateExcelApplication();
        app->Workbooks().Add();
        app->Range("B1").Value("c1,");
        app->ActiveWorkbook().SaveAs({.Filename = kSong});
        return app;
    }
};

TEST_F(SongFilesTest, ASongOpenForWritingInOneEngineIsRefusedByAnotherUntilClosed) {
    auto first = EngineWithSong();
    auto second = CreateExcelApplication();

    EXPECT_EQ(FailureOf([&] { second->Workbooks().Open(kSong); }), InAnotherWindow(kSong));
    EXPECT_EQ(second->Workbooks().Count(), 0);
    // The first one's saves put a new file in the old one's place: still marked.
    first->Range("B2").Value("d1,");
    first->ActiveWorkbook().Save();
    EXPECT_EQ(FailureOf([&] { second->Workbooks().Open(kSong); }), InAnotherWindow(kSong));
    // Nor is another workbook saved over it.
    const std::string saved = testsupport::ReadFile(SongFile());
    second->Workbooks().Add();
    EXPECT_EQ(FailureOf([&] { second->ActiveWorkbook().SaveAs({.Filename = kSong}); }), InAnotherWindow(kSong));
    EXPECT_EQ(testsupport::ReadFile(SongFile()), saved);
    EXPECT_EQ(xl::OpenElsewhere(kSong), InAnotherWindow(kSong));

    first->ActiveWorkbook().Close(false);
    EXPECT_EQ(xl::OpenElsewhere(kSong), "");
    EXPECT_EQ(FailureOf([&] { second->Workbooks().Open(kSong); }), "");
    EXPECT_EQ(vb::CStr(second->Range("B2").Value()), "d1,");
    EXPECT_EQ(FailureOf([&] { first->Workbooks().Open(kSong); }), InAnotherWindow(kSong));
}

// Opened read-only, a workbook marks nothing and is never refused: the
// lookup workbook is open so in every window of the program.
TEST_F(SongFilesTest, ReadOnlyOpeningIsOpenToAnyNumberOfEngines) {
    auto writer = EngineWithSong();
    std::vector<std::shared_ptr<Application>> readers;
    for (int i = 0; i < 3; ++i) {
        readers.push_back(CreateExcelApplication());
        EXPECT_EQ(FailureOf([&] { readers.back()->Workbooks().Open(kSong, {}, true); }), "") << i;
        EXPECT_EQ(vb::CStr(readers.back()->Range("B1").Value()), "c1,");
    }
    writer.reset();
    auto another = CreateExcelApplication();
    EXPECT_EQ(FailureOf([&] { another->Workbooks().Open(kSong); }), "");
}

// Another run of the program holds the song: refused here, also after its
// save, until it is killed, which leaves nothing marked.
TEST_F(SongFilesTest, ASongHeldByAnotherProgramIsFreeOnceThatProgramIsKilled) {
    EngineWithSong().reset();
    Holder other(SongFile().string());
    ASSERT_EQ(other.Said(), "open");
    auto here = CreateExcelApplication();
    EXPECT_EQ(FailureOf([&] { here->Workbooks().Open(kSong); }), InAnotherWindow(kSong));
    EXPECT_EQ(other.Save(), "saved");
    EXPECT_EQ(FailureOf([&] { here->Workbooks().Open(kSong); }), InAnotherWindow(kSong));

    other.Kill();

    EXPECT_EQ(FailureOf([&] { here->Workbooks().Open(kSong); }), "");
    // Held here now: the other program is refused in its turn.
    Holder late(SongFile().string());
    EXPECT_EQ(late.Said(), "refused: " + InAnotherWindow(kSong));
}

// LibreOffice's lock file beside the song: the song is not opened for
// writing, the user is named, and the lock file stays as LibreOffice wrote it.
TEST_F(SongFilesTest, ASongOpenInLibreOfficeIsRefusedAndItsLockFileLeftAlone) {
    EngineWithSong().reset();
    const fs::path lock = Folder() / ".~lock.Polka.xls#";
    const std::string mark = "Jana Nováková,jana,notebook,09.12.2025 10:00,file:///home/jana/.config/libreoffice/4;";
    testsupport::WriteFile(lock, mark);
    auto app = CreateExcelApplication();

    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open(kSong); }),
              std::string("Soubor ") + kSong +
                  " je otevřen v LibreOffice (uživatel Jana Nováková). Dokud je otevřen tam, nelze ho zde otevřít k "
                  "zápisu ani přepsat: změny by se navzájem přepsaly. Zavřete ho v LibreOffice; neběží-li "
                  "LibreOffice, zůstal po něm ve složce souboru zámek .~lock.Polka.xls#, který lze smazat.");
    EXPECT_EQ(testsupport::ReadFile(lock), mark);
    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open(kSong, {}, true); }), "");
    app->ActiveWorkbook().Close(false);

    fs::remove(lock);
    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open(kSong); }), "");
}

// A folder or a pipe with a song's name is there, but is no file; a pipe is
// never opened (it would keep the program waiting for a writer).
TEST_F(SongFilesTest, AFolderOrAPipeNamedLikeASongIsNoFile) {
    fs::create_directories(Folder() / "slozka.xls");
    ASSERT_EQ(::mkfifo((Folder() / "roura.xls").c_str(), 0644), 0);
    auto app = CreateExcelApplication();
    const std::string folder = "C:\\Dokumenty\\Dovozivuz\\Belmora\\slozka.xls";
    const std::string pipe = "C:\\Dokumenty\\Dovozivuz\\Belmora\\roura.xls";

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open(folder); }),
              "Soubor " + folder + " nelze otevřít: je to složka, ne soubor.");
    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open(pipe); }),
              "Soubor " + pipe + " nelze otevřít: není to soubor, ale roura, zařízení nebo socket.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(FailureOf([&] { app->Workbooks().Open("C:\\Dokumenty\\Dovozivuz\\Belmora\\chybi.xls"); }),
              "Soubor C:\\Dokumenty\\Dovozivuz\\Belmora\\chybi.xls nebyl nalezen. Zkontrolujte, zda nebyl "
              "přejmenován, přesunut nebo odstraněn, a zda je název zapsán správně.");
}

// A new song gets the permissions a new file gets under the user's umask; a
// song saved again keeps its own.
TEST_F(SongFilesTest, ANewSongFollowsTheUmaskAndASavedOneKeepsItsMode) {
    fs::create_directories(Folder());
    auto app = CreateExcelApplication();
    const mode_t before = ::umask(077);
    struct Case {
        mode_t umask;
        mode_t mode;
    };
    for (const Case c : {Case{077, 0600}, Case{027, 0640}, Case{022, 0644}, Case{002, 0664}}) {
        SCOPED_TRACE(c.umask);
        ::umask(c.umask);
        const std::string name = "Nova" + std::to_string(c.umask) + ".xls";
        app->Workbooks().Add();
        app->ActiveWorkbook().SaveAs({.Filename = std::string("C:\\Dokumenty\\Dovozivuz\\Belmora\\") + name});
        EXPECT_EQ(Mode(Folder() / name), c.mode);
        ::chmod((Folder() / name).c_str(), 0604);
        app->Range("A1").Value("změna");
        app->ActiveWorkbook().Save();
        EXPECT_EQ(Mode(Folder() / name), 0604u);
        app->ActiveWorkbook().Close(false);
    }
    ::umask(before);
}

// A disk too small for the save (a 3 MB file system and a 2 MB song): the
// save says that the disk is full and names the file, and the song on disk
// stays as it was.
TEST_F(SongFilesTest, ASaveOntoAFullDiskSaysSoAndKeepsTheFile) {
    const fs::path disk = env.C() / "Maly";
    fs::create_directories(disk);
    const std::string song = "C:\\Maly\\Velka.xls";
    const std::string expected =
        "Soubor „C:\\Maly\\Velka.xls“ nelze uložit: disk je plný (nebo je vyčerpána kvóta místa na disku).";
    testsupport::InPrivateMount(disk, "size=3m", [&] {
        auto app = CreateExcelApplication();
        app->Workbooks().Add();
        // About 2 MB of text that no two cells share.
        std::uint32_t seed = 1;
        for (int r = 1; r <= 70; ++r) {
            std::string text(30000, 'a');
            for (char& c : text) c = static_cast<char>('a' + (seed = seed * 1664525u + 1013904223u) % 26);
            app->Range("A" + std::to_string(r)).Value(text);
        }
        try {
            app->ActiveWorkbook().SaveAs({.Filename = song});
        } catch (const vb::RuntimeError& e) {
            FAIL() << "first save failed: " << e.Description();
        }
        const std::string onDisk = testsupport::ReadFile(disk / "Velka.xls");
        app->Range("B1").Value("změna");
        try {
            app->ActiveWorkbook().Save();
            ADD_FAILURE() << "the second save did not fail";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 1004);
            EXPECT_EQ(e.Description(), expected);
        }
        EXPECT_EQ(testsupport::ReadFile(disk / "Velka.xls"), onDisk) << "the song on disk changed";
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(disk)) ++files;
        EXPECT_EQ(files, 1u);
    });
}

}  // namespace
