// Another program that holds a song open for writing, for the tests of one
// song open in two places: opens the workbook named by its argument in an
// engine of its own and says on standard output "open", or "refused: " and
// why. Then it keeps the workbook open, saving it on each line "save" read
// from standard input, until its standard input ends (or it is killed).
#include <iostream>
#include <string>

#include "platform/excel/application.h"
#include "platform/vb/runtime_error.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: excel_song_holder <workbook>\n";
        return 2;
    }
    const auto excel = xl::CreateExcelApplication();
    xl::Workbook book;
    try {
        book = excel->Workbooks().Open(argv[1]);
    } catch (const vb::RuntimeError& e) {
        std::cout << "refused: " << e.Description() << std::endl;
        return 3;
    }
    std::cout << "open" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        if (line != "save") continue;
        try {
            book.Save();
            std::cout << "saved" << std::endl;
        } catch (const vb::RuntimeError& e) {
            std::cout << "not saved: " << e.Description() << std::endl;
        }
    }
    return 0;
}
