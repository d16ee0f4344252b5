// The test side of the component: loads libcalvira.so from the program
// folder, registers it into a temporary registration file and calls an
// instance the way the program does (a method, then Vysledek and the flag).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/com/com.h"
#include "platform/com/vb_variant.h"
#include "tests/support/calvira.h"
#include "tests/support/temp_env.h"
#include "tonelib/calvira12.h"

using calvira::_Calvira12;
using Klic = com::ComPtr<_Calvira12>;

using testsupport::CalviraLibrary;
using testsupport::CalviraLibraryPath;

// Every test of the suite sees the component registered in a temporary file.
class CalviraTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sandbox_ = new testsupport::Sandbox;
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

    static inline testsupport::Sandbox* sandbox_ = nullptr;
    static inline CalviraLibrary* library_ = nullptr;
};
