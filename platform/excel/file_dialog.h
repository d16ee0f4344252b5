// The open-file dialog behind Application.GetOpenFilename: a Qt file dialog in
// the program, a scripted double in tests.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
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

// Test double: records each request and answers from a script; an
// unanswered request is a cancel.
class ScriptedFileDialogs : public FileDialogService {
public:
    struct Request {
        std::vector<FileFilter> filters;
        std::string title;
        std::string folder;
    };

    ScriptedFileDialogs();            // installs itself
    ~ScriptedFileDialogs() override;  // puts the previous service back

    void Answer(std::optional<std::string> nativePath) { answers_.push_back(std::move(nativePath)); }
    const std::vector<Request>& requests() const { return requests_; }

    std::optional<std::string> GetOpenFileName(const std::vector<FileFilter>& filters, const std::string& title,
                                               const std::string& folder) override;

private:
    std::vector<Request> requests_;
    std::deque<std::optional<std::string>> answers_;
    FileDialogService* previous_ = nullptr;
};

}  // namespace xl
