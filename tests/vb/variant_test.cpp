#include <gtest/gtest.h>

#include "platform/vb/runtime_error.h"
#include "platform/vb/variant.h"

using vb::Variant;

TEST(Variant, EqualsComparesNumbersAcrossTypesAndStringsExactly) {
    EXPECT_TRUE(vb::Equals(Variant(std::uint8_t(5)), Variant(5.0)));
    EXPECT_TRUE(vb::Equals(Variant(std::int16_t(5)), Variant(std::int32_t(5))));
    EXPECT_FALSE(vb::Equals(Variant("5"), Variant(std::int16_t(5))));
    EXPECT_FALSE(vb::Equals(Variant("C,"), Variant("c,")));
    EXPECT_FALSE(vb::Equals(Variant(), Variant(0.0)));
    EXPECT_FALSE(vb::Equals(Variant(vb::Null{}), Variant(vb::Null{})));
    EXPECT_THROW(vb::Equals(Variant(vb::VariantArray{Variant(1.0)}), Variant(1.0)), vb::RuntimeError);
}

TEST(Variant, LooseEqualsLetsEmptyEqualFalseZeroAndEmptyText) {
    EXPECT_TRUE(vb::LooseEquals(Variant(), Variant(false)));
    EXPECT_TRUE(vb::LooseEquals(Variant(), Variant("")));
    EXPECT_FALSE(vb::LooseEquals(Variant(true), Variant(false)));
    EXPECT_FALSE(vb::LooseEquals(Variant(vb::Null{}), Variant(false)));
}

TEST(Variant, ByRefReadsAndWritesTheCallersVariable) {
    std::int16_t n = 7;
    Variant ref = Variant::ByRef(n);
    EXPECT_EQ(ref.Type(), vb::VarType::Integer);
    n = 9;
    EXPECT_TRUE(vb::Equals(ref, Variant(9.0)));
    ref.Assign(Variant(std::int32_t(11)));
    EXPECT_EQ(n, 11);

    Variant inner("gis1,");
    Variant outer = Variant::ByRef(inner);
    EXPECT_EQ(outer.AsString(), "gis1,");
}

TEST(Variant, AssignmentThroughAReferenceConvertsLikeVb) {
    std::uint8_t b = 1;
    std::int16_t i = 1;
    std::string s;
    Variant rb = Variant::ByRef(b), ri = Variant::ByRef(i), rs = Variant::ByRef(s);
    rb.Assign(Variant(2.5));
    EXPECT_EQ(b, 2);
    ri.Assign(Variant(3.5));
    EXPECT_EQ(i, 4);
    ri.Assign(Variant("12"));
    EXPECT_EQ(i, 12);
    rs.Assign(Variant(std::int16_t(42)));
    EXPECT_EQ(s, "42");

    // A value that does not fit is error 6 and leaves the variable as it was.
    int number = 0;
    try {
        rb.Assign(Variant(300.0));
    } catch (const vb::RuntimeError& e) {
        number = e.Number();
    }
    EXPECT_EQ(number, 6);
    EXPECT_EQ(b, 2);
}
