// The open-file dialog behind Application.GetOpenFilename: a Qt file dialog in
// the program; tests install a scripted one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xl {

struct FileFilter {
    std::string description;            // "Excel Files"
    std::vector<std::string> patterns;  // {"*.xls"}
    bool operator==(const FileFilter&) const = default;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // Asks for an existing file; the native path chosen, or nullopt on cancel.
    // `folder` is the native folder the dialog starts in.
    virtual std::optional<std::string> GetOpenFileName(const std::vector<FileFilter>& filters,
                                                       const std::string& title, const std::string& folder) = 0;
};

// Installs the service the dialogs go through; returns the previous one. With
// none installed the Qt dialog is used.
FileDialogService* SetFileDialogService(FileDialogService* service);
FileDialogService& CurrentFileDialogService();

// "Excel Files,*.xls,Text,*.txt;*.csv" -> two filters.
std::vector<FileFilter> ParseFileFilter(const std::string& filter);

}  // namespace xl
