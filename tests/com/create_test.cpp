#include <gtest/gtest.h>

#include "platform/com/com.h"
#include "platform/com/registry.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/temp_env.h"

namespace {

const com::GUID kClass = com::MakeGuid("{0BADC0DE-0000-4000-8000-000000000001}");

void RegisterPath(const std::string& path) {
    com::EditRegistry([&](com::RegistryTree& t) {
        t.Set("CLSID\\" + com::FormatGuid(kClass) + "\\InprocServer32", "@", path);
        return com::S_OK;
    });
}

TEST(CreateByClsid, FailsAsThePlatformDoesWhenTheClassCannotBeServed) {
    testsupport::Sandbox sandbox;
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(com::CoCreateInstance(kClass, nullptr, com::IID_IUnknown, &p), com::REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);

    RegisterPath((sandbox.Root() / "missing.so").string());
    EXPECT_EQ(com::CoCreateInstance(kClass, nullptr, com::IID_IUnknown, &p), com::CO_E_DLLNOTFOUND);

    RegisterPath("libm.so.6");  // loads, but serves no class
    EXPECT_EQ(com::CoCreateInstance(kClass, nullptr, com::IID_IUnknown, &p), com::CO_E_ERRORINDLL);
    EXPECT_EQ(com::CoCreateInstance(kClass, nullptr, com::IID_IUnknown, nullptr), com::E_POINTER);
}

TEST(CreateByClsid, TheHelperRaisesError429) {
    testsupport::Sandbox sandbox;
    try {
        com::CreateObject<com::IUnknown>(kClass, com::IID_IUnknown);
        FAIL() << "an unregistered class was created";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_EQ(e.Description(), "ActiveX component can't create object");
    }
}

TEST(CheckHresult, AFailureBecomesARuntimeErrorWithItsNumber) {
    EXPECT_NO_THROW(com::CheckHresult(com::S_OK));
    EXPECT_NO_THROW(com::CheckHresult(com::S_FALSE));
    try {
        com::CheckHresult(com::E_NOINTERFACE);
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), com::E_NOINTERFACE);
        EXPECT_EQ(e.Description(), "Automation error");
    }
}

}  // namespace
