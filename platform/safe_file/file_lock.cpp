#include "platform/safe_file/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <utility>

namespace sys {

namespace {

// A replaced file is looked up again this many times before the lock gives up.
constexpr int kMaxRetries = 8;

// A descriptor of the file `path` names, only for holding a lock: never
// blocking (a pipe of that name), and only a regular file.
int OpenForLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the name still leads to the file open as `fd`.
bool StillNamed(int fd, const std::string& path) {
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

int TryLock(int fd) {
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    return r == 0 ? 0 : errno;
}

}  // namespace

FileLock& FileLock::operator=(FileLock&& o) noexcept {
    if (this != &o) {
        Release();
        fd_ = std::exchange(o.fd_, -1);
    }
    return *this;
}

FileLock::Outcome FileLock::Take(const std::string& path) {
    Release();
    for (int attempt = 0; attempt < kMaxRetries; ++attempt) {
        const int fd = OpenForLock(path);
        if (fd < 0) return Outcome::NotPossible;
        const int error = TryLock(fd);
        if (error == EWOULDBLOCK) {
            ::close(fd);
            return Outcome::HeldElsewhere;
        }
        if (error != 0) {
            ::close(fd);
            return Outcome::NotPossible;
        }
        // The holder may have put a new file in the old one's place between
        // our open and our lock: the old one's lock then covers nothing.
        if (StillNamed(fd, path)) {
            fd_ = fd;
            return Outcome::Taken;
        }
        ::close(fd);
    }
    return Outcome::NotPossible;
}

bool FileLock::Adopt(int fd) {
    Release();
    // The lock belongs to the open file, which this descriptor keeps open
    // after the writer has closed its own.
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0) return false;
    if (TryLock(own) != 0) {
        ::close(own);
        return false;
    }
    fd_ = own;
    return true;
}

void FileLock::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // the lock goes with the last descriptor of its open file
    fd_ = -1;
}

bool FileLock::HeldElsewhere(const std::string& path) {
    FileLock probe;
    return probe.Take(path) == Outcome::HeldElsewhere;
}

std::optional<std::string> LibreOfficeLockOwner(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path file(path);
    const fs::path lock = file.parent_path() / (".~lock." + file.filename().string() + "#");
    std::error_code ec;
    if (!fs::is_regular_file(lock, ec)) return std::nullopt;
    // "<name in the office suite>,<user>,<host>,<time>,<profile>;", the name
    // often empty; a backslash makes the next character a plain one.
    // Only its first few bytes: the fields are short.
    std::ifstream in(lock, std::ios::binary);
    std::string line(1024, '\0');
    in.read(line.data(), static_cast<std::streamsize>(line.size()));
    line.resize(static_cast<std::size_t>(in.gcount()));
    line = line.substr(0, line.find('\n'));
    std::string fields[2];
    std::size_t field = 0;
    for (std::size_t i = 0; i < line.size() && field < 2; ++i) {
        char c = line[i];
        if (c == ',' || c == ';') {
            ++field;
            continue;
        }
        if (c == '\\' && i + 1 < line.size()) c = line[++i];
        if (static_cast<unsigned char>(c) >= 0x20) fields[field] += c;
    }
    return fields[0].empty() ? fields[1] : fields[0];
}

}  // namespace sys
