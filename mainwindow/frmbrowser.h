// The help browser: a small browser window with a toolbar, an address line
// and the page, opened on the help page Korvel.htm of the program folder
// while the main window is hidden. Closing it brings the main window back.
// The handlers skip every failure of the browser control and go on.
//
// One shared instance (frmBrowserForm()): made when first used and made
// afresh after it was unloaded, so every opening starts with an empty
// address list and history. Opening (the menu item's handler):
//
//     Hide();
//     frmBrowser& prohlizec = frmBrowserForm();
//     prohlizec.Show(forms::vbModeless);
//     prohlizec.brwWebBrowser.Navigate(sys::AppPath() + "\\Korvel.htm");
#pragma once

#include "platform/forms/forms.h"
#include "platform/browser/browser.h"

class frmBrowser : public forms::Form {
public:
    frmBrowser();
    ~frmBrowser() override;

    sys::ImageList imlIcons;
    sys::Toolbar tbToolBar{*this};
    forms::PictureBox picAddress{*this};
    forms::Label lblAddress{picAddress};
    forms::ComboBox cboAddress{picAddress};
    sys::WebBrowser brwWebBrowser{*this};
    forms::Timer timTimer;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;
    void tbToolBar_ButtonClick(sys::ToolbarButton& Button);
    void cboAddress_Click();
    void cboAddress_KeyPress(int& KeyAscii);
    void timTimer_Timer();
    // The browser's notification that a page is in.
    void ZobrazNazevStranky();

private:
    void InitializeComponent();
};

// The shared instance of the help browser.
frmBrowser& frmBrowserForm();
