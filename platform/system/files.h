// File and folder checks of the program on Windows-style paths ("C:\Dokumenty\..."),
// mapped to Linux folders as paths.h describes, and the program folder (VB's App.Path).
#pragma once

#include <string>

namespace sys {

// Scripting.FileSystemObject's FileExists: True for an existing file (not a
// folder). A path on a drive that does not exist gives False.
bool FileExists(const std::string& windowsPath);

// Scripting.FileSystemObject's FolderExists: True for an existing folder.
bool FolderExists(const std::string& windowsPath);

// VB's MkDir: makes one folder. Raises 76 "Path not found" when its parent
// folder (or its drive) is missing, 75 "Path/File access error" when the path
// already exists or the folder cannot be made.
void MkDir(const std::string& windowsPath);

// The folder of the running executable (VB's App.Path) as a Linux path;
// $BELMORA_PROGRAM_DIR overrides it. Appending "\Korvel.htm" to it gives a
// path that ToNativePath resolves inside this folder.
std::string AppPath();

namespace err {
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

}  // namespace sys
