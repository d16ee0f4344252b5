#include "platform/excel/file_dialog.h"

namespace xl {

FileDialogService& QtFileDialogService();  // window/qt_file_dialog.cpp

namespace {
FileDialogService* gService = nullptr;
}

FileDialogService* SetFileDialogService(FileDialogService* service) {
    FileDialogService* previous = gService;
    gService = service;
    return previous;
}

FileDialogService& CurrentFileDialogService() { return gService ? *gService : QtFileDialogService(); }

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : filter) {
        if (c == ',') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!filter.empty()) parts.push_back(part);
    std::vector<FileFilter> out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter f{parts[i], {}};
        std::string p;
        for (char c : parts[i + 1] + ";") {
            if (c == ';') {
                if (!p.empty()) f.patterns.push_back(p);
                p.clear();
            } else if (c != ' ') {
                p += c;
            }
        }
        out.push_back(std::move(f));
    }
    return out;
}

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
