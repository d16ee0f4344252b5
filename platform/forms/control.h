// The base of every control: position and size in twips, kept exactly as the
// program set them (15 twips are one pixel on screen; the Qt widget's geometry
// is derived from them), visibility, colours, font and the mouse and keyboard
// events with VB's arguments.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "platform/forms/color.h"
#include "platform/forms/handles.h"
#include "platform/forms/property.h"

class QEvent;
class QKeyEvent;

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

// Sets `role` in the active and inactive groups (disabled text keeps Qt's grey),
// or in every group when `allGroups`.
void SetPaletteColor(QPalette& palette, QPalette::ColorRole role, OleColor color, bool allGroups);

// Twips to the pixel they fall on, and back.
int TwipsToPixels(double twips);
inline float PixelsToTwips(int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); }

// Mouse buttons and shift state of the mouse events.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// Name, Index and Tag: what forms, controls, menus and timers share.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    std::string Name;
    int Index = -1;  // -1: not an element of a control array
    std::string Tag;
};

class Control;
class Form;
class Layer;

// Something controls are placed in: a form, a frame or a picture box. Option
// buttons form one group per container.
class Container {
public:
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    const std::vector<Control*>& Controls() const { return children_; }
    // The widget child controls are put on, and where the container's own
    // coordinate origin lies in it (inside a border).
    virtual QWidget* ClientWidget() = 0;
    virtual QPoint ClientOrigin() const { return {}; }

protected:
    Container() = default;
    ~Container();

private:
    friend class Control;
    friend class Layer;
    std::vector<Control*> children_;
    Layer* gathering_ = nullptr;  // the layer new controls lie in, while it gathers
};

// Calls `visit` for every control in `container`, and in the containers among them, in order.
void ForEachControl(const Container& container, const std::function<void(Control&)>& visit);

using MouseHandler = std::function<void(int Button, int Shift, float X, float Y)>;
using KeyPressHandler = std::function<void(int& KeyAscii)>;

class Control : public Object, public PropertyOwner {
public:
    ~Control() override;

    Property<float> Left{this, kLeft};
    Property<float> Top{this, kTop};
    Property<float> Width{this, kWidth};
    Property<float> Height{this, kHeight};
    Property<bool> Visible{this, kVisible, true};
    Property<bool> Enabled{this, kEnabled, true};
    Property<std::string> ToolTipText{this, kToolTipText};
    Property<OleColor> BackColor{this, kBackColor, vbButtonFace};
    Property<OleColor> ForeColor{this, kForeColor, vbButtonText};
    Property<float> FontSize{this, kFont, 8.25f};  // points, in the program's font (platform/forms/font.h)
    Property<bool> FontBold{this, kFont, false};

    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseUp;
    MouseHandler MouseMove;
    // The character typed; setting KeyAscii to 0 swallows the key.
    KeyPressHandler KeyPress;

    // VB's Move: Left and Top, and Width and Height when given (negative: keep).
    void Move(float left, float top, float width = -1, float height = -1);
    // 0 brings the control to the front of its container, 1 sends it to the back.
    void ZOrder(int position = 0);
    void SetFocus();

    Container* Parent() const { return container_; }
    // The form the control lies in, through its frames and picture boxes.
    Form* ParentForm() const;
    QWidget* Widget() const { return widget_; }
    HWND hWnd() const { return hwnd_; }

    // Raises Click as the user's click would (respects Enabled).
    void PerformClick();

    void PropertyChanged(int id) override;

protected:
    enum : int {
        kLeft, kTop, kWidth, kHeight, kVisible, kEnabled, kToolTipText, kBackColor, kForeColor, kFont,
        kFirstOwn  // properties of the derived classes start here
    };

    explicit Control(Container& parent);
    // Called by the derived constructor once its widget exists: the widget is
    // placed in the container and every property is applied to it.
    void Attach(QWidget* widget);
    // Applies the colours; the derived classes decide which palette roles.
    virtual void ApplyColors();
    virtual void ApplyOwn(int id) {}
    // Whether the control raises Click itself on a press and release inside it
    // (labels, images, picture boxes); buttons raise it from their own signal.
    virtual bool ClicksOnRelease() const { return true; }
    // Whether the control is hidden by not painting itself and letting the
    // mouse through, its widget staying shown but without a size. Showing a
    // widget makes Qt ask the window system where the mouse is (a round trip
    // to an X server each time); the staff and strip pictures come and go by
    // the dozen per step.
    virtual bool HidesByPainting() const { return false; }
    virtual bool HandleEvent(QObject* watched, QEvent* event);
    // A key pressed while the control has the focus, after its KeyPress:
    // whether the control acted on it (then the form does not).
    virtual bool ActOnKey(const QKeyEvent&) { return false; }
    // Called when Visible or Enabled changed.
    virtual void AvailabilityChanged() {}
    // Input events of `child` (a part of the widget, such as a combo box's
    // edit field) reach this control's events too.
    void RouteEventsFrom(QWidget* child);
    void ApplyGeometry();
    void ApplyFont();
    void ApplyVisible();

    // Controls whose look changes by the dozen on every step (buttons set free
    // and pressed again, colours and captions cleared and written again) are
    // repainted only when their look differs from the one they were last asked
    // to show: `apply` brings the widget up to date without Qt's own repaint,
    // and once the handler is done (before the window is painted) the look is
    // compared and the widget repainted if it changed.
    virtual bool RepaintsOnLookChange() const { return false; }
    // Everything changed through ChangeLook that shows on screen, in a form
    // that compares equal exactly when the looks are the same.
    virtual std::string Look() const;
    void ChangeLook(const std::function<void()>& apply);
    // Asks for the look to be compared once the handler is done.
    void CheckLookLater();
    // The widget was repainted, or will be, for a reason of its own: the look
    // last shown is no longer known.
    void ForgetShownLook() { shownLook_.reset(); }

private:
    friend class Container;
    friend class EventBridge;
    Container* container_ = nullptr;
    QPointer<QWidget> widget_;
    HWND hwnd_ = 0;
    bool pressedInside_ = false;
    bool lookCheckPending_ = false;
    bool placePending_ = false;  // a control hidden by not painting is yet to be placed
    std::optional<std::string> shownLook_;

    friend class LookChecks;
    void CheckLook();
    void PlaceWidget();
    // Where the control stands in its container's client widget, in pixels,
    // at its full size.
    QRect ClientRect() const;

    friend class Layer;
    Layer* layer_ = nullptr;  // the layer its widget lies in, if any
};

// Names a control and puts it at its design place, as a form's design does
// for each control it holds.
inline void Place(Control& c, const char* name, float left, float top, float width, float height) {
    c.Name = name;
    c.Move(left, top, width, height);
}

}  // namespace forms
