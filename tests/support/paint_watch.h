// What a widget paints while a test watches it, and the event loop's turn
// that lets deferred updates and their painting happen.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

namespace testsupport {

// The paint events a widget gets while it is watched, and the region they cover.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* w) : w_(w) { w->installEventFilter(this); }
    ~PaintWatch() override { w_->removeEventFilter(this); }
    int paints = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }

private:
    QWidget* w_;
};

// Posted events sent and the painting they ask for done.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
}

}  // namespace testsupport
