// Moving a picture of the entry staff with the mouse, as the system moves a
// window by its title bar.
#pragma once

#include <cstdint>

// Lets the user drag the control whose window handle is `hWnd`; returns when
// the mouse button is released, the control's Left and Top then telling
// where it was dropped.
void PretahniObjekt(std::int32_t& hWnd);
