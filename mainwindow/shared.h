// Routines that handlers in several of the main window's topic files call
// alike.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms/color.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/variant.h"
#include "tonelib/calvira12.h"

namespace forms {
class Image;
}

// The bellows direction of a grip as Form1::SmerMechu and the readers keep
// it: push ("Tlak"); pull is 0.
inline constexpr std::int16_t kTlak = -1;

// The piano keys' free colours: black keys in the window-text colour, white
// keys in the caption-text colour.
inline constexpr forms::OleColor kCernaKlavesa = forms::vbWindowText;   // &H80000008
inline constexpr forms::OleColor kBilaKlavesa = forms::vbTitleBarText;  // &H80000009

// The back colours of "?" and "Zpět" after a row has been read on the side
// its column I names. A step reads push in purple, a grip writer reads the
// row after the one it wrote in light red; pull is light blue after either.
inline constexpr forms::OleColor kBarvaTlakPoKroku = 0x00C000C0;
inline constexpr forms::OleColor kBarvaTlakPoZapisu = 0x008080FF;
inline constexpr forms::OleColor kBarvaTah = 0x00FF8080;

// The row number of the spreadsheet's active cell, as text for an address.
std::string Radek();

// Which picture a treble button takes from a source pair (imgKnoflikVol,
// imgKnofCerv): its own Tag, 0 for a white key's button, 1 for a black one's.
int DruhKnofliku(const forms::Image& knoflik);

// Whether treble button `knoflik` (1-49) has a second picture on the
// keyboard: button 1 and the multiples of 3 appear only once.
inline bool MaDruhyObrazek(int knoflik) { return knoflik != 1 && knoflik % 3 != 0; }

// A song window that can no longer be reached (closed from Excel) is said in
// plain words; anything else is the unexpected-error message.
void OznamChybuOkna(const vb::RuntimeError& e);

// An error the user may well go on after: where it happened ("V programu",
// "Při otevírání písně", ...), its number and whom to call, with the
// exclamation icon.
void OznamChybuSPokracovanim(const std::string& kde, int cislo, const std::string& titulek);

// The result of the tone-name object's last call.
vb::Variant VysledekKlice(calvira::_Calvira12& klic);

// The tone number (1-49) of a note name, kNeniTon when no treble tone has
// that name.
inline constexpr std::uint8_t kNeniTon = 99;
std::uint8_t CisloTonu(calvira::_Calvira12& klic, const std::string& nota);

// The message for a note of the song that names no treble tone.
void OznamNeexistujiciNotu(const std::string& nota);

// The name of tone `ton` spelled for the scale `stupnice` (a caption of the
// scale button; one that is no scale gives the plain spelling), and whether
// the tone lies outside that scale. The number crosses by reference, as the
// window's own variable.
std::string TonVeStupnici(calvira::_Calvira12& klic, std::int16_t& ton, const std::string& stupnice,
                          bool& mimoStupnici);
