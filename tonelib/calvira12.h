// The interface of the component calvira (libcalvira.so) as its clients bind
// to it: the class Calvira12 with its dual interface _Calvira12, and the
// identifiers to create it by (com::CreateObject / com::CoCreateInstance).
//
// The order of the entries below is the binary contract: after the seven
// entries of IUnknown and IDispatch come the property accessors of Vysledek
// and TonNeniVeStupnici, then the three methods. Every entry returns an
// HRESULT. The methods leave their result in Vysledek (and DejTonVeStupnici
// also in TonNeniVeStupnici) and never write their arguments.
//
// The library also exports, with C linkage, ComTypeLib and ComVersionInfo
// (platform/com/typelib.h): its type library and its version block.
#pragma once

#include "platform/com/com.h"

namespace calvira {

inline constexpr com::GUID LIBID_calvira = com::MakeGuid("{95BB519A-B19F-4A33-BD67-A99A3929BC0C}");
inline constexpr com::GUID IID_Calvira12 = com::MakeGuid("{90AF8F35-140E-4BD2-A483-73DBE7A07CC8}");  // _Calvira12
inline constexpr com::GUID CLSID_Calvira12 = com::MakeGuid("{AD0DA24E-3518-4B73-B04F-C36B924D793D}");

inline constexpr std::uint16_t kTypeLibMajor = 23;
inline constexpr std::uint16_t kTypeLibMinor = 0;

// Dispatch ids of the members.
inline constexpr com::DISPID DISPID_Vysledek = 0x40030003;
inline constexpr com::DISPID DISPID_TonNeniVeStupnici = 0x40030004;
inline constexpr com::DISPID DISPID_DejTon = 0x60030000;
inline constexpr com::DISPID DISPID_DejTonVeStupnici = 0x60030001;
inline constexpr com::DISPID DISPID_DejCisloTonu = 0x60030011;

class _Calvira12 : public com::IDispatch {
public:
    // Vysledek: the result of the last method call (Empty before the first).
    virtual com::HRESULT get_Vysledek(com::VARIANT* result) = 0;
    virtual com::HRESULT put_Vysledek(com::VARIANT* value) = 0;
    virtual com::HRESULT putref_Vysledek(com::VARIANT* value) = 0;
    // TonNeniVeStupnici: True (-1) when the last spelled tone lies outside its scale.
    virtual com::HRESULT get_TonNeniVeStupnici(com::VARIANT_BOOL* result) = 0;
    virtual com::HRESULT put_TonNeniVeStupnici(com::VARIANT_BOOL value) = 0;
    // Tone number 1-49 to its plain note name, "Nenalezeno" for any other value.
    virtual com::HRESULT DejTon(com::VARIANT* CisloTonu) = 0;
    // Tone number to its name spelled for a major scale ("C Dur" ... "Ces Dur").
    virtual com::HRESULT DejTonVeStupnici(com::VARIANT* CisloTonu, com::VARIANT* Stupnice) = 0;
    // Note name to its tone number (a 16-bit integer), 99 when no tone has that name.
    virtual com::HRESULT DejCisloTonu(com::VARIANT* Ton) = 0;

protected:
    ~_Calvira12() = default;
};

}  // namespace calvira
