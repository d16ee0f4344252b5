// The column of the fifteen major scales in the scale dialogs (the scale
// choice before recording, the target of a conversion): one option button
// per scale, in the order of kDuroveStupnice, each captioned with its scale.
// The two columns differ only in the width of their options.
#pragma once

#include <string>

#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"

// Loads options 0-14 into `ramecek`, one below the other 360 twips apart
// from 240 twips below its top, each `sirka` twips wide; none is chosen.
void NactiVolbyStupnic(forms::ControlArray<forms::OptionButton>& volby, forms::Container& ramecek, float sirka);

// The scale whose option is chosen; "" when none is.
std::string ZvolenaStupnice(const forms::ControlArray<forms::OptionButton>& volby);
