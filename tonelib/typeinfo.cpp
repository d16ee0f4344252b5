#include "tonelib/internal/typeinfo.h"

#include "tonelib/calvira12.h"

namespace calvira {

namespace {

using namespace com;

constexpr std::uint16_t kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
constexpr std::uint16_t kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

constexpr ParamDesc kGetVysledek[] = {{"retval", VT_VARIANT | VT_BYREF, kRetval}};
constexpr ParamDesc kPutVysledek[] = {{"RHS", VT_VARIANT | VT_BYREF, PARAMFLAG_FIN}};
constexpr ParamDesc kGetFlag[] = {{"retval", VT_BOOL | VT_BYREF, kRetval}};
constexpr ParamDesc kPutFlag[] = {{"RHS", VT_BOOL, PARAMFLAG_FIN}};
constexpr ParamDesc kDejTon[] = {{"CisloTonu", VT_VARIANT | VT_BYREF, kInOut}};
constexpr ParamDesc kDejTonVeStupnici[] = {{"CisloTonu", VT_VARIANT | VT_BYREF, kInOut},
                                           {"Stupnice", VT_VARIANT | VT_BYREF, kInOut}};
constexpr ParamDesc kDejCisloTonu[] = {{"Ton", VT_VARIANT | VT_BYREF, kInOut}};

// Entries 0-6 of the table are IUnknown's and IDispatch's.
constexpr FuncDesc kFuncs[] = {
    {"Vysledek", DISPID_Vysledek, INVOKE_PROPERTYGET, 7, 1, kGetVysledek},
    {"Vysledek", DISPID_Vysledek, INVOKE_PROPERTYPUT, 8, 1, kPutVysledek},
    {"Vysledek", DISPID_Vysledek, INVOKE_PROPERTYPUTREF, 9, 1, kPutVysledek},
    {"TonNeniVeStupnici", DISPID_TonNeniVeStupnici, INVOKE_PROPERTYGET, 10, 1, kGetFlag},
    {"TonNeniVeStupnici", DISPID_TonNeniVeStupnici, INVOKE_PROPERTYPUT, 11, 1, kPutFlag},
    {"DejTon", DISPID_DejTon, INVOKE_FUNC, 12, 1, kDejTon},
    {"DejTonVeStupnici", DISPID_DejTonVeStupnici, INVOKE_FUNC, 13, 2, kDejTonVeStupnici},
    {"DejCisloTonu", DISPID_DejCisloTonu, INVOKE_FUNC, 14, 1, kDejCisloTonu},
};

constexpr InterfaceDesc kInterfaces[] = {
    {"_Calvira12", IID_Calvira12, &IID_IDispatch,
     TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
     static_cast<std::uint16_t>(std::size(kFuncs)), kFuncs},
};

constexpr CoClassDesc kCoClasses[] = {
    {"Calvira12", CLSID_Calvira12, TYPEFLAG_FCANCREATE, "", &IID_Calvira12, nullptr},
};

constexpr const char* kImports[] = {"stdole2"};

constexpr TypeLibDesc kTypeLib = {
    "calvira",     "Calvira 12", LIBID_calvira, kTypeLibMajor, kTypeLibMinor, 0, SYS_WIN32, 1, kImports, 1,
    kInterfaces,   1,            kCoClasses,
};

constexpr VersionString kStrings[] = {
    {"ProductName", "calviraXII"}, {"FileVersion", "1.00"},         {"ProductVersion", "1.00"},
    {"InternalName", "calvira"},   {"OriginalFilename", "calvira.dll"}, {"OLESelfRegister", ""},
};

constexpr VersionInfoDesc kVersion = {
    {1, 0, 0, 0}, {1, 0, 0, 0}, VFT_DLL, VOS_WINDOWS32, 0x0409, 0x04B0,
    static_cast<std::uint32_t>(std::size(kStrings)), kStrings,
};

}  // namespace

const com::TypeLibDesc& TypeLibrary() {
    return kTypeLib;
}

const com::InterfaceDesc& Calvira12Interface() {
    return kInterfaces[0];
}

const com::VersionInfoDesc& VersionBlock() {
    return kVersion;
}

}  // namespace calvira
