#include "platform/forms/form.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include "platform/forms/controls.h"
#include "platform/forms/font.h"
#include "platform/forms/handles.h"
#include "platform/forms/window_focus.h"

namespace forms {

namespace {
ModalDriver g_modalDriver;

// How long a window that comes up is watched for its title bar: the window
// manager frames and maps it a few turns of the event loop after it was shown.
constexpr int kPlaceCheckEvery = 50;  // ms
constexpr int kPlaceChecks = 40;

// Living forms, the one shown most recently last.
std::vector<Form*>& ShownOrder() {
    static std::vector<Form*> forms;
    return forms;
}

void Forget(Form* form) {
    auto& order = ShownOrder();
    order.erase(std::remove(order.begin(), order.end(), form), order.end());
}
}  // namespace

namespace {
std::vector<FormInstanceBase*>& Instances() {
    static std::vector<FormInstanceBase*> instances;
    return instances;
}
}  // namespace

FormInstanceBase::FormInstanceBase() { Instances().push_back(this); }

FormInstanceBase::~FormInstanceBase() {
    auto& all = Instances();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void ReleaseFormInstances() {
    for (FormInstanceBase* instance : std::vector<FormInstanceBase*>(Instances())) instance->Reset();
}

namespace {
Form* g_mainForm = nullptr;
}

void SetMainForm(Form* form) { g_mainForm = form; }

Form* MainForm() { return g_mainForm; }

Form* CurrentForm() {
    const auto& order = ShownOrder();
    auto shown = [](const Form* f) { return f->Widget() && f->Widget()->isVisible(); };
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (shown(*it) && (*it)->IsModal()) return *it;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (shown(*it) && (*it)->IsTopmost()) return *it;
    for (Form* f : order)
        if (shown(f) && f->Widget()->isActiveWindow()) return f;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (shown(*it)) return *it;
    return nullptr;
}

ModalDriver SetModalDriver(ModalDriver driver) {
    ModalDriver previous = std::move(g_modalDriver);
    g_modalDriver = std::move(driver);
    return previous;
}

class FormWindow : public QMainWindow {
public:
    explicit FormWindow(Form* form) : form_(form) { TakeFocusWhenShown(*this); }

protected:
    void closeEvent(QCloseEvent* event) override {
        // The close box unloads the form; the form hides itself when the
        // unload goes through, so the window is never closed by Qt.
        event->ignore();
        form_->UnloadAs(vbFormControlMenu);
    }
    void resizeEvent(QResizeEvent* event) override {
        QMainWindow::resizeEvent(event);
        form_->WindowResized();
        form_->KeepTitleBarOnScreen();
    }
    void moveEvent(QMoveEvent* event) override {
        QMainWindow::moveEvent(event);
        form_->KeepTitleBarOnScreen();
    }
    // Keys that none of the form's controls took (none of them has the focus,
    // or the one that has it passed the key on).
    void keyPressEvent(QKeyEvent* event) override {
        if (!form_->TakeKey(*event, nullptr)) QMainWindow::keyPressEvent(event);
    }

private:
    Form* form_;
};

Form::Form() : window_(new FormWindow(this)) {
    client_ = new QWidget;
    window_->setCentralWidget(client_);
    client_->setAutoFillBackground(true);
    hwnd_ = RegisterHandle(this);
    placeWatch_ = new QTimer(window_);
    placeWatch_->setInterval(kPlaceCheckEvery);
    QObject::connect(placeWatch_, &QTimer::timeout, [this] {
        KeepTitleBarOnScreen();
        if (--placeChecks_ <= 0) placeWatch_->stop();
    });
    PropertyChanged(kBackColor);
    ApplyGeometry();
}

Form::~Form() {
    Forget(this);
    if (g_mainForm == this) g_mainForm = nullptr;
    UnregisterHandle(hwnd_);
    if (modalLoop_) modalLoop_->quit();
    delete window_.data();
}

QMainWindow* Form::Widget() const { return window_; }

QWidget* Form::ClientWidget() { return client_; }

QMenuBar* Form::MenuBar() { return window_->menuBar(); }

int Form::MenuBarHeight() const {
    QWidget* bar = window_->menuWidget();
    return bar ? bar->sizeHint().height() : 0;
}

float Form::ScaleWidth() const { return PixelsToTwips(TwipsToPixels(Width)); }

float Form::ScaleHeight() const {
    const int inner = TwipsToPixels(Height) - MenuBarHeight();
    return PixelsToTwips(inner > 0 ? inner : 0);
}

void Form::SetClientSize(float width, float height) {
    Width.Assign(width);
    Height.Assign(height + PixelsToTwips(MenuBarHeight()));
    ApplyGeometry();
}

void Form::ApplyGeometry() {
    applying_ = true;
    window_->resize(TwipsToPixels(Width), TwipsToPixels(Height));
    window_->move(OnScreen({TwipsToPixels(Left), TwipsToPixels(Top)}));
    placedWithFrame_ = FrameMargins();
    applying_ = false;
    if (window_->isVisible()) WatchPlace();
}

QMargins Form::FrameMargins() const {
    const QRect frame = window_->frameGeometry();
    const QRect inner = window_->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QPoint Form::OnScreen(QPoint wanted) const {
    const QScreen* screen = QGuiApplication::screenAt(wanted);
    if (!screen) screen = window_->screen();
    if (!screen) return wanted;
    // The frame as it is known: before the window is first shown, the window
    // system's part of it (the title bar) is not known yet and counts as none.
    const QSize frame = window_->frameGeometry().size();
    const QRect area = screen->availableGeometry();
    // The top left corner on the area; the rest of the frame too, where it fits.
    const int x = std::max(area.left(), std::min(wanted.x(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

void Form::WatchPlace() {
    placeChecks_ = kPlaceChecks;
    placeWatch_->start();
}

void Form::KeepTitleBarOnScreen() {
    // Only while the window comes up: afterwards its place is the user's.
    if (placeChecks_ <= 0 || applying_ || !window_->isVisible()) return;
    const QScreen* screen = window_->screen();
    if (!screen) return;
    const QRect frame = window_->frameGeometry();
    QPoint wanted;
    if (placedWithFrame_.isNull() && !FrameMargins().isNull()) {
        // The window manager's frame has come: the program's place again, with the whole frame.
        wanted = {TwipsToPixels(Left), TwipsToPixels(Top)};
    } else if (!screen->availableGeometry().contains(frame.topLeft())) {
        // The window system put it elsewhere: a window resized before the
        // window manager framed it can end up with its title bar above the screen.
        wanted = frame.topLeft();
    } else {
        return;
    }
    applying_ = true;
    window_->move(OnScreen(wanted));
    placedWithFrame_ = FrameMargins();
    applying_ = false;
}

void Form::WindowResized() {
    if (!applying_) {
        // The user resized the window: the properties follow it, unless they
        // already name this size (then they keep the program's exact values).
        const QSize size = window_->size();
        if (size.width() != TwipsToPixels(Width)) Width.Assign(PixelsToTwips(size.width()));
        if (size.height() != TwipsToPixels(Height)) Height.Assign(PixelsToTwips(size.height()));
    }
    if (loaded_) Form_Resize();
}

void Form::PropertyChanged(int id) {
    switch (id) {
    case kCaption: {
        const QString title = QString::fromStdString(Caption);
        window_->setWindowTitle(title);
        // The window is at least as wide as its whole title with the window
        // manager's buttons beside it, so the title is never cut short.
        const QScreen* screen = window_->screen();
        const int limit = screen ? screen->availableGeometry().width() : 1600;
        window_->setMinimumWidth(std::min(QFontMetrics(TitleBarFont()).horizontalAdvance(title) + 130, limit));
        break;
    }
    case kGeometry: ApplyGeometry(); break;
    case kBackColor: {
        QPalette pal = client_->palette();
        SetPaletteColor(pal, QPalette::Window, BackColor, true);
        client_->setPalette(pal);
        break;
    }
    case kVisible:
        if (Visible)
            Show(vbModeless);
        else
            Hide();
        break;
    default: break;
    }
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::Show(int modal) {
    Load();
    if (!loaded_) return;  // Form_Load unloaded it again
    Visible.Assign(true);
    const bool wantModal = modal == vbModal;
    if (wantModal != modal_ && window_->isVisible()) window_->hide();
    modal_ = wantModal;
    window_->setWindowModality(modal_ ? Qt::ApplicationModal : Qt::NonModal);
    Forget(this);
    ShownOrder().push_back(this);
    window_->show();
    window_->raise();
    window_->activateWindow();
    WatchPlace();
    KeepTitleBarOnScreen();
    if (!modal_) return;
    if (g_modalDriver) {
        g_modalDriver(*this);
        if (window_ && window_->isVisible() && modal_) {
            HideWindow();
            throw std::logic_error("modal form " + Name + " left open by the test's modal driver");
        }
        return;
    }
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec();
    modalLoop_ = nullptr;
}

void Form::Hide() {
    Visible.Assign(false);
    HideWindow();
}

void Form::HideWindow() {
    if (!window_) return;
    window_->hide();
    if (modal_) {
        modal_ = false;
        window_->setWindowModality(Qt::NonModal);
    }
    if (modalLoop_) modalLoop_->quit();
}

void Form::Unload() { UnloadAs(vbFormCode); }

void Form::UnloadAs(int mode) {
    if (!loaded_) {
        // A form that was never loaded (or is unloaded already) just closes.
        Hide();
        return;
    }
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel != 0) return;
    Form_Unload(cancel);
    if (cancel != 0) return;
    loaded_ = false;
    wasUnloaded_ = true;
    Hide();
    if (Unloaded) Unloaded();
}

namespace {

// The button of the form whose `role` (Default or Cancel) is set; nullptr when none is.
CommandButton* ButtonWithRole(const Form& form, Property<bool> CommandButton::*role) {
    CommandButton* found = nullptr;
    ForEachControl(form, [&](Control& control) {
        auto* button = dynamic_cast<CommandButton*>(&control);
        if (!found && button && (button->*role)()) found = button;
    });
    return found;
}

// Whether the user could click the button now.
bool CanBePressed(const CommandButton* button) {
    const QWidget* w = button ? button->Widget() : nullptr;
    return w && w->isVisible() && w->isEnabled();
}

}  // namespace

bool Form::TakeKey(const QKeyEvent& key, Control* focused) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    // What the key does; a key held down does it once.
    std::function<void()> action;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        auto* button = dynamic_cast<CommandButton*>(focused);
        if (!CanBePressed(button)) button = ButtonWithRole(*this, &CommandButton::Default);
        if (CanBePressed(button)) action = [button] { button->PerformClick(); };
        break;
    }
    case Qt::Key_Escape:
        if (CommandButton* cancel = ButtonWithRole(*this, &CommandButton::Cancel)) {
            if (CanBePressed(cancel)) action = [cancel] { cancel->PerformClick(); };
        } else if (this != MainForm()) {
            // A dialog without a Cancel button closes as its close box closes it.
            action = [this] { UnloadAs(vbFormControlMenu); };
        }
        break;
    default: break;
    }
    if (!action) return false;
    if (!key.isAutoRepeat()) action();
    return true;
}

bool Form::IsTopmost() const { return window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Form::SetTopmost(bool on) {
    if (IsTopmost() == on) return;
    // Changing the flags of a shown window hides it; it is shown again.
    const bool shown = window_->isVisible();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) window_->show();
}

}  // namespace forms
