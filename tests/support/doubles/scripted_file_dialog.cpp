#include "tests/support/doubles/scripted_file_dialog.h"

namespace xl {

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(SetFileDialogService(this)) {}

ScriptedFileDialogs::~ScriptedFileDialogs() { SetFileDialogService(previous_); }

std::optional<std::string> ScriptedFileDialogs::GetOpenFileName(const std::vector<FileFilter>& filters,
                                                                const std::string& title, const std::string& folder) {
    requests_.push_back({filters, title, folder});
    if (answers_.empty()) return std::nullopt;
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

}  // namespace xl
