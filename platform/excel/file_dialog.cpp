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

}  // namespace xl
