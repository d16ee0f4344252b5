// A file or folder made write-protected for the test's own process, so that
// a refused write can be tried in-process (no fork, which a test with a
// running QApplication must not do). Permissions do not bind root, as whom
// the suite runs in CI: there the file or folder is made immutable (chattr
// +i), which binds root too; an ordinary user gets mode 0444 or 0555. All
// is put back when the object goes, so that the temporary folders can be
// removed.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace testsupport {

class WriteProtected {
public:
    explicit WriteProtected(std::filesystem::path path) : path_(std::move(path)) {
        struct stat st {};
        if (::stat(path_.c_str(), &st) != 0) return;
        mode_ = st.st_mode & 07777;
        if (::geteuid() == 0) {
            immutable_ = SetImmutable(true);
            active_ = immutable_;
        } else {
            active_ = ::chmod(path_.c_str(), S_ISDIR(st.st_mode) ? 0555 : 0444) == 0;
        }
    }
    ~WriteProtected() { Lift(); }
    WriteProtected(const WriteProtected&) = delete;
    WriteProtected& operator=(const WriteProtected&) = delete;

    // False where this file system cannot protect it (the test skips).
    bool Active() const { return active_; }
    // Writable again, as before.
    void Lift() {
        if (!active_) return;
        if (immutable_) SetImmutable(false);
        else ::chmod(path_.c_str(), mode_);
        active_ = false;
    }

private:
    bool SetImmutable(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    std::filesystem::path path_;
    mode_t mode_ = 0;
    bool immutable_ = false;
    bool active_ = false;
};

}  // namespace testsupport
