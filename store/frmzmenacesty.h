// frmZmenaCesty: the dialog in which the user chooses the folder that the
// spreadsheet keeps as its default after the program ends. The choice lives
// only in StaraCesta (store/module1.h) for the rest of the run; the
// spreadsheet itself is told at the normal shutdown.
//
// The dialog is modeless and exists as one shared instance under its own
// name, `frmZmenaCesty`, as a form's default instance: the opener hides the
// main window and calls `frmZmenaCesty->Show()`; every opening after a close
// starts from the design. Closing it in any way shows the main window again.
// The type is `class frmZmenaCesty` where the instance hides its name.
#pragma once

#include <string>

#include "platform/forms/forms.h"

class frmZmenaCesty : public forms::Form {
public:
    frmZmenaCesty();

    forms::Label Label1{*this};
    forms::Label lblStaraCesta{*this};
    forms::Label Label2{*this};
    // 0 "C:\Dokumenty", 1 "D:\Dokumenty", 2 another folder typed in
    // txtCesta, 3 the reset; one group, 0 chosen at the start.
    forms::ControlArray<forms::OptionButton> Option1{"Option1"};
    forms::TextBox txtCesta{*this};
    forms::CommandButton OKButton{*this};
    forms::CommandButton CancelButton{*this};

    void OKButton_Click();
    void CancelButton_Click();

    // Whether the folder exists.
    bool ExistujeSlozka(const std::string& path);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void InitializeComponent();
};

// The shared instance.
extern forms::FormInstance<frmZmenaCesty> frmZmenaCesty;
