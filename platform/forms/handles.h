// Window handles of the forms and controls, and whether a mouse button
// pressed on one of our controls is still down: the state that the controls,
// the forms and the window-system calls share. Nothing here knows a control.
#pragma once

#include <cstdint>

#include <QPointF>

namespace forms {

class Object;

// A window handle as the platform calls take it (SetWindowPos, SendMessage).
using HWND = std::int32_t;

HWND RegisterHandle(Object* object);
void UnregisterHandle(HWND hwnd);
// The form or control of a handle; nullptr when none lives.
Object* FromHandle(HWND hwnd);

// A mouse button pressed on one of our controls is down (where it was pressed,
// in global coordinates), or was released.
void SetMousePressActive(bool active, QPointF globalPosition = {});
bool MousePressActive();
QPointF MousePressPosition();

}  // namespace forms
