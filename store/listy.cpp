// The list of the song's sheets (its tunings) in the main window.
#include "mainwindow/form1.h"
#include "platform/vb/runtime_error.h"
#include "store/module1.h"

void NactiListy() {
    if (!HlavniOkno) vb::Raise(vb::err::ObjectNotSet, "Module1", "Object variable or With block variable not set");
    Form1& okno = *HlavniOkno;
    xl::Application& excel = Excel();

    okno.lblLadeni.Caption = excel.ActiveSheet().Name();
    // The names are read by walking the sheets, each one selected in turn.
    excel.Sheets(1).Select();
    const int pocet = excel.Sheets().Count();
    for (;;) {
        okno.Combo1.AddItem(excel.ActiveSheet().Name());
        if (excel.ActiveSheet().Index() == pocet) break;
        excel.ActiveSheet().Next().Select();
    }
    excel.Sheets(okno.lblLadeni.Caption.get()).Select();
    okno.Combo1.Text = okno.lblLadeni.Caption.get();
}
