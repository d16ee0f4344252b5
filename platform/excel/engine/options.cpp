// The spreadsheet's own per-user options: its default file folder, kept in an
// INI file beside the program's settings (so a test's temporary settings
// folder holds it too).
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/excel/internal/engine.h"
#include "platform/paths/paths.h"
#include "platform/safe_file/safe_file.h"

namespace fs = std::filesystem;

namespace xl::engine {

namespace {

constexpr const char* kKey = "DefaultFilePath=";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

fs::path OptionsFile() {
    fs::path folder;
    if (auto dir = Env("BELMORA_SETTINGS_DIR"); !dir.empty()) {
        folder = dir;
    } else if (auto xdg = Env("XDG_CONFIG_HOME"); !xdg.empty() && fs::path(xdg).is_absolute()) {
        folder = fs::path(xdg) / "belmora";
    } else {
        folder = fs::path(Env("HOME")) / ".config" / "belmora";
    }
    return folder / "excel.ini";
}

std::string DocumentsNative() {
    std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    std::error_code ec;
    if (docs.empty() || !fs::is_directory(docs, ec)) docs = Env("HOME");
    return docs;
}

}  // namespace

std::string LoadDefaultFilePath() {
    std::ifstream in(OptionsFile());
    std::string line;
    bool inOptions = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inOptions = line == "[Options]";
            continue;
        }
        if (inOptions && line.rfind(kKey, 0) == 0) return line.substr(std::char_traits<char>::length(kKey));
    }
    return sys::ToWindowsPath(DocumentsNative());
}

void StoreDefaultFilePath(const std::string& path) {
    // One line holds the value: line breaks cannot be kept and are dropped.
    std::string value;
    for (char c : path)
        if (c != '\r' && c != '\n') value += c;
    const fs::path file = OptionsFile();
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    // A file that cannot be written keeps the option of the last run; this run
    // goes on with the new one.
    sys::SaveFileSafely(file.string(), "[Options]\n" + std::string(kKey) + value + "\n");
}

std::string DefaultFolderNative(const AppData& app) {
    std::error_code ec;
    if (auto native = sys::ToNativePath(app.defaultFilePath); native && fs::is_directory(*native, ec)) return *native;
    return DocumentsNative();
}

}  // namespace xl::engine
