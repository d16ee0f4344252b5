// A key pressed as the user presses it: the control takes the focus, then
// the key goes to the widget that has the focus in its window.
#pragma once

#include <QTest>
#include <QWidget>

#include "platform/forms/control.h"

namespace testsupport {

inline void PressKey(forms::Control& focused, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    focused.SetFocus();
    QWidget* target = focused.Widget()->window()->focusWidget();
    QTest::keyClick(target ? target : focused.Widget(), key, modifiers);
}

}  // namespace testsupport
