// What the recording topics share: the note a head of the entry staff shows,
// and the message for a head that shows none.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms/color.h"

class Form1;

// The colour of a pressed treble button's piano key (red).
inline constexpr forms::OleColor kStisknutaKlavesa = 255;

// The Top of the trays where removed heads and signs of the entry staff are
// parked, whatever their index.
inline constexpr float kZasobnik = 8400;

// A head of the entry staff right of this stands on the staff.
inline constexpr float kHlavaNaOsnove = 1920;

// The note name of entry-staff head `s` as recognition reads it with the
// signs beside it and the current scale; "" when its height holds no note of
// the staff (10040 lies in the drop band below "c,") or recognition names none.
std::string JmenoHlavy(Form1& f, std::int16_t s);

// The message for a staff head that names no note of the instrument.
void OznamNeplatnouNotu();
