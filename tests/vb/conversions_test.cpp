#include <gtest/gtest.h>

#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "platform/vb/strings.h"

using vb::Variant;

namespace {
int ErrorOf(auto&& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}
}  // namespace

TEST(Conversions, WholeNumbersRoundHalfToEven) {
    struct Row { double in; int out; };
    for (Row r : {Row{0.5, 0}, Row{1.5, 2}, Row{2.5, 2}, Row{-2.5, -2}, Row{2.6, 3}, Row{-0.4, 0}}) {
        EXPECT_EQ(vb::CInt(Variant(r.in)), r.out) << r.in;
        EXPECT_EQ(vb::CLng(Variant(r.in)), r.out) << r.in;
    }
    EXPECT_EQ(vb::CByte(Variant("254.5")), 254);
}

TEST(Conversions, OverflowIsError6AndBadTextError13) {
    EXPECT_EQ(ErrorOf([] { vb::CByte(Variant(256.0)); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CByte(Variant(-1.0)); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CInt(Variant(32767.5)); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CInt(Variant(-32768.4)); }), 0);
    EXPECT_EQ(ErrorOf([] { vb::CLng(Variant(3e9)); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CInt(Variant("abc")); }), 13);
    EXPECT_EQ(ErrorOf([] { vb::CInt(Variant("")); }), 13);
    EXPECT_EQ(vb::CInt(Variant(" 12 ")), 12);
    EXPECT_EQ(vb::CInt(Variant()), 0);
}

TEST(Conversions, CStrAndVal) {
    EXPECT_EQ(vb::CStr(Variant(5.0)), "5");
    EXPECT_EQ(vb::CStr(Variant(std::int16_t(-3))), "-3");
    EXPECT_EQ(vb::CStr(Variant()), "");
    EXPECT_EQ(vb::CStr(Variant(true)), "True");
    EXPECT_DOUBLE_EQ(vb::Val("  12ab"), 12.0);
    EXPECT_DOUBLE_EQ(vb::Val("1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(vb::Val("-4.5e1x"), -45.0);
    EXPECT_DOUBLE_EQ(vb::Val("&H1F"), 31.0);
    EXPECT_DOUBLE_EQ(vb::Val("x1"), 0.0);
    EXPECT_TRUE(vb::CBool(Variant("True")));
    EXPECT_FALSE(vb::CBool(Variant(0.0)));
}

TEST(Strings, OneBasedAndCountingCharactersNotBytes) {
    const std::string s = "Neočekávaná";
    EXPECT_EQ(vb::Len(s), 11);
    EXPECT_EQ(vb::Left(s, 4), "Neoč");
    EXPECT_EQ(vb::Right(s, 3), "aná");
    EXPECT_EQ(vb::Mid(s, 4, 3), "ček");
    EXPECT_EQ(vb::Mid("abc", 5), "");
    EXPECT_EQ(vb::InStr("des1,", "es1,"), 2);
    EXPECT_EQ(vb::InStr(3, "abcabc", "a"), 4);
    EXPECT_EQ(ErrorOf([] { vb::Mid("abc", 0); }), 5);
}
