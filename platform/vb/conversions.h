// VB's conversion functions as the handler code uses them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/vb/variant.h"

namespace vb {

// Round half to even, then range-check: error 6 when the value does not fit,
// error 13 when a text is not a number.
std::uint8_t CByte(const Variant& v);
std::int16_t CInt(const Variant& v);
std::int32_t CLng(const Variant& v);
double CDbl(const Variant& v);
bool CBool(const Variant& v);
// Empty gives "", numbers their shortest decimal text, Booleans "True"/"False".
std::string CStr(const Variant& v);
// The number at the start of a text, blanks skipped; 0 when there is none.
double Val(const std::string& s);

// Rounding of CInt/CLng: halves go to the even neighbour.
double RoundHalfEven(double x);

}  // namespace vb
