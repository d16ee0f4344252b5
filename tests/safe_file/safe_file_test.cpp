// Replacing a file safely: names at the file system's limit, write-protected
// files and file systems, symbolic links, leftovers of a crash, failures.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/safe_file/safe_file.h"
#include "tests/support/private_mount.h"
#include "tests/support/temp_env.h"

namespace fs = std::filesystem;
using sys::SaveFailure;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

mode_t Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// A process id that no process has: a child that has ended and been reaped.
pid_t GonePid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(SafeFile, WritesANewFileAndReplacesAnOldOneLeavingNothingElse) {
    TempDir dir;
    const std::string path = dir.file("píseň.xls");
    ASSERT_EQ(sys::SaveFileSafely(path, "první"), SaveFailure::None);
    EXPECT_EQ(ReadFile(path), "první");
    EXPECT_EQ(Mode(path), 0644u);
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(sys::SaveFileSafely(path, "druhá"), SaveFailure::None);
    EXPECT_EQ(ReadFile(path), "druhá");
    EXPECT_EQ(Mode(path), 0600u);  // a replaced file keeps its permissions
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"píseň.xls"});
}

TEST(SafeFile, ANameAtTheFileSystemLimitCanBeSaved) {
    TempDir dir;
    const long nameMax = ::pathconf(dir.str().c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 12);
    // Of two-byte letters, as a Czech song title may be, up to the last byte allowed.
    std::string name;
    while (static_cast<long>(name.size() + 2 + 4) <= nameMax) name += "ž";
    name += ".xls";
    for (const std::string& n : {name, std::string(static_cast<std::size_t>(nameMax), 'a')}) {
        ASSERT_EQ(sys::SaveFileSafely(dir.file(n), "obsah"), SaveFailure::None) << n.size();
        EXPECT_EQ(ReadFile(dir.file(n)), "obsah");
        ASSERT_EQ(sys::SaveFileSafely(dir.file(n), "nový"), SaveFailure::None) << n.size();
        EXPECT_EQ(ReadFile(dir.file(n)), "nový");
    }
    EXPECT_EQ(Names(dir.path()).size(), 2u);
}

// The tests run as root in CI: the superuser may write a 0444 file, yet it is
// write-protected for the user and stays as it is.
TEST(SafeFile, AFileWithoutWritePermissionIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.file("chráněná.xls");
    WriteFile(path, "původní");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(sys::SaveFileSafely(path, "nový"), SaveFailure::WriteProtected);
    EXPECT_EQ(ReadFile(path), "původní");
    EXPECT_EQ(Mode(path), 0444u);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"chráněná.xls"});
}

TEST(SafeFile, ALinkedFileIsReplacedWhereItLiesAndTheLinkStays) {
    TempDir dir;
    fs::create_directories(dir.path() / "jinde");
    WriteFile(dir.path() / "jinde" / "skutečná.xls", "stará");
    // A relative link, and a link to that link.
    fs::create_symlink("jinde/skutečná.xls", dir.path() / "odkaz.xls");
    fs::create_symlink(dir.path() / "odkaz.xls", dir.path() / "odkaz2.xls");
    ASSERT_EQ(sys::SaveFileSafely(dir.file("odkaz2.xls"), "nová"), SaveFailure::None);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "odkaz.xls"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "odkaz2.xls"));
    EXPECT_EQ(ReadFile(dir.path() / "jinde" / "skutečná.xls"), "nová");
    EXPECT_EQ(Names(dir.path() / "jinde"), std::set<std::string>{"skutečná.xls"});
    // A link to a file not there yet makes it; a loop of links is refused.
    fs::create_symlink("jinde/nová.xls", dir.path() / "nová.xls");
    ASSERT_EQ(sys::SaveFileSafely(dir.file("nová.xls"), "x"), SaveFailure::None);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "nová.xls"));
    EXPECT_EQ(ReadFile(dir.path() / "jinde" / "nová.xls"), "x");
    fs::create_symlink("smyčka2.xls", dir.path() / "smyčka1.xls");
    fs::create_symlink("smyčka1.xls", dir.path() / "smyčka2.xls");
    EXPECT_EQ(sys::SaveFileSafely(dir.file("smyčka1.xls"), "x"), SaveFailure::LinkLoop);
}

TEST(SafeFile, LeftoversOfOurEndedProcessesAreRemovedAndNothingElse) {
    TempDir dir;
    const std::string gone = std::to_string(GonePid());
    const std::string alive = std::to_string(::getppid());
    const std::string mine = std::to_string(::getpid());
    const std::set<std::string> removed = {".belmora-" + gone + "-aB3xYz.tmp", ".belmora-" + mine + "-Q1w2E3.tmp"};
    const std::set<std::string> kept = {
        ".belmora-" + alive + "-aB3xYz.tmp",  // a save of another running program
        ".belmora-poznámky.tmp", ".belmora-" + gone + "-abc.tmp", ".belmora-" + gone + "-abcdef.txt",
        "belmora-" + gone + "-abcdef.tmp", ".Polka.xls.AbCdEf", "Polka.xls"};
    for (const auto& n : removed) WriteFile(dir.path() / n, "zbytek");
    for (const auto& n : kept) WriteFile(dir.path() / n, "cizí");
    fs::create_directory(dir.path() / (".belmora-" + gone + "-Folder.tmp"));  // not a file of ours

    ASSERT_EQ(sys::SaveFileSafely(dir.file("Polka.xls"), "nová"), SaveFailure::None);
    std::set<std::string> expected = kept;
    expected.insert(".belmora-" + gone + "-Folder.tmp");
    EXPECT_EQ(Names(dir.path()), expected);
    EXPECT_EQ(ReadFile(dir.path() / "Polka.xls"), "nová");
}

TEST(SafeFile, AFailureLeavesTheFileAsItWasAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("a.xls");
    WriteFile(path, "původní");
    auto failsHalfway = [](int fd) {
        if (::write(fd, "půl", 3) != 3) return false;
        return false;  // the rest could not be written
    };
    EXPECT_EQ(sys::SaveFileSafely(path, failsHalfway), SaveFailure::WriteFailed);
    EXPECT_EQ(ReadFile(path), "původní");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.xls"});

    EXPECT_EQ(sys::SaveFileSafely(dir.file("chybí/a.xls"), "x"), SaveFailure::NoFolder);
    fs::create_directory(dir.path() / "složka.xls");
    EXPECT_EQ(sys::SaveFileSafely(dir.file("složka.xls"), "x"), SaveFailure::IsFolder);
    // A link to a device is no file to replace.
    fs::create_symlink("/dev/null", dir.path() / "nic.xls");
    EXPECT_EQ(sys::SaveFileSafely(dir.file("nic.xls"), "x"), SaveFailure::NotAFile);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A file system mounted read-only.
TEST(SafeFile, AFileOnAReadOnlyFileSystemIsWriteProtected) {
    TempDir dir;
    const fs::path mountPoint = dir.path() / "mnt";
    fs::create_directory(mountPoint);
    testsupport::InPrivateMount(mountPoint, "", [&] {
        const std::string path = (mountPoint / "píseň.xls").string();
        WriteFile(path, "původní");
        if (::mount(nullptr, mountPoint.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            ::_exit(testsupport::kNoPrivateMount);
        EXPECT_EQ(sys::SaveFileSafely(path, "nový"), SaveFailure::WriteProtected);
        EXPECT_EQ(ReadFile(path), "původní");
    });
}

// A new file is made as open() makes one under the process's umask; a
// replaced file keeps its mode, and a mode asked for is never widened.
TEST(SafeFile, ANewFileFollowsTheUmask) {
    TempDir dir;
    const mode_t before = ::umask(022);
    struct Case {
        mode_t umask;
        mode_t asked;
        mode_t made;
    };
    const Case cases[] = {{077, 0666, 0600}, {027, 0666, 0640}, {002, 0666, 0664}, {022, 0600, 0600}, {0, 0666, 0666}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.umask);
        ::umask(c.umask);
        EXPECT_EQ(sys::CurrentUmask(), c.umask);
        const std::string path = dir.file("nová" + std::to_string(n++) + ".xls");
        ASSERT_EQ(sys::SaveFileSafely(path, "obsah", c.asked), SaveFailure::None);
        EXPECT_EQ(Mode(path), c.made);
        ::chmod(path.c_str(), 0604);
        ASSERT_EQ(sys::SaveFileSafely(path, "jiný obsah", c.asked), SaveFailure::None);
        EXPECT_EQ(Mode(path), 0604u);
    }
    ::umask(before);
}

// A full disk (a 1 MB file system) is told apart from other failures of the
// write, and the file stays.
TEST(SafeFile, AFullDiskIsToldApartAndTheFileStays) {
    TempDir dir;
    const fs::path mountPoint = dir.path() / "mnt";
    fs::create_directory(mountPoint);
    testsupport::InPrivateMount(mountPoint, "size=1m", [&] {
        const std::string path = (mountPoint / "píseň.xls").string();
        const std::string first(700 * 1024, 'a'), second(700 * 1024, 'b');
        ASSERT_EQ(sys::SaveFileSafely(path, first), SaveFailure::None);
        EXPECT_EQ(sys::SaveFileSafely(path, second), SaveFailure::DiskFull);
        EXPECT_EQ(ReadFile(path), first);
        EXPECT_EQ(Names(mountPoint), std::set<std::string>{"píseň.xls"});
    });
}

}  // namespace
