// Windows-style paths of the program ("C:\Dokumenty\...") on Linux folders.
// Drive C is the user's home folder unless BELMORA_DRIVE_C names another;
// another drive letter exists only when BELMORA_DRIVE_<letter> is set. A path
// without a drive letter is a Linux path whose backslashes separate folders.
#pragma once

#include <optional>
#include <string>

namespace sys {

// The Linux folder of a drive letter, or nullopt when the drive does not exist.
std::optional<std::string> DriveRoot(char letter);

// "C:\Dokumenty\a.xls" -> "/home/u/Dokumenty/a.xls"; an unknown drive gives
// nullopt. Backslashes become slashes; a trailing separator is dropped.
std::optional<std::string> ToNativePath(const std::string& windowsPath);

// The reverse, for paths that the program shows or composes: a folder under
// drive C's root becomes "C:\..."; any other path is given unchanged.
std::string ToWindowsPath(const std::string& nativePath);

}  // namespace sys
