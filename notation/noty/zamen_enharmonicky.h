// Enharmonic respelling of a note name, a helper of the main window.
#pragma once

#include <string>

#include "platform/vb/variant.h"

// The other spelling of the same tone ("gis2," -> "as2,", "his," -> "c1,",
// "ces1," -> "h,"), or "nejde" when the name has none.
vb::Variant ZamenEnharmonicky(const std::string& Ton);
