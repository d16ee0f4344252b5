// Replacing a file so that neither a failure nor a crash leaves it damaged:
// the new contents go into a temporary file in the same folder, which is
// synced, renamed over the file, and the folder synced after it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

namespace sys {

enum class SaveFailure {
    None,
    NoFolder,          // the folder of the file does not exist
    IsFolder,          // the name is that of a folder
    NotAFile,          // the name is that of a device, a pipe or a socket
    WriteProtected,    // the file may not be written (no write permission, read-only file system)
    FolderNotWritable, // no file can be made in the folder
    WriteFailed,       // writing or syncing the new contents failed
    DiskFull,          // no room left for the new contents: the disk or the user's quota is full
    ReplaceFailed,     // the new file could not take the old one's place
    LinkLoop,          // a symbolic link that leads nowhere but to links
};

// Writes `path` anew: `write` fills the temporary file through its descriptor
// (false: it failed, with errno as the failing call left it, which tells a
// full disk apart). The temporary file has a short name of our own
// (".belmora-<pid>-XXXXXX.tmp") whatever the file's name, so any name the file
// system allows can be saved; such files that an earlier run left behind in
// the folder (their process is gone) are removed first. A symbolic link is
// followed and the file it points to replaced; the link stays a link. A file
// without any write permission bit (mode 0444), one this user may not write,
// or one on a read-only file system is not touched: WriteProtected, also for
// the superuser, who may write anything. A replaced file keeps its
// permissions; a new one gets `newFileMode` less the process's umask, as a
// file made by open() would. On any failure the file stays as it was and no
// temporary file is left.
SaveFailure SaveFileSafely(const std::string& path, const std::function<bool(int fd)>& write,
                           mode_t newFileMode = 0666);

// What stands in the way of SaveFileSafely(path) before anything is written:
// the same failures it would give for the name, the file and its folder
// (a folder that takes no new file included), or None. A full disk, and a
// failure while writing or replacing, show only when the file is written.
SaveFailure SaveObstacle(const std::string& path);

// Writes all the bytes to a descriptor (going on after interruptions and short
// writes); false when the system refuses them.
bool WriteAll(int fd, const void* data, std::size_t size);

// The same with the whole contents at hand.
SaveFailure SaveFileSafely(const std::string& path, const std::string& contents, mode_t newFileMode = 0666);

// The process's file-mode creation mask, read without changing it.
mode_t CurrentUmask();

}  // namespace sys
