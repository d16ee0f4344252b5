#include "platform/forms/timer.h"

#include <QTimer>

namespace forms {

Timer::Timer() : timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (OnTimer) OnTimer();
    });
}

Timer::~Timer() = default;

void Timer::PropertyChanged(int) {
    // Any assignment starts the count afresh, as VB does when Interval or
    // Enabled is set.
    timer_->stop();
    if (Enabled && Interval > 0) {
        timer_->setInterval(Interval);
        timer_->start();
    }
}

}  // namespace forms
