// The type library and version block libcalvira.so carries (exported as
// ComTypeLib / ComVersionInfo, see platform/com/typelib.h).
#pragma once

#include "platform/com/typelib.h"

namespace calvira {

const com::TypeLibDesc& TypeLibrary();
const com::InterfaceDesc& Calvira12Interface();
const com::VersionInfoDesc& VersionBlock();

}  // namespace calvira
