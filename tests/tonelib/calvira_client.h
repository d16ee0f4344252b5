// The test side of the component: loads libcalvira.so from the program
// folder, registers it into a temporary registration file and calls an
// instance the way the program does (a method, then Vysledek and the flag).
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/com/com.h"
#include "platform/com/vb_variant.h"
#include "tests/com/registry_sandbox.h"
#include "tonelib/calvira12.h"

using calvira::_Calvira12;
using Klic = com::ComPtr<_Calvira12>;

inline std::string CalviraLibraryPath() {
    if (const char* dir = std::getenv("BELMORA_PROGRAM_DIR"); dir && *dir) return std::string(dir) + "/libcalvira.so";
    return CALVIRA_LIBRARY;
}

// The library, loaded by the test itself, with its four entry points.
struct CalviraLibrary {
    CalviraLibrary() : handle(::dlopen(CalviraLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) throw std::runtime_error(::dlerror());
        registerServer = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(handle, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<com::DllUnregisterServerFn>(::dlsym(handle, "DllUnregisterServer"));
        getClassObject = reinterpret_cast<com::DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<com::DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
    }
    ~CalviraLibrary() { ::dlclose(handle); }
    void* handle;
    com::DllRegisterServerFn registerServer;
    com::DllUnregisterServerFn unregisterServer;
    com::DllGetClassObjectFn getClassObject;
    com::DllCanUnloadNowFn canUnloadNow;
};

// Every test of the suite sees the component registered in a temporary file.
class CalviraTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sandbox_ = new RegistrySandbox;
        library_ = new CalviraLibrary;
        ASSERT_EQ(library_->registerServer(), com::S_OK);
    }
    static void TearDownTestSuite() {
        delete library_;
        delete sandbox_;
    }

    static Klic NewKlic() { return com::CreateObject<_Calvira12>(calvira::CLSID_Calvira12, calvira::IID_Calvira12); }

    static vb::Variant Vysledek(const Klic& k) {
        com::VARIANT v;
        com::VariantInit(&v);
        EXPECT_EQ(k->get_Vysledek(&v), com::S_OK);
        vb::Variant out = com::ToVbVariant(v);
        com::VariantClear(&v);
        return out;
    }
    static bool Flag(const Klic& k) {
        com::VARIANT_BOOL b = 1;
        EXPECT_EQ(k->get_TonNeniVeStupnici(&b), com::S_OK);
        EXPECT_TRUE(b == com::VARIANT_TRUE || b == com::VARIANT_FALSE) << b;
        return b == com::VARIANT_TRUE;
    }
    static std::string DejTon(const Klic& k, vb::Variant ton) {
        com::VariantArg a(ton);
        EXPECT_EQ(k->DejTon(a.get()), com::S_OK);
        return Vysledek(k).AsString();
    }
    static std::string DejTonVeStupnici(const Klic& k, vb::Variant ton, vb::Variant stupnice) {
        com::VariantArg a(ton), s(stupnice);
        EXPECT_EQ(k->DejTonVeStupnici(a.get(), s.get()), com::S_OK);
        return Vysledek(k).AsString();
    }
    static vb::Variant DejCisloTonu(const Klic& k, vb::Variant ton) {
        com::VariantArg a(ton);
        EXPECT_EQ(k->DejCisloTonu(a.get()), com::S_OK);
        return Vysledek(k);
    }

    static inline RegistrySandbox* sandbox_ = nullptr;
    static inline CalviraLibrary* library_ = nullptr;
};
