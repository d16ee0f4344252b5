// Helpers shared by the .xls test suites: temporary folders and building books.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/excel/internal/book.h"

namespace xlstest {

using xl::internal::Book;
using xl::internal::Cell;
using xl::internal::CellRef;
using xl::internal::Sheet;

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string templ = (std::filesystem::temp_directory_path() / "belmora-xls-XXXXXX").string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp");
        path_ = templ;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline Cell Text(const std::string& s, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Text;
    c.text = s;
    c.colorIndex = color;
    return c;
}

inline Cell Number(double v, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Number;
    c.number = v;
    c.colorIndex = color;
    return c;
}

inline Cell Date(double serial, bool hasDay, bool hasTime, int color = 0) {
    Cell c;
    c.kind = Cell::Kind::Date;
    c.number = serial;
    c.dateHasDay = hasDay;
    c.dateHasTime = hasTime;
    c.colorIndex = color;
    return c;
}

inline std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The source tree, as ctest tells the test programs.
inline std::filesystem::path SourceDir() {
    const char* dir = std::getenv("BELMORA_SOURCE_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path(BELMORA_SOURCE_DIR_DEFAULT);
}

}  // namespace xlstest
