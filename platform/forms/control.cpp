#include "platform/forms/control.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>

#include "platform/forms/font.h"
#include "platform/forms/form.h"
#include "platform/forms/handles.h"
#include "platform/forms/layer.h"

namespace forms {

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

namespace {

int ButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= vbLeftButton;
    if (buttons & Qt::RightButton) code |= vbRightButton;
    if (buttons & Qt::MiddleButton) code |= vbMiddleButton;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= vbShiftMask;
    if (modifiers & Qt::ControlModifier) code |= vbCtrlMask;
    if (modifiers & Qt::AltModifier) code |= vbAltMask;
    return code;
}

// Input from the mouse and the keyboard.
bool IsInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut: return true;
    default: return false;
    }
}

// Whether a modal window (a message box, a modal form) other than the one
// `widget` lies in, or one of its owners, is up.
bool BlockedByModalWindow(const QWidget& widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    for (const QWidget* w = widget.window(); w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (w == modal) return false;
    return true;
}

}  // namespace

// The controls whose look is to be compared once the handler that changed it
// is done. The comparison runs from a posted event: Qt asks for the window to
// be painted with an event of low priority, so the comparisons come first and
// the repaints they ask for are painted with everything else.
class LookChecks : public QObject {
public:
    static LookChecks& Get() {
        static auto* checks = new LookChecks;  // lives as long as the program
        return *checks;
    }
    void Add(Control* control) {
        if (pending_.empty()) QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        pending_.push_back(control);
    }
    void Remove(Control* control) { pending_.erase(std::remove(pending_.begin(), pending_.end(), control), pending_.end()); }

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        const std::vector<Control*> controls = std::move(pending_);
        pending_.clear();
        for (Control* control : controls) control->CheckLook();
        return true;
    }

private:
    std::vector<Control*> pending_;
};

// Routes the widget's input events to the control's VB events.
class EventBridge : public QObject {
public:
    EventBridge(Control* control, QObject* parent) : QObject(parent), control_(control) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return control_->HandleEvent(watched, event); }

private:
    Control* control_;
};

Container::~Container() {
    for (Control* child : children_) child->container_ = nullptr;
}

void ForEachControl(const Container& container, const std::function<void(Control&)>& visit) {
    for (Control* control : container.Controls()) {
        visit(*control);
        if (const auto* inner = dynamic_cast<const Container*>(control)) ForEachControl(*inner, visit);
    }
}

Form* Control::ParentForm() const {
    for (Container* c = container_; c;) {
        if (auto* form = dynamic_cast<Form*>(c)) return form;
        auto* holder = dynamic_cast<Control*>(c);
        c = holder ? holder->container_ : nullptr;
    }
    return nullptr;
}

Control::Control(Container& parent) : container_(&parent) {
    parent.children_.push_back(this);
    if (parent.gathering_) parent.gathering_->Join(this);
    hwnd_ = RegisterHandle(this);
}

Control::~Control() {
    if (lookCheckPending_) LookChecks::Get().Remove(this);
    if (layer_) layer_->Forget(this);
    UnregisterHandle(hwnd_);
    if (container_) {
        auto& siblings = container_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    delete widget_.data();
}

void Control::Attach(QWidget* widget) {
    widget_ = widget;
    if (layer_)
        widget->setParent(layer_->Widget());
    else if (container_)
        widget->setParent(container_->ClientWidget());
    widget->installEventFilter(new EventBridge(this, widget));
    ApplyGeometry();
    ApplyColors();
    ApplyFont();
    widget->setEnabled(Enabled);
    widget->setToolTip(QString::fromStdString(ToolTipText));
    ApplyVisible();
}

void Control::ApplyVisible() {
    if (!widget_) return;
    if (!HidesByPainting()) return widget_->setVisible(Visible);
    widget_->setAttribute(Qt::WA_TransparentForMouseEvents, !Visible);
    if (widget_->isHidden()) widget_->show();
    ApplyGeometry();
}

void Control::ApplyGeometry() {
    if (!widget_) return;
    // A control hidden by not painting paints nothing wherever its widget
    // stands, so the widget is placed (shrunk where the control now stands)
    // once the handler is done: a head hidden and shown again at its place
    // within one step, or moved about while hidden, costs no repaint and no
    // reshuffling of what Qt knows about the widgets around it.
    if (HidesByPainting() && !Visible) {
        placePending_ = true;
        CheckLookLater();
        return;
    }
    PlaceWidget();
}

QRect Control::ClientRect() const {
    const QPoint origin = container_ ? container_->ClientOrigin() : QPoint();
    return {origin.x() + TwipsToPixels(Left), origin.y() + TwipsToPixels(Top), std::max(0, TwipsToPixels(Width)),
            std::max(0, TwipsToPixels(Height))};
}

void Control::PlaceWidget() {
    QRect at = ClientRect();
    if (layer_) {
        if (at.isValid() && !layer_->Widget()->geometry().contains(at)) layer_->Reach(at);
        at.translate(-layer_->Offset());
    }
    // A control hidden by not painting shrinks to nothing where it stands: Qt
    // then leaves it out when it repaints what lies around it, and moving it
    // repaints nothing.
    if (!Visible && HidesByPainting()) at.setSize({0, 0});
    widget_->setGeometry(at);
}

void SetPaletteColor(QPalette& palette, QPalette::ColorRole role, OleColor color, bool allGroups) {
    const QColor c = ToQColor(color);
    if (allGroups) {
        palette.setColor(role, c);
        return;
    }
    palette.setColor(QPalette::Active, role, c);
    palette.setColor(QPalette::Inactive, role, c);
}

void Control::ApplyColors() {
    if (!widget_) return;
    QPalette pal = widget_->palette();
    SetPaletteColor(pal, QPalette::Window, BackColor, true);
    SetPaletteColor(pal, QPalette::WindowText, ForeColor, false);
    widget_->setPalette(pal);
    widget_->setAutoFillBackground(true);
}

void Control::ApplyFont() {
    if (widget_) widget_->setFont(ProgramFont(FontSize, FontBold));
}

void Control::PropertyChanged(int id) {
    if (!widget_) return;
    switch (id) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: ApplyGeometry(); break;
    case kVisible:
        ApplyVisible();
        AvailabilityChanged();
        break;
    case kEnabled:
        ChangeLook([this] { widget_->setEnabled(Enabled); });
        AvailabilityChanged();
        break;
    case kToolTipText: widget_->setToolTip(QString::fromStdString(ToolTipText)); break;
    case kBackColor:
    case kForeColor: ChangeLook([this] { ApplyColors(); }); break;
    case kFont: ApplyFont(); break;
    default: ApplyOwn(id); break;
    }
}

std::string Control::Look() const {
    return std::to_string(BackColor) + ' ' + std::to_string(ForeColor) + (Enabled ? " on" : " off");
}

void Control::ChangeLook(const std::function<void()>& apply) {
    QWidget* w = widget_;
    if (!w || !RepaintsOnLookChange() || !w->updatesEnabled()) {
        apply();
        ForgetShownLook();
        return;
    }
    // Qt repaints a widget on any change of its palette, text or state. The
    // widgets deciding for themselves have no children, so holding off the
    // updates of the widget alone for the change holds off all of them.
    w->setAttribute(Qt::WA_UpdatesDisabled, true);
    apply();
    w->setAttribute(Qt::WA_UpdatesDisabled, false);
    CheckLookLater();
}

void Control::CheckLookLater() {
    if (lookCheckPending_) return;
    lookCheckPending_ = true;
    LookChecks::Get().Add(this);
}

void Control::CheckLook() {
    lookCheckPending_ = false;
    if (!widget_) return;
    if (std::exchange(placePending_, false) && !Visible) PlaceWidget();
    std::string look = Look();
    if (shownLook_ && *shownLook_ == look) return;
    widget_->update();
    shownLook_ = std::move(look);
}

void Control::Move(float left, float top, float width, float height) {
    Left.Assign(left);
    Top.Assign(top);
    if (width >= 0) Width.Assign(width);
    if (height >= 0) Height.Assign(height);
    ApplyGeometry();
}

void Control::ZOrder(int position) {
    if (!widget_) return;
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

void Control::SetFocus() {
    if (widget_) widget_->setFocus();
}

void Control::PerformClick() {
    if (Enabled && Click) Click();
}

void Control::RouteEventsFrom(QWidget* child) { child->installEventFilter(new EventBridge(this, child)); }

bool Control::HandleEvent(QObject*, QEvent* event) {
    // While a modal window is up the other windows take no input, as the
    // classic modal box disables them. The window system's input is held back
    // already; input posted before the window came, and seen to inside it, is
    // dropped here, so that no second command runs inside the first one's box.
    if (IsInput(*event) && widget_ && BlockedByModalWindow(*widget_)) return true;
    if (!Enabled) return false;  // a disabled control raises no events
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        pressedInside_ = true;
        SetMousePressActive(true, e->globalPosition());
        if (MouseDown)
            MouseDown(ButtonCode(e->button()), ShiftCode(e->modifiers()), PixelsToTwips(e->position().toPoint().x()),
                      PixelsToTwips(e->position().toPoint().y()));
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        SetMousePressActive(false);
        if (MouseUp)
            MouseUp(ButtonCode(e->button()), ShiftCode(e->modifiers()), PixelsToTwips(e->position().toPoint().x()),
                    PixelsToTwips(e->position().toPoint().y()));
        const bool inside = widget_ && widget_->rect().contains(e->position().toPoint());
        if (pressedInside_ && inside && ClicksOnRelease() && Click) {
            pressedInside_ = false;
            Click();
            return false;
        }
        pressedInside_ = false;
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (MouseMove)
            MouseMove(ButtonCode(e->buttons()), ShiftCode(e->modifiers()), PixelsToTwips(e->position().toPoint().x()),
                      PixelsToTwips(e->position().toPoint().y()));
        return false;
    }
    case QEvent::MouseButtonDblClick:
        if (DblClick) DblClick();
        return false;
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (KeyPress && !e->text().isEmpty()) {
            int keyAscii = e->text().at(0).unicode();
            KeyPress(keyAscii);
            if (keyAscii == 0) return true;
        }
        if (ActOnKey(*e)) return true;
        Form* form = ParentForm();
        return form && form->TakeKey(*e, this);
    }
    default: return false;
    }
}

}  // namespace forms
