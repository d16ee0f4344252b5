// The mark that a file is open for writing in one place: a kernel lock
// (flock) on the file itself. The kernel lets go of it when the process ends
// in any way, a kill included, so a mark never outlives its program; and
// nothing is written beside the file. A safe save puts a new file in the old
// one's place: the holder locks the new file before the rename (Adopt), so
// that the name is never left unmarked.
#pragma once

#include <optional>
#include <string>

namespace sys {

class FileLock {
public:
    enum class Outcome {
        Taken,          // the lock is ours now
        HeldElsewhere,  // another holder has it (another process, or another engine of this one)
        NotPossible,    // the file cannot be locked (no such file, no right to read it, no locks there)
    };

    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(FileLock&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    FileLock& operator=(FileLock&& o) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of the file `path` names (after its links) without
    // waiting. A file that another holder replaced in the meantime is locked
    // as it is now.
    Outcome Take(const std::string& path);
    // Locks the file open as `fd` (the new file of a save, before it takes
    // the old one's place) through a descriptor of its own, in place of what
    // this object held; false (holding nothing) when it could not.
    bool Adopt(int fd);
    bool Held() const { return fd_ >= 0; }
    void Release();

    // Whether another holder has the lock of the file `path` names; a file
    // that is not there or cannot be read has none.
    static bool HeldElsewhere(const std::string& path);

private:
    int fd_ = -1;
};

// LibreOffice's mark that it has the file open: its lock file
// ".~lock.<name>#" beside the file. The user it names ("" when it names
// none), or nullopt when there is no such file. It is only read, never
// written or removed: it belongs to LibreOffice.
std::optional<std::string> LibreOfficeLockOwner(const std::string& path);

}  // namespace sys
