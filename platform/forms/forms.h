// The control layer the program's forms are written on: include this one.
#pragma once

#include "platform/forms/color.h"
#include "platform/forms/control.h"
#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/forms/font.h"
#include "platform/forms/form.h"
#include "platform/forms/layer.h"
#include "platform/forms/menu.h"
#include "platform/msgbox/msgbox.h"
#include "platform/forms/picture.h"
#include "platform/forms/timer.h"
#include "platform/forms/winapi.h"
