// The scale choice: a small modal dialog in which the user states the major
// scale a song is written in before recording it. The choice is handed back
// in the caption of the main window's scale button; nothing else keeps it.
#pragma once

#include "platform/forms/forms.h"

class frmStupnice : public forms::Form {
public:
    frmStupnice();

    forms::Label Label2{*this};
    forms::Label Label1{*this};
    forms::Frame Frame1{*this};
    // The 15 major scales, "C Dur" (0) ... "Ces Dur" (14); none chosen at first.
    forms::ControlArray<forms::OptionButton> optStupnice{"optStupnice"};
    forms::CommandButton cmdOK{*this};
    forms::CommandButton cmdZrusit{*this};
    forms::CommandButton cmdHelp{*this};

    void cmdOK_Click();
    void cmdZrusit_Click();
    void cmdHelp_Click();

private:
    void InitializeComponent();
};

// The shared instance under the window's own name, as a form's default
// instance: made afresh for an opening after it was unloaded, so that every
// opening starts with no scale selected. The type is `class frmStupnice`
// where the instance hides its name.
extern forms::FormInstance<frmStupnice> frmStupnice;
