// Running a piece of a test on a file system of its own: a small disk that
// fills up, or one that is mounted read-only. The file system is a tmpfs
// mounted in a mount namespace of a child process, so nothing outside the
// child sees it and nothing is left mounted when the child ends. Where the
// process may not make a mount namespace, a user namespace gives it the
// right; where the system allows neither, the test is skipped.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_env.h"

namespace testsupport {

// The child's exit status when the system allows no private mount; a body
// that cannot set up the rest of its file system (a remount) ends so too.
inline constexpr int kNoPrivateMount = 77;

// Whether the process runs one thread only. A test that has Qt running may
// still fork then: no other thread can hold a lock the child would wait for.
inline bool SingleThreaded() {
    std::size_t threads = 0;
    for ([[maybe_unused]] const auto& t : std::filesystem::directory_iterator("/proc/self/task")) ++threads;
    return threads == 1;
}

// Fills the file system of `file` (a file of its own, made anew) until no
// more than `room` bytes are free (rounded up to its blocks).
inline void FillDisk(const std::filesystem::path& file, std::size_t room = 0) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return;
    std::setvbuf(out, nullptr, _IONBF, 0);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), out) == block.size()) {
    }
    // The last partial block, byte by byte.
    while (std::fputc('x', out) != EOF) {
    }
    std::fclose(out);
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec) std::filesystem::resize_file(file, size > room ? size - room : 0, ec);
}

// Runs `body` in a child process with a tmpfs mounted at `mountPoint` (an
// existing folder) with the mount `options` ("size=1m", or "" for the
// default). Failures of the body's assertions are printed by the child and
// make the test fail here.
inline void InPrivateMount(const std::filesystem::path& mountPoint, const std::string& options,
                           const std::function<void()>& body) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(kNoPrivateMount);
            WriteFile("/proc/self/setgroups", "deny");
            WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("belmora-test", mountPoint.c_str(), "tmpfs", 0, options.empty() ? nullptr : options.c_str()) != 0)
            ::_exit(kNoPrivateMount);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the part on its own file system ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kNoPrivateMount) GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the part on its own file system failed (its messages are above)";
}

}  // namespace testsupport
