// VB's Timer: raises OnTimer every Interval milliseconds while Enabled and
// Interval > 0, on the GUI thread.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/control.h"

class QTimer;

namespace forms {

class Timer : public Object, public PropertyOwner {
public:
    Timer();
    ~Timer() override;

    Property<int> Interval{this, 0, 0, Notify::Always};
    Property<bool> Enabled{this, 1, true, Notify::Always};

    // The Timer event.
    std::function<void()> OnTimer;

    void PropertyChanged(int id) override;

private:
    std::unique_ptr<QTimer> timer_;
};

}  // namespace forms
