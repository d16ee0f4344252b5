#include "platform/safe_file/safe_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace sys {

namespace {

constexpr std::string_view kPrefix = ".belmora-";
constexpr std::string_view kSuffix = ".tmp";
constexpr int kRandomChars = 6;  // what mkstemps puts in place of XXXXXX
constexpr int kMaxLinks = 40;    // as the kernel follows them

// The file a path names after its symbolic links; nothing for a loop of links.
std::optional<fs::path> FollowLinks(fs::path p) {
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::error_code ec;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return p;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return std::nullopt;
}

// The process id in a name of our temporary files, or -1 for any other name.
pid_t PidOfOurTemporary(std::string_view name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() + kRandomChars + 1) return -1;
    if (name.substr(0, kPrefix.size()) != kPrefix || name.substr(name.size() - kSuffix.size()) != kSuffix) return -1;
    std::string_view middle = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = middle.size() - kRandomChars - 1;
    if (middle[dash] != '-') return -1;
    for (char c : middle.substr(dash + 1))
        if (!std::isalnum(static_cast<unsigned char>(c))) return -1;
    const std::string_view digits = middle.substr(0, dash);
    if (digits.empty() || digits.size() > 9) return -1;
    pid_t pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Our temporary files that a process which is gone left in the folder (a crash
// or a kill during a save). A live process's file may be its save in progress.
void RemoveLeftovers(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t pid = PidOfOurTemporary(name);
        if (pid <= 0) continue;
        const bool gone = pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
        struct stat st {};
        if (gone && ::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

// Write protection as the user sees it: no write permission bit at all (which
// even the superuser's rights do not override here), no right to write it, or
// a file system mounted read-only.
bool IsWriteProtected(const struct stat& st, const fs::path& file, const fs::path& folder) {
    if ((st.st_mode & 0222) == 0) return true;
    if (::access(file.c_str(), W_OK) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) return true;
    struct statvfs vfs {};
    return ::statvfs(folder.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

bool IsDiskFull(int error) { return error == ENOSPC || error == EDQUOT; }

// Makes the rename durable: the folder's entry is written out too.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a save of a path writes (its links followed), and its folder.
struct Target {
    fs::path file;
    fs::path folder;
    bool exists = false;
    struct stat st {};
};

// Finds the file a save writes and what stands in its way there.
SaveFailure Examine(const std::string& path, Target& t) {
    const std::optional<fs::path> resolved = FollowLinks(path);
    if (!resolved) return SaveFailure::LinkLoop;
    t.file = *resolved;
    t.folder = t.file.has_parent_path() ? t.file.parent_path() : fs::path(".");
    if (::stat(t.folder.c_str(), &t.st) != 0 || !S_ISDIR(t.st.st_mode)) return SaveFailure::NoFolder;
    t.exists = ::stat(t.file.c_str(), &t.st) == 0;
    if (t.exists && S_ISDIR(t.st.st_mode)) return SaveFailure::IsFolder;
    if (t.exists && !S_ISREG(t.st.st_mode)) return SaveFailure::NotAFile;
    if (t.exists && IsWriteProtected(t.st, t.file, t.folder)) return SaveFailure::WriteProtected;
    return SaveFailure::None;
}

}  // namespace

SaveFailure SaveObstacle(const std::string& path) {
    Target t;
    if (const SaveFailure f = Examine(path, t); f != SaveFailure::None) return f;
    // The temporary file is made in the folder, and renamed there.
    if (::access(t.folder.c_str(), W_OK | X_OK) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        return SaveFailure::FolderNotWritable;
    return SaveFailure::None;
}

SaveFailure SaveFileSafely(const std::string& path, const std::function<bool(int fd)>& write, mode_t newFileMode) {
    Target t;
    if (const SaveFailure f = Examine(path, t); f != SaveFailure::None) return f;
    const fs::path& target = t.file;
    const fs::path& folder = t.folder;
    const bool exists = t.exists;
    const struct stat& st = t.st;

    RemoveLeftovers(folder);
    std::string tmp =
        (folder / (std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX" + std::string(kSuffix))).string();
    const int fd = ::mkstemps(tmp.data(), static_cast<int>(kSuffix.size()));
    if (fd < 0) return IsDiskFull(errno) ? SaveFailure::DiskFull : SaveFailure::FolderNotWritable;
    // The first failure's errno tells a full disk from any other failure.
    int error = 0;
    const auto step = [&error](bool done) {
        if (!done && error == 0) error = errno != 0 ? errno : EIO;
        return done;
    };
    errno = 0;
    bool ok = step(write(fd)) && step(::fsync(fd) == 0);
    // A replaced file keeps its permissions; a new one is made as open() would make it.
    ok = ok && step(::fchmod(fd, exists ? (st.st_mode & 0777) : (newFileMode & 0777 & ~CurrentUmask())) == 0);
    ok = step(::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(tmp.c_str());
        return IsDiskFull(error) ? SaveFailure::DiskFull : SaveFailure::WriteFailed;
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(tmp.c_str());
        return IsDiskFull(renameError) ? SaveFailure::DiskFull : SaveFailure::ReplaceFailed;
    }
    SyncFolder(folder);
    return SaveFailure::None;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

SaveFailure SaveFileSafely(const std::string& path, const std::string& contents, mode_t newFileMode) {
    return SaveFileSafely(path, [&](int fd) { return WriteAll(fd, contents.data(), contents.size()); }, newFileMode);
}

mode_t CurrentUmask() {
    // The kernel shows it (since Linux 4.7); umask() itself can only be read
    // by setting it, which is left for kernels that do not.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0) continue;
        return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace sys
