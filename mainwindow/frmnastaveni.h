// The row-overlay dialog: for fingering practice the user ticks the rows of
// the treble keyboard that are not to be used; three presets named after
// scales tick the rows that the first fingering of those scales leaves out.
// "Ok" stores the choice in the per-user settings ("Zabrany", keys "1"-"5")
// and shows or hides the overlays cmdZabrana 1-5 of the main window.
//
// Opening (the menu item's handler): a new instance for every opening, shown
// modal, so each opening shows what is stored and nothing of the last one:
//
//     Hide();
//     {
//         frmNastaveni dialog;
//         dialog.Show(forms::vbModal);   // returns when "Ok" or "Zrušit" hides it
//         dialog.Unload();
//     }
//     Show();
//
// The overlays it sets are those of the program's main window (HlavniOkno).
#pragma once

#include "platform/forms/forms.h"

class frmNastaveni : public forms::Form {
public:
    frmNastaveni();
    ~frmNastaveni() override;

    // Declared in container order: the frame before the check boxes inside it.
    forms::Frame fraZabrany{*this};
    forms::ControlArray<forms::CheckBox> chkZabrany{"chkZabrany"};  // 1-5, 1 rightmost
    forms::CommandButton cmdCDur{*this};
    forms::CommandButton cmdGDur{*this};
    forms::CommandButton cmdFDur{*this};
    forms::CommandButton cmdNic{*this};
    forms::ControlArray<forms::Label> Label1{"Label1"};  // 0-11: the scales that share a preset
    forms::CommandButton cmdOK{*this};
    forms::CommandButton cmdZrušit{*this};
    forms::CommandButton cmdNapoveda{*this};

    void Form_Load() override;
    void cmdCDur_Click();
    void cmdGDur_Click();
    void cmdFDur_Click();
    void cmdNic_Click();
    void cmdOK_Click();
    void cmdZrušit_Click();
    void cmdNapoveda_Click();

private:
    void InitializeComponent();
    // Ticks chkZabrany 1-5 as `radky` says (1 ticked, 0 not), in box order.
    void ZaskrtniRady(const int (&radky)[5]);
};
