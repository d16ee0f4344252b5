// The help browser's controls: the WebBrowser control, a page viewer over
// QTextBrowser, and the toolbar with its image list that the browser window
// is built with.
//
// WebBrowser takes addresses as the program writes them: a Windows path
// ("C:\Dokumenty\x.htm"), a Linux path (the program folder & "\Korvel.htm")
// or a URL with its scheme ("file:///..."). It shows local HTML pages only; a
// page it cannot read (a missing file, a drive that does not exist, a web
// address) is shown as the page "Stránku nelze zobrazit", as any unreachable
// address is.
//
// Navigation runs the way the original control's does: Navigate, GoBack,
// GoForward, GoHome and Refresh start the navigation and return at once; the
// browser is Busy until the page is in, at the next turn of the event loop,
// and then raises DocumentComplete. Stop cancels a navigation not yet done.
// A link followed in the page completes at once and raises DocumentComplete
// too. GoBack and GoForward without a page to go to raise a runtime error, as
// the original control does; the program's handlers skip such failures.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/control.h"
#include "platform/forms/picture.h"

class QAction;
class QTextBrowser;
class QTimer;
class QToolBar;

namespace sys {

// The error number of a browser operation that cannot be done (E_FAIL as VB reports it).
inline constexpr int kBrowserOperationFailed = -2147467259;

// The title of the page shown for an address that cannot be read.
inline constexpr const char* kUnreachablePageTitle = "Stránku nelze zobrazit";

class WebBrowser : public forms::Control {
public:
    explicit WebBrowser(forms::Container& parent);
    ~WebBrowser() override;

    void Navigate(const std::string& address);
    void GoBack();
    void GoForward();
    // The home page is the first page this browser showed.
    void GoHome();
    void Stop();
    void Refresh();

    // The title of the page shown; the page's file name when it has no title;
    // "" before any page was shown.
    std::string LocationName() const;
    // The address of the page shown, as a URL ("file:///.../Korvel.htm");
    // for an address that could not be read, the address as it was given.
    std::string LocationURL() const;
    // Whether a navigation is under way.
    bool Busy() const { return busy_; }

    // Raised when a page has been loaded and shown.
    std::function<void()> DocumentComplete;

    QTextBrowser* View() const;

protected:
    void ApplyColors() override {}
    bool ClicksOnRelease() const override { return false; }

private:
    // Runs `step` as the navigation: Busy until it has run on the next turn
    // of the event loop, then DocumentComplete.
    void Start(std::function<void()> step);
    void Complete();

    std::unique_ptr<QTimer> pending_;
    std::function<void()> step_;
    bool busy_ = false;
    bool navigating_ = false;
};

// The image list of a toolbar: pictures by key.
class ImageList : public forms::Object {
public:
    // ListImages.Add: a picture under `key`; an existing key raises error 35602.
    void Add(const std::string& key, forms::Picture picture);
    // The picture under `key`; a missing key raises error 35601.
    const forms::Picture& ListImages(const std::string& key) const;
    int Count() const { return static_cast<int>(images_.size()); }

private:
    std::vector<std::pair<std::string, forms::Picture>> images_;
};

class Toolbar;

// One picture button of a toolbar.
class ToolbarButton : public forms::Object {
public:
    std::string Key;
    std::string Image;  // the key of its picture in the toolbar's image list
    std::string ToolTipText;

    // Raises the toolbar's ButtonClick as the user's click would.
    void PerformClick();
    QAction* Action() const { return action_; }

private:
    friend class Toolbar;
    Toolbar* toolbar_ = nullptr;
    QAction* action_ = nullptr;
};

// A row of picture buttons; ButtonClick tells which was clicked.
class Toolbar : public forms::Control {
public:
    explicit Toolbar(forms::Container& parent);
    ~Toolbar() override;

    // The image list the buttons take their pictures from.
    const sys::ImageList* ImageList = nullptr;

    // Buttons.Add: a button at the end of the row (Index 1, 2, ...).
    ToolbarButton& AddButton(const std::string& key, const std::string& image, const std::string& toolTipText);
    // Buttons(index), 1-based; a missing one raises error 35600.
    ToolbarButton& Buttons(int index) const;
    // Buttons(key); a missing key raises error 35601.
    ToolbarButton& Buttons(const std::string& key) const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }

    // Shows the buttons with their pictures and tooltips as they now are.
    void Refresh();

    std::function<void(ToolbarButton& Button)> ButtonClick;

protected:
    bool ClicksOnRelease() const override { return false; }

private:
    QToolBar* bar() const;
    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
};

}  // namespace sys
