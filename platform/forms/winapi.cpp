#include "platform/forms/winapi.h"

#include <cmath>

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMouseEvent>

#include "platform/forms/form.h"
#include "platform/forms/handles.h"

namespace forms {

namespace {

DragDriver g_dragDriver;

// Follows the mouse until its button is released, moving the control by the
// distance the mouse went since the press, as the system moves a window by
// its title bar.
class DragTracker : public QObject {
public:
    DragTracker(Control& control, QEventLoop& loop)
        : control_(control), loop_(loop), left_(control.Left), top_(control.Top) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const QPointF d = static_cast<QMouseEvent*>(event)->globalPosition() - MousePressPosition();
            control_.Move(left_ + PixelsToTwips(static_cast<int>(std::lround(d.x()))),
                          top_ + PixelsToTwips(static_cast<int>(std::lround(d.y()))));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            loop_.quit();
            return true;
        }
        return false;
    }

private:
    Control& control_;
    QEventLoop& loop_;
    float left_;
    float top_;
};

}  // namespace

int SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, int flags) {
    Object* object = FromHandle(hwnd);
    if (auto* form = dynamic_cast<Form*>(object)) {
        if (insertAfter == HWND_TOPMOST) form->SetTopmost(true);
        if (insertAfter == HWND_NOTOPMOST) form->SetTopmost(false);
        if (insertAfter == HWND_TOP) form->Widget()->raise();
        if (insertAfter == HWND_BOTTOM) form->Widget()->lower();
        if (!(flags & SWP_NOMOVE)) {
            form->Left = PixelsToTwips(x);
            form->Top = PixelsToTwips(y);
        }
        if (!(flags & SWP_NOSIZE)) {
            form->Width = PixelsToTwips(cx);
            form->Height = PixelsToTwips(cy);
        }
        return 1;
    }
    if (auto* control = dynamic_cast<Control*>(object)) {
        if (insertAfter == HWND_TOP) control->ZOrder(0);
        if (insertAfter == HWND_BOTTOM) control->ZOrder(1);
        if (!(flags & SWP_NOMOVE)) control->Move(PixelsToTwips(x), PixelsToTwips(y));
        if (!(flags & SWP_NOSIZE)) control->Move(control->Left, control->Top, PixelsToTwips(cx), PixelsToTwips(cy));
        return 1;
    }
    return 0;
}

int ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    return 1;
}

DragDriver SetDragDriver(DragDriver driver) {
    DragDriver previous = std::move(g_dragDriver);
    g_dragDriver = std::move(driver);
    return previous;
}

void DragControl(Control& control) {
    if (g_dragDriver) {
        g_dragDriver(control);
        return;
    }
    QWidget* widget = control.Widget();
    if (!MousePressActive() || !widget || !widget->isVisible() || !control.Visible || !qApp) return;
    QEventLoop loop;
    DragTracker tracker(control, loop);
    qApp->installEventFilter(&tracker);
    widget->grabMouse();
    loop.exec();
    if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
    qApp->removeEventFilter(&tracker);
    SetMousePressActive(false);
}

long SendMessage(HWND hwnd, int message, long wParam, long) {
    if (message != WM_NCLBUTTONDOWN || wParam != HTCAPTION) return 0;
    if (auto* control = dynamic_cast<Control*>(FromHandle(hwnd))) DragControl(*control);
    return 0;
}

}  // namespace forms
