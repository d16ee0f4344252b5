// The list of the song's sheets (its tunings) in the main window.
#include "platform/vb/runtime_error.h"
#include "store/module1.h"

void NactiListy(forms::ComboBox& Combo1, forms::Label& lblLadeni) {
    xl::Application& excel = Excel();

    lblLadeni.Caption = excel.ActiveSheet().Name();
    // The names are read by walking the sheets, each one selected in turn.
    excel.Sheets(1).Select();
    const int pocet = excel.Sheets().Count();
    for (;;) {
        Combo1.AddItem(excel.ActiveSheet().Name());
        if (excel.ActiveSheet().Index() == pocet) break;
        excel.ActiveSheet().Next().Select();
    }
    excel.Sheets(lblLadeni.Caption.get()).Select();
    Combo1.Text = lblLadeni.Caption.get();
}
