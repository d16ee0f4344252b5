// The mark that a file is open for writing: a kernel lock on the file that
// another holder sees, that follows a safe save onto the new file, and that
// never waits; LibreOffice's lock file read for its user.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/safe_file/file_lock.h"
#include "platform/safe_file/safe_file.h"
#include "tests/support/temp_env.h"

namespace {

using sys::FileLock;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(FileLock, OneHolderAtATimeAndFreeAgainOnRelease) {
    TempDir dir;
    const std::string path = dir.file("píseň.xls");
    WriteFile(path, "obsah");
    FileLock first, second;
    ASSERT_EQ(first.Take(path), FileLock::Outcome::Taken);
    EXPECT_TRUE(FileLock::HeldElsewhere(path));
    EXPECT_EQ(second.Take(path), FileLock::Outcome::HeldElsewhere);
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_FALSE(FileLock::HeldElsewhere(path));
    EXPECT_EQ(second.Take(path), FileLock::Outcome::Taken);
    // Moved, the lock stays held by its new owner.
    FileLock third = std::move(second);
    EXPECT_TRUE(third.Held());
    EXPECT_TRUE(FileLock::HeldElsewhere(path));
}

// The save puts a new file in the old one's place: the holder locks the new
// file before the rename, so the name is marked all the time.
TEST(FileLock, ASafeSaveMovesTheLockOntoTheNewFile) {
    TempDir dir;
    const std::string path = dir.file("píseň.xls");
    WriteFile(path, "stará");
    FileLock held;
    ASSERT_EQ(held.Take(path), FileLock::Outcome::Taken);
    FileLock next;
    ASSERT_EQ(sys::SaveFileSafely(path,
                                  [&](int fd) {
                                      EXPECT_TRUE(next.Adopt(fd));
                                      return sys::WriteAll(fd, "nová", 5);
                                  }),
              sys::SaveFailure::None);
    held = std::move(next);
    EXPECT_TRUE(FileLock::HeldElsewhere(path));
    held.Release();
    EXPECT_FALSE(FileLock::HeldElsewhere(path));
}

TEST(FileLock, WhatIsNoFileCannotBeLockedAndNothingWaits) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("roura.xls").c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    FileLock lock;
    EXPECT_EQ(lock.Take(dir.file("roura.xls")), FileLock::Outcome::NotPossible);
    EXPECT_EQ(lock.Take(dir.file("chybí.xls")), FileLock::Outcome::NotPossible);
    EXPECT_EQ(lock.Take(dir.str()), FileLock::Outcome::NotPossible);
    EXPECT_FALSE(FileLock::HeldElsewhere(dir.file("roura.xls")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(FileLock, LibreOfficesLockFileNamesItsUser) {
    TempDir dir;
    const std::string song = dir.file("Polka.xls");
    const std::string lock = dir.file(".~lock.Polka.xls#");
    EXPECT_EQ(sys::LibreOfficeLockOwner(song), std::nullopt);
    struct Case {
        const char* content;
        const char* user;
    };
    const Case cases[] = {
        {"Jana Nováková,jana,notebook,09.12.2025 10:00,file:///home/jana/.config/libreoffice/4;", "Jana Nováková"},
        {",jana,notebook,09.12.2025 10:00,file:///home/jana/.config/libreoffice/4;", "jana"},
        {"Nováková\\, Jana,jana,notebook,09.12.2025 10:00,file:///home/jana;", "Nováková, Jana"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        WriteFile(lock, c.content);
        EXPECT_EQ(sys::LibreOfficeLockOwner(song), std::optional<std::string>(c.user));
        EXPECT_EQ(testsupport::ReadFile(lock), c.content);
    }
}

}  // namespace
