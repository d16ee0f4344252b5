// A form: a top-level window with its controls, menus and VB's life cycle.
//
// Life cycle: Load() raises Form_Load once per load (Show loads a form that
// is not loaded); Unload() raises Form_QueryUnload and Form_Unload, either of
// which may cancel, then hides the form. The window's close box unloads the
// form the same way (UnloadMode vbFormControlMenu). Form_Resize is raised
// when the size of a loaded form changes. An unloaded form keeps its controls
// as they were; to start again from the design, create the form afresh
// (FormInstance does that for forms shared as one instance).
//
// Modal forms: Show(vbModal) returns when the form is hidden or unloaded. It
// runs a nested event loop, so tests may close the form from a
// QTimer::singleShot. Tests that want no event loop install a modal driver
// (SetModalDriver): Show(vbModal) then calls the driver once the form is
// shown, and the driver plays the user (clicks, unloads) synchronously. A
// driver that leaves the form open is a fault of the test: the form is hidden
// and std::logic_error thrown, so a test never hangs on a modal form.
//
// Size: Width and Height are the window's size without the system's frame
// (menu bar included); ScaleWidth and ScaleHeight the inner area below the
// menu bar that controls are placed in, all in twips.
//
// Place: Left and Top are where the window's frame goes, kept on the screen:
// a form opens with its title bar on the available area of its screen
// whatever Left and Top say, and wholly on it where it fits. While it comes
// up, a window system that puts it elsewhere is corrected.
//
// Keys: Return and keypad Enter press the focused command button, elsewhere
// the form's Default button; Escape presses its Cancel button, and closes a
// form without one as its close box does, except the main form, which is
// not a dialog. Shown, a form takes the keyboard focus (window_focus.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QMargins>
#include <QPointer>

#include "platform/forms/control.h"

class QEventLoop;
class QKeyEvent;
class QMainWindow;
class QMenuBar;
class QTimer;

namespace forms {

inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;
// UnloadMode of Form_QueryUnload.
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;

class FormWindow;

class Form : public Object, public Container, public PropertyOwner {
public:
    Form();
    ~Form() override;

    Property<std::string> Caption{this, kCaption};
    Property<float> Left{this, kGeometry};
    Property<float> Top{this, kGeometry};
    Property<float> Width{this, kGeometry, 4800};
    Property<float> Height{this, kGeometry, 3600};
    Property<OleColor> BackColor{this, kBackColor, vbButtonFace};
    // Setting Visible shows (modeless) or hides the form.
    Property<bool> Visible{this, kVisible, false, Notify::Always};

    float ScaleWidth() const;
    float ScaleHeight() const;
    // Sets Width and Height so that the inner area is `width` x `height` twips.
    void SetClientSize(float width, float height);

    void Load();
    void Show(int modal = vbModeless);
    void Hide();
    void Unload();

    bool IsLoaded() const { return loaded_; }
    bool IsModal() const { return modal_; }
    // Whether the form was unloaded at least once since it was created.
    bool WasUnloaded() const { return wasUnloaded_; }
    // Whether the window stays on top of the others (SetWindowPos HWND_TOPMOST).
    bool IsTopmost() const;
    void SetTopmost(bool on);

    HWND hWnd() const { return hwnd_; }
    QMainWindow* Widget() const;
    QMenuBar* MenuBar();
    QWidget* ClientWidget() override;

    // Raised after the form was unloaded; the program ends when its main form is.
    std::function<void()> Unloaded;

    // Return, Enter or Escape pressed in the form while `focused` (nullptr:
    // none of its controls) has the focus: whether the form acted on it.
    bool TakeKey(const QKeyEvent& key, Control* focused);

    void PropertyChanged(int id) override;

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {}
    virtual void Form_Unload(int& Cancel) {}
    virtual void Form_Resize() {}

private:
    friend class FormWindow;
    enum : int { kCaption, kGeometry, kBackColor, kVisible };
    void UnloadAs(int mode);
    void HideWindow();
    void WindowResized();
    void ApplyGeometry();
    int MenuBarHeight() const;
    // Where the frame goes for its top left corner to be at `wanted`, kept on the screen.
    QPoint OnScreen(QPoint wanted) const;
    // The window manager's frame around the window, as far as it is known.
    QMargins FrameMargins() const;
    // Watches the window's place for a while after the program placed it.
    void WatchPlace();
    void KeepTitleBarOnScreen();

    QPointer<FormWindow> window_;
    QWidget* client_ = nullptr;
    QEventLoop* modalLoop_ = nullptr;
    QTimer* placeWatch_ = nullptr;
    int placeChecks_ = 0;
    QMargins placedWithFrame_;
    HWND hwnd_ = 0;
    bool loaded_ = false;
    bool modal_ = false;
    bool wasUnloaded_ = false;
    bool applying_ = false;
};

// The program's main form: the one a dialog shows again when it closes; it
// loses the place when it goes.
void SetMainForm(Form* form);
Form* MainForm();

// The form that the program's boxes belong to: the modal form shown last, else
// the topmost visible form, else the active form, else the visible form shown
// last; nullptr when no form is visible.
Form* CurrentForm();

// Plays the user's part in modal forms for tests; returns the previous driver.
using ModalDriver = std::function<void(Form&)>;
ModalDriver SetModalDriver(ModalDriver driver);

// Every shared form instance lets go of its form (see FormInstance); the
// program does this before it ends, while the window system is still there.
void ReleaseFormInstances();

class FormInstanceBase {
public:
    FormInstanceBase();
    virtual ~FormInstanceBase();
    FormInstanceBase(const FormInstanceBase&) = delete;
    FormInstanceBase& operator=(const FormInstanceBase&) = delete;
    virtual void Reset() = 0;
};

// A form that exists as one shared instance: created when first used, and
// created afresh when used after it was unloaded, so that every opening
// starts from its design (as a VB form reference loads the form anew).
template <class T>
class FormInstance : public FormInstanceBase {
public:
    T& operator*() { return Get(); }
    T* operator->() { return &Get(); }
    T& Get() {
        if (!form_ || form_->WasUnloaded()) form_ = std::make_unique<T>();
        return *form_;
    }
    // The instance without creating one; nullptr when there is none.
    T* Existing() const { return form_.get(); }
    void Reset() override { form_.reset(); }

private:
    std::unique_ptr<T> form_;
};

}  // namespace forms
