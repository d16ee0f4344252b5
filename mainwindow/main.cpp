// The program's start: the main window, created and shown modeless. The
// program ends when the main window is unloaded (its close box or the menu's
// end item); a failed start of the spreadsheet ends it inside the window's
// load handler already.
#include <QApplication>

#include "mainwindow/form1.h"
#include "platform/forms/form.h"
#include "platform/forms/qt_msgbox.h"
#include "store/module1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The workbook windows are top-level windows too; only the main window
    // decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);

    forms::QtMessageBoxes zpravy;
    forms::SetMessageBoxService(&zpravy);

    Form1 okno;
    HlavniOkno = &okno;
    okno.Unloaded = [] { QCoreApplication::quit(); };
    okno.Show(forms::vbModeless);

    const int vysledek = okno.IsLoaded() ? QApplication::exec() : 0;
    HlavniOkno = nullptr;
    forms::SetMessageBoxService(nullptr);
    return vysledek;
}
