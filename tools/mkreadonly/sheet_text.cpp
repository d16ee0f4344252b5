#include "tools/mkreadonly/sheet_text.h"

#include <charconv>
#include <set>
#include <vector>

namespace mkreadonly {
namespace {

using xl::internal::Book;
using xl::internal::Cell;
using xl::internal::CellRef;
using xl::internal::Sheet;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// Digits with an optional sign and decimal part become numbers; note names
// and bass names always contain letters, so they never look like one.
bool ParseNumber(const std::string& text, double& value) {
    std::string::size_type i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::string::size_type digits = 0, point = 0;
    for (std::string::size_type j = i; j < text.size(); ++j) {
        if (text[j] >= '0' && text[j] <= '9') {
            ++digits;
        } else if (text[j] == '.' && point == 0 && digits > 0) {
            point = j;
        } else {
            return false;
        }
    }
    if (digits == 0 || (point != 0 && point + 1 == text.size())) return false;
    // from_chars takes no leading '+'
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

class Parser {
public:
    Parser(std::istream& in, std::string sourceName) : in_(in), source_(std::move(sourceName)) {}

    Book Run() {
        std::string line;
        while (std::getline(in_, line)) {
            ++lineNo_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            if (line[0] == '[') {
                StartSheet(line);
            } else if (line[0] == '@') {
                Directive(line);
            } else {
                Row(line);
            }
        }
        if (book_.sheets.empty()) Fail("the source holds no sheet");
        return std::move(book_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw SheetTextError(source_ + ":" + std::to_string(lineNo_) + ": " + what);
    }

    void StartSheet(const std::string& line) {
        if (line.size() < 3 || line.back() != ']') Fail("a sheet line reads [Name]");
        std::string name = line.substr(1, line.size() - 2);
        if (!names_.insert(name).second) Fail("sheet \"" + name + "\" appears twice");
        Sheet sheet;
        sheet.name = name;
        book_.sheets.push_back(std::move(sheet));
        columns_.clear();
        openEnded_ = false;
        nextRow_ = 1;
    }

    void Directive(const std::string& line) {
        auto fields = SplitTabs(line);
        if (fields[0] != "@columns") Fail("unknown directive \"" + fields[0] + "\"");
        if (book_.sheets.empty()) Fail("@columns before the first sheet");
        if (fields.size() < 2) Fail("@columns names no column");
        columns_.clear();
        openEnded_ = false;
        for (std::size_t i = 1; i < fields.size(); ++i) {
            std::string letters = fields[i];
            bool rest = letters.size() > 2 && letters.compare(letters.size() - 2, 2, "..") == 0;
            if (rest) {
                if (i + 1 != fields.size()) Fail("\"" + letters + "\" must be the last column");
                letters.resize(letters.size() - 2);
                openEnded_ = true;
            }
            int col = ColumnNumber(letters);
            if (col == 0) Fail("\"" + fields[i] + "\" is no column");
            columns_.push_back(col);
        }
    }

    void Row(const std::string& line) {
        if (book_.sheets.empty()) Fail("a row before the first sheet");
        if (columns_.empty()) Fail("a row before @columns");
        if (nextRow_ > xl::internal::kMaxRows) Fail("too many rows for one sheet");
        auto fields = SplitTabs(line);
        if (!openEnded_ && fields.size() > columns_.size()) {
            Fail("the row has " + std::to_string(fields.size()) + " fields for " +
                 std::to_string(columns_.size()) + " columns");
        }
        Sheet& sheet = book_.sheets.back();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].empty()) continue;
            int col = i < columns_.size() ? columns_[i]
                                          : columns_.back() + static_cast<int>(i - (columns_.size() - 1));
            if (col > xl::internal::kMaxCols) Fail("the row runs past the last column of a sheet");
            Cell cell;
            if (ParseNumber(fields[i], cell.number)) {
                cell.kind = Cell::Kind::Number;
            } else {
                cell.kind = Cell::Kind::Text;
                cell.text = fields[i];
            }
            sheet.cells[CellRef{nextRow_, col}] = std::move(cell);
        }
        ++nextRow_;
    }

    std::istream& in_;
    std::string source_;
    int lineNo_ = 0;
    Book book_;
    std::set<std::string> names_;
    std::vector<int> columns_;
    bool openEnded_ = false;
    int nextRow_ = 1;
};

}  // namespace

int ColumnNumber(const std::string& letters) {
    if (letters.empty() || letters.size() > 2) return 0;
    int col = 0;
    for (char c : letters) {
        if (c < 'A' || c > 'Z') return 0;
        col = col * 26 + (c - 'A' + 1);
    }
    return col <= xl::internal::kMaxCols ? col : 0;
}

xl::internal::Book ParseSheetText(std::istream& in, const std::string& sourceName) {
    return Parser(in, sourceName).Run();
}

}  // namespace mkreadonly
