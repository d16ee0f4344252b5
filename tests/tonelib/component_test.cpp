// The object's behaviour towards its caller: results and flag, arguments of
// every type, arguments left untouched, errors that end a method quietly.

#include "tests/tonelib/calvira_client.h"

namespace {

class Component : public CalviraTest {};

TEST_F(Component, StartsWithEmptyResultAndFalseFlag) {
    const Klic k = NewKlic();
    const vb::Variant v = Vysledek(k);
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_FALSE(Flag(k));
}

TEST_F(Component, ToneNumbersOutside1To49AreNotFound) {
    const Klic k = NewKlic();
    for (const vb::Variant& ton : {vb::Variant(std::int16_t(0)), vb::Variant(std::int16_t(50)),
                                   vb::Variant(std::int16_t(-1)), vb::Variant(5.5), vb::Variant("5"),
                                   vb::Variant(), vb::Variant(vb::Null{}), vb::Variant(true)}) {
        k->put_TonNeniVeStupnici(com::VARIANT_TRUE);
        EXPECT_EQ(DejTon(k, ton), "Nenalezeno");
        EXPECT_FALSE(Flag(k));
    }
    EXPECT_EQ(DejCisloTonu(k, vb::Variant()).AsDouble(), 99);
    EXPECT_EQ(DejCisloTonu(k, vb::Variant(vb::Null{})).AsDouble(), 99);
    EXPECT_EQ(DejCisloTonu(k, vb::Variant(std::int16_t(1))).AsDouble(), 99);
}

TEST_F(Component, AnyNumericTypeWithTheValueMatches) {
    const Klic k = NewKlic();
    std::uint8_t b = 5;
    std::int16_t i = 5;
    std::int32_t l = 5;
    double d = 5.0;
    for (const vb::Variant& ton : {vb::Variant::ByRef(b), vb::Variant::ByRef(i), vb::Variant::ByRef(l),
                                   vb::Variant::ByRef(d), vb::Variant(5.0f), vb::Variant(std::uint8_t(5))}) {
        EXPECT_EQ(DejTon(k, ton), "gis,");
        EXPECT_EQ(DejTonVeStupnici(k, ton, vb::Variant("As Dur")), "as,");
    }
}

TEST_F(Component, ResultTypesAreTextAndSixteenBitInteger) {
    const Klic k = NewKlic();
    com::VARIANT v;
    com::VariantInit(&v);
    std::int16_t n = 9;
    com::VARIANT ref;
    com::VariantInit(&ref);
    ref.vt = com::VT_BYREF | com::VT_I2;
    ref.piVal = &n;
    k->DejTon(&ref);
    k->get_Vysledek(&v);
    EXPECT_EQ(v.vt, com::VT_BSTR);
    EXPECT_EQ(com::BstrView(v.bstrVal), "c1,");
    com::VariantClear(&v);

    com::VARIANT name;
    com::VariantInit(&name);
    name.vt = com::VT_BSTR;
    name.bstrVal = com::SysAllocString("x");
    k->DejCisloTonu(&name);
    k->get_Vysledek(&v);
    EXPECT_EQ(v.vt, com::VT_I2);
    EXPECT_EQ(v.iVal, 99);
    com::VariantClear(&name);
}

TEST_F(Component, ArgumentsAreNeverWritten) {
    const Klic k = NewKlic();
    std::int16_t ton = 44;
    com::BSTR scale = com::SysAllocString("Ges Dur");
    const com::BSTR scaleBefore = scale;
    com::VARIANT tonArg, scaleArg;
    com::VariantInit(&tonArg);
    com::VariantInit(&scaleArg);
    tonArg.vt = com::VT_BYREF | com::VT_I2;
    tonArg.piVal = &ton;
    scaleArg.vt = com::VT_BYREF | com::VT_BSTR;
    scaleArg.pbstrVal = &scale;
    EXPECT_EQ(k->DejTonVeStupnici(&tonArg, &scaleArg), com::S_OK);
    EXPECT_EQ(k->DejTon(&tonArg), com::S_OK);
    EXPECT_EQ(k->DejCisloTonu(&scaleArg), com::S_OK);
    EXPECT_EQ(ton, 44);
    EXPECT_EQ(tonArg.vt, com::VT_BYREF | com::VT_I2);
    EXPECT_EQ(tonArg.piVal, &ton);
    EXPECT_EQ(scale, scaleBefore);
    EXPECT_EQ(com::BstrView(scale), "Ges Dur");
    com::SysFreeString(scale);

    vb::Variant held("h1,");
    {
        com::VariantArg a(held);
        const com::VARIANT* inner = a.get()->pvarVal;
        k->DejCisloTonu(a.get());
        EXPECT_EQ(inner->vt, com::VT_BSTR);
        EXPECT_EQ(com::BstrView(inner->bstrVal), "h1,");
    }
    EXPECT_EQ(held.AsString(), "h1,");
    EXPECT_EQ(Vysledek(k).AsDouble(), 20);
}

TEST_F(Component, AnErrorInsideAMethodEndsItWithSuccessAndTheOldResult) {
    const Klic k = NewKlic();
    const vb::Variant array(vb::VariantArray{vb::Variant(std::int16_t(5))});
    ASSERT_EQ(DejTonVeStupnici(k, vb::Variant(std::int16_t(3)), vb::Variant("C Dur")), "fis,");
    ASSERT_TRUE(Flag(k));

    // DejTon and DejTonVeStupnici reset the flag before they fail; the result stays.
    EXPECT_EQ(DejTon(k, array), "fis,");
    EXPECT_FALSE(Flag(k));
    k->put_TonNeniVeStupnici(com::VARIANT_TRUE);
    EXPECT_EQ(DejTonVeStupnici(k, array, vb::Variant("C Dur")), "fis,");
    EXPECT_FALSE(Flag(k));
    EXPECT_EQ(DejTonVeStupnici(k, vb::Variant(std::int16_t(8)), array), "fis,");

    // DejCisloTonu leaves the flag as it was.
    k->put_TonNeniVeStupnici(com::VARIANT_TRUE);
    EXPECT_EQ(DejCisloTonu(k, array).AsString(), "fis,");
    EXPECT_TRUE(Flag(k));

    // A missing argument is no failure towards the caller either.
    EXPECT_EQ(k->DejTon(nullptr), com::S_OK);
    EXPECT_EQ(k->DejCisloTonu(nullptr), com::S_OK);
    EXPECT_EQ(Vysledek(k).AsString(), "fis,");
}

TEST_F(Component, DejCisloTonuLeavesASetFlagSet) {
    const Klic k = NewKlic();
    DejTonVeStupnici(k, vb::Variant(std::int16_t(8)), vb::Variant("F Dur"));
    ASSERT_TRUE(Flag(k));
    EXPECT_EQ(DejCisloTonu(k, vb::Variant("h,")).AsDouble(), 8);
    EXPECT_TRUE(Flag(k));
}

TEST_F(Component, TwoInstancesKeepSeparateResults) {
    const Klic a = NewKlic();
    const Klic b = NewKlic();
    DejTonVeStupnici(a, vb::Variant(std::int16_t(3)), vb::Variant("C Dur"));
    DejCisloTonu(b, vb::Variant("e4,"));
    EXPECT_EQ(Vysledek(a).AsString(), "fis,");
    EXPECT_TRUE(Flag(a));
    EXPECT_EQ(Vysledek(b).AsDouble(), 49);
    EXPECT_FALSE(Flag(b));
}

TEST_F(Component, PropertyWritesArePlainStores) {
    const Klic k = NewKlic();
    com::VARIANT v;
    com::VariantInit(&v);
    v.vt = com::VT_R8;
    v.dblVal = 2.5;
    EXPECT_EQ(k->put_Vysledek(&v), com::S_OK);
    EXPECT_EQ(Vysledek(k).Type(), vb::VarType::Double);
    EXPECT_EQ(Vysledek(k).AsDouble(), 2.5);

    std::int16_t n = 7;
    com::VARIANT ref;
    com::VariantInit(&ref);
    ref.vt = com::VT_BYREF | com::VT_I2;
    ref.piVal = &n;
    EXPECT_EQ(k->putref_Vysledek(&ref), com::S_OK);
    n = 8;  // the stored value does not follow the caller's variable
    EXPECT_EQ(Vysledek(k).AsDouble(), 7);

    EXPECT_EQ(k->put_TonNeniVeStupnici(1), com::S_OK);
    EXPECT_TRUE(Flag(k));
    EXPECT_EQ(k->put_TonNeniVeStupnici(com::VARIANT_FALSE), com::S_OK);
    EXPECT_FALSE(Flag(k));
    EXPECT_EQ(k->get_Vysledek(nullptr), com::E_POINTER);
    EXPECT_EQ(k->get_TonNeniVeStupnici(nullptr), com::E_POINTER);
}

}  // namespace
