// The program's start: the main window, created and shown modeless. The
// program ends when the main window is unloaded (its close box or the menu's
// end item); a failed start of the spreadsheet ends it inside the window's
// load handler already.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>
#include <string_view>

#include "mainwindow/form1.h"
#include "platform/forms/font.h"
#include "platform/forms/form.h"
#include "platform/forms/qt_msgbox.h"
#include "store/module1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One font for every window, the one the forms were laid out for.
    forms::UseProgramFont();
    // Qt's own dialogs (the open dialog) speak Czech like the rest of the program.
    QTranslator cestina;
    if (cestina.load(QLocale(QLocale::Czech), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&cestina);
    // The workbook windows are top-level windows too; only the main window
    // decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);

    // BELMORA_BOXES=stderr writes the boxes to standard error and answers each
    // with its first button, for runs without anyone at the screen.
    forms::QtMessageBoxes zpravy;
    const char* boxes = std::getenv("BELMORA_BOXES");
    if (!(boxes && std::string_view(boxes) == "stderr")) forms::SetMessageBoxService(&zpravy);

    Form1 okno;
    HlavniOkno = &okno;
    okno.Unloaded = [] { QCoreApplication::quit(); };
    okno.Show(forms::vbModeless);

    const int vysledek = okno.IsLoaded() ? QApplication::exec() : 0;
    program::Release();
    HlavniOkno = nullptr;
    forms::SetMessageBoxService(nullptr);
    return vysledek;
}
