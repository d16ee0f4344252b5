// Routines that handlers in several of the main window's topic files call
// alike.
#pragma once

#include <cstdint>
#include <string>

#include "platform/vb/runtime_error.h"
#include "platform/vb/variant.h"
#include "tonelib/calvira12.h"

// A song window that can no longer be reached (closed from Excel) is said in
// plain words; anything else is the unexpected-error message.
void OznamChybuOkna(const vb::RuntimeError& e);

// An error the user may well go on after: where it happened ("V programu",
// "Při otevírání písně", ...), its number and whom to call, with the
// exclamation icon.
void OznamChybuSPokracovanim(const std::string& kde, int cislo, const std::string& titulek);

// The result of the tone-name object's last call.
vb::Variant VysledekKlice(calvira::_Calvira12& klic);

// The tone number (1-49) of a note name, 99 when no treble tone has that name.
std::uint8_t CisloTonu(calvira::_Calvira12& klic, const std::string& nota);

// The name of tone `ton` spelled for the scale `stupnice` (a caption of the
// scale button; one that is no scale gives the plain spelling), and whether
// the tone lies outside that scale. The number crosses by reference, as the
// window's own variable.
std::string TonVeStupnici(calvira::_Calvira12& klic, std::int16_t& ton, const std::string& stupnice,
                          bool& mimoStupnici);
