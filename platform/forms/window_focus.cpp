#include "platform/forms/window_focus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace forms {

namespace {

// How long a window asks for the focus while the focus is nowhere of ours
// (a user who went on to another program meanwhile is left there), and how
// long a modeless window asks for it after it came up.
constexpr qint64 kAskForAWhile = 3000;  // ms
// How long a modeless window that came up asks for the focus back when the
// window manager hands it on (to the window that hid as it came, say).
constexpr qint64 kComingUp = 1000;  // ms
constexpr int kCheckEvery = 40;         // ms

// Counts the modeless windows shown: of two coming up at once, the later one
// takes the focus.
int g_modelessShown = 0;

// Asks for the focus for one window, from a timer that runs while the
// window needs it. A modal window asks whenever it is the topmost modal
// window without the focus: always while the focus is in another window of
// the program, which takes no input while it is up, and for a while after it
// came (or came to the top again) while the focus is nowhere of ours. A
// modeless window asks whenever it is without the focus while it comes up,
// and after that until it has had the focus, for a while at most; it leaves
// the say to a modal window over it and to a modeless one shown after it.
class WindowFocus : public QObject {
public:
    explicit WindowFocus(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(QStringLiteral("forms::WindowFocus"));
        timer_.setInterval(kCheckEvery);
        connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
        window.installEventFilter(this);
    }

    static WindowFocus* Of(QWidget& window) {
        return window.findChild<WindowFocus*>(QStringLiteral("forms::WindowFocus"), Qt::FindDirectChildrenOnly);
    }

    void Shown() {
        onTop_ = false;
        if (!window_.isModal()) turn_ = ++g_modelessShown;
        hadFocus_ = window_.isActiveWindow();
        since_.start();
        timer_.start();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) hadFocus_ = true;
        return false;
    }

private:
    void Check() {
        if (!window_.isVisible()) {
            timer_.stop();
            return;
        }
        // A menu or list opened in a window holds the keys meanwhile.
        if (QApplication::activePopupWidget()) return;
        if (window_.isModal())
            CheckModal();
        else
            CheckModeless();
    }

    void CheckModal() {
        if (QApplication::activeModalWidget() != &window_) {
            onTop_ = false;  // a modal window over it has the say
            return;
        }
        if (!onTop_) {
            onTop_ = true;
            since_.start();
        }
        if (window_.isActiveWindow()) return;
        if (QGuiApplication::focusWindow() || since_.elapsed() < kAskForAWhile) Ask();
    }

    void CheckModeless() {
        const qint64 up = since_.elapsed();
        if ((hadFocus_ && up >= kComingUp) || up >= kAskForAWhile || turn_ != g_modelessShown) {
            timer_.stop();  // the focus is the user's now
            return;
        }
        if (!window_.isActiveWindow() && !QApplication::activeModalWidget()) Ask();
    }

    void Ask() {
        window_.raise();
        window_.activateWindow();
    }

    QWidget& window_;
    QTimer timer_;
    bool onTop_ = false;
    bool hadFocus_ = false;
    int turn_ = 0;
    QElapsedTimer since_;
};

// Arms a window's focus keeper each time the window is shown.
class WindowWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow()) return false;
        WindowFocus* focus = WindowFocus::Of(*window);
        if (!focus && window->isModal() && TakesFocus(*window)) focus = new WindowFocus(*window);
        if (focus) focus->Shown();
        return false;
    }

private:
    // Windows that pass the keys on to another (menus, lists, tool tips) never take the focus.
    static bool TakesFocus(const QWidget& window) {
        switch (window.windowType()) {
        case Qt::Popup:
        case Qt::ToolTip:
        case Qt::SplashScreen: return false;
        default: return !window.testAttribute(Qt::WA_ShowWithoutActivating);
        }
    }
};

}  // namespace

void WatchWindowFocus() {
    static QPointer<WindowWatch> watch;  // goes with the application
    if (watch || !qApp) return;
    watch = new WindowWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
}

void TakeFocusWhenShown(QWidget& window) {
    WatchWindowFocus();
    if (!WindowFocus::Of(window)) new WindowFocus(window);
}

}  // namespace forms
