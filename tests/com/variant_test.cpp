#include <gtest/gtest.h>

#include "platform/com/variant.h"
#include "platform/com/vb_variant.h"
#include "platform/vb/runtime_error.h"

namespace {

using com::VARIANT;

struct Owned {
    Owned() { com::VariantInit(&v); }
    ~Owned() { com::VariantClear(&v); }
    VARIANT v;
};

TEST(Bstr, KeepsItsLengthAndEveryByte) {
    const std::string text("a\0b\xc4\x8d", 5);
    com::BSTR s = com::SysAllocString(text);
    EXPECT_EQ(com::SysStringLen(s), 5u);
    EXPECT_EQ(com::BstrView(s), text);
    com::SysFreeString(s);
    EXPECT_EQ(com::BstrView(nullptr), "");
}

TEST(ComVariant, CopyIsDeepAndCopyIndFollowsReferences) {
    Owned src, copy, ind;
    src.v.vt = com::VT_BSTR;
    src.v.bstrVal = com::SysAllocString("c1,");
    ASSERT_EQ(com::VariantCopy(&copy.v, &src.v), com::S_OK);
    EXPECT_NE(copy.v.bstrVal, src.v.bstrVal);
    EXPECT_EQ(com::BstrView(copy.v.bstrVal), "c1,");

    std::int16_t n = 12;
    VARIANT ref;
    com::VariantInit(&ref);
    ref.vt = com::VT_BYREF | com::VT_I2;
    ref.piVal = &n;
    VARIANT outer;
    com::VariantInit(&outer);
    outer.vt = com::VT_BYREF | com::VT_VARIANT;
    outer.pvarVal = &ref;
    ASSERT_EQ(com::VariantCopyInd(&ind.v, &outer), com::S_OK);
    EXPECT_EQ(ind.v.vt, com::VT_I2);
    EXPECT_EQ(ind.v.iVal, 12);
}

TEST(ComVariant, AReferenceCycleIsRefusedNotFollowedForever) {
    VARIANT self;
    com::VariantInit(&self);
    self.vt = com::VT_BYREF | com::VT_VARIANT;
    self.pvarVal = &self;
    Owned out;
    EXPECT_TRUE(com::Failed(com::VariantCopyInd(&out.v, &self)));
    EXPECT_THROW(com::ToVbVariant(self), vb::RuntimeError);
}

TEST(VbBridge, EveryTypeCrossesAndComesBackAsItWas) {
    const vb::Variant values[] = {
        vb::Variant(),
        vb::Variant(vb::Null{}),
        vb::Variant(true),
        vb::Variant(false),
        vb::Variant(std::uint8_t(200)),
        vb::Variant(std::int16_t(-7)),
        vb::Variant(std::int32_t(70000)),
        vb::Variant(1.5f),
        vb::Variant(2.25),
        vb::Variant(vb::Date{36526.5}),
        vb::Variant("gis1,"),
        vb::Variant(vb::VariantArray{vb::Variant(std::int16_t(1)), vb::Variant("x")}),
    };
    const com::VARTYPE expected[] = {com::VT_EMPTY, com::VT_NULL, com::VT_BOOL, com::VT_BOOL, com::VT_UI1,
                                     com::VT_I2,    com::VT_I4,   com::VT_R4,   com::VT_R8,   com::VT_DATE,
                                     com::VT_BSTR,  com::VT_ARRAY | com::VT_VARIANT};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        Owned c;
        ASSERT_EQ(com::FromVbVariant(values[i], &c.v), com::S_OK);
        EXPECT_EQ(c.v.vt, expected[i]) << i;
        const vb::Variant back = com::ToVbVariant(c.v);
        EXPECT_EQ(back.Type(), values[i].Type()) << i;
        if (values[i].IsArray()) {
            ASSERT_EQ(back.AsArray().size(), 2u);
            EXPECT_EQ(back.AsArray()[1].AsString(), "x");
        } else if (values[i].IsNumeric()) {
            EXPECT_EQ(back.AsDouble(), values[i].AsDouble()) << i;
        } else if (values[i].IsString()) {
            EXPECT_EQ(back.AsString(), values[i].AsString());
        }
    }
    Owned t;
    com::FromVbVariant(vb::Variant(true), &t.v);
    EXPECT_EQ(t.v.boolVal, com::VARIANT_TRUE);
}

TEST(VbBridge, AnUnknownTypeIsATypeMismatch) {
    VARIANT v;
    com::VariantInit(&v);
    v.vt = 9;  // an object reference, which no variant of the program holds
    try {
        com::ToVbVariant(v);
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::TypeMismatch);
    }
}

TEST(VariantArg, ACallersVariablePassesByReferenceWithItsOwnType) {
    std::uint8_t b = 5;
    vb::Variant byteRef = vb::Variant::ByRef(b);
    {
        com::VariantArg arg(byteRef);
        ASSERT_EQ(arg.get()->vt, com::VT_BYREF | com::VT_UI1);
        EXPECT_EQ(*arg.get()->pbVal, 5);
        *arg.get()->pbVal = 9;  // what a callee that writes its argument does
    }
    EXPECT_EQ(b, 9);

    std::string s = "C Dur";
    vb::Variant stringRef = vb::Variant::ByRef(s);
    {
        com::VariantArg arg(stringRef);
        ASSERT_EQ(arg.get()->vt, com::VT_BYREF | com::VT_BSTR);
        EXPECT_EQ(com::BstrView(*arg.get()->pbstrVal), "C Dur");
    }
    EXPECT_EQ(s, "C Dur");

    vb::Variant plain(2.5);
    {
        com::VariantArg arg(plain);
        ASSERT_EQ(arg.get()->vt, com::VT_BYREF | com::VT_VARIANT);
        EXPECT_EQ(arg.get()->pvarVal->vt, com::VT_R8);
        arg.get()->pvarVal->dblVal = 3.5;
    }
    EXPECT_EQ(plain.AsDouble(), 3.5);
}

TEST(VariantArg, AValueIsPassedAsACopy) {
    const vb::Variant value("Ges Dur");
    com::VariantArg arg(value);
    ASSERT_EQ(arg.get()->vt, com::VT_BSTR);
    EXPECT_EQ(com::BstrView(arg.get()->bstrVal), "Ges Dur");
}

}  // namespace
