// The open-file dialog double of the tests: records each request and answers
// from a script; an unanswered request is a cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/excel/file_dialog.h"

namespace xl {

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
