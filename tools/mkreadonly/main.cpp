// mkreadonly SOURCE OUTPUT: builds the lookup workbook read_only.xls from its
// text tables, written by the program's own .xls writer so that the file the
// program opens is exactly what its engine produces.
#include <fstream>
#include <iostream>

#include "platform/xls/xls_io.h"
#include "tools/mkreadonly/sheet_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: mkreadonly SOURCE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "mkreadonly: cannot open " << argv[1] << "\n";
        return 1;
    }
    try {
        xl::internal::Book book = mkreadonly::ParseSheetText(in, argv[1]);
        xl::internal::WriteXlsFile(book, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "mkreadonly: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
