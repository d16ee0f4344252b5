// The few window-system calls the program makes, on our forms and controls:
// topmost windows (SetWindowPos) and moving a control with the mouse
// (ReleaseCapture + SendMessage WM_NCLBUTTONDOWN HTCAPTION).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/forms/control.h"
#include "platform/forms/handles.h"

namespace forms {

class Form;

inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_BOTTOM = 1;
inline constexpr HWND HWND_TOPMOST = -1;
inline constexpr HWND HWND_NOTOPMOST = -2;
inline constexpr int SWP_NOSIZE = 0x1;
inline constexpr int SWP_NOMOVE = 0x2;
inline constexpr int WM_NCLBUTTONDOWN = 0xA1;
inline constexpr int HTCAPTION = 2;

// Topmost on (HWND_TOPMOST) or off (HWND_NOTOPMOST) for a form; HWND_TOP and
// HWND_BOTTOM raise or lower it. Without SWP_NOMOVE the window moves to x, y,
// without SWP_NOSIZE it takes the size cx, cy (pixels). Returns 0 for a handle
// that names no form, 1 otherwise.
int SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, int flags);

int ReleaseCapture();

// WM_NCLBUTTONDOWN with HTCAPTION on a control's handle: the user moves the
// control with the mouse; the call returns when the button is released, and
// the control's Left and Top then say where it was dropped. Other messages
// are ignored. Returns 0.
long SendMessage(HWND hwnd, int message, long wParam, long lParam);

// Moves `control` with the mouse until the button is released. Runs only
// while a mouse button pressed on one of our controls is still down (the
// mouse-down event that starts a drag); otherwise returns at once.
void DragControl(Control& control);

// Tests take the user's part in a drag: while a driver is installed,
// DragControl calls it instead of following the mouse, and the driver moves
// the control (sets Left and Top) as the user would. Returns the previous one.
using DragDriver = std::function<void(Control&)>;
DragDriver SetDragDriver(DragDriver driver);

}  // namespace forms
