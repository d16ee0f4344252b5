// Running a piece of a test as an ordinary user. Write protection (a file of
// mode 0444, a folder of mode 0555) does not bind root, and the test suite
// runs as root in CI; so a test of what the program does when the system
// refuses a write hands its folders to an unprivileged user and runs that
// part in a child process with that user's rights. Run by an ordinary user,
// the body simply runs in the test's own process.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_env.h"

namespace testsupport {

// The user and group "nobody" of Debian.
inline constexpr uid_t kUnprivilegedUid = 65534;
inline constexpr gid_t kUnprivilegedGid = 65534;

// Gives `root` and everything below it to the unprivileged user, so that the
// body can make and change files there as their owner.
inline void GiveToUnprivileged(const std::filesystem::path& root) {
    if (::geteuid() != 0) return;
    auto give = [](const std::filesystem::path& p) {
        if (::lchown(p.c_str(), kUnprivilegedUid, kUnprivilegedGid) != 0)
            ADD_FAILURE() << "cannot hand " << p << " over to the unprivileged user";
    };
    give(root);
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        give(it->path());
}

// Runs `body` with the rights of an ordinary user: in this process when the
// test already runs as one, else in a child process that has dropped root's
// rights for good. `folders` are handed to that user first. Failures of the
// body's assertions in the child are printed by the child and make the test
// fail here. The child needs to read the build's program folder (the
// component is loaded from there); where it cannot, the test is skipped with
// the reason.
inline void AsUnprivilegedUser(const std::vector<std::filesystem::path>& folders, const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    for (const auto& f : folders) GiveToUnprivileged(f);
    constexpr int kCannotDrop = 77;
    constexpr int kCannotReadBuild = 78;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kUnprivilegedGid, kUnprivilegedGid, kUnprivilegedGid) != 0 ||
            ::setresuid(kUnprivilegedUid, kUnprivilegedUid, kUnprivilegedUid) != 0 || ::geteuid() == 0)
            ::_exit(kCannotDrop);
        const std::string program = ProgramDir();
        if (!program.empty() && ::access(program.c_str(), R_OK | X_OK) != 0) ::_exit(kCannotReadBuild);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged part ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kCannotDrop) GTEST_SKIP() << "root's rights cannot be dropped here";
    if (WEXITSTATUS(status) == kCannotReadBuild)
        GTEST_SKIP() << "an unprivileged user cannot read the program folder " << ProgramDir();
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the part run as an ordinary user failed (its messages are above)";
}

}  // namespace testsupport
