#include <gtest/gtest.h>

#include "platform/com/guid.h"

namespace {

TEST(Guid, ParsesAndFormatsTheBracedForm) {
    const auto g = com::ParseGuid("{ad0da24e-3518-4b73-b04f-c36b924d793d}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0xAD0DA24Eu);
    EXPECT_EQ(g->Data2, 0x3518);
    EXPECT_EQ(g->Data3, 0x4B73);
    EXPECT_EQ(g->Data4[0], 0xB0);
    EXPECT_EQ(g->Data4[7], 0x3D);
    EXPECT_EQ(com::FormatGuid(*g), "{AD0DA24E-3518-4B73-B04F-C36B924D793D}");
    EXPECT_EQ(com::MakeGuid("{AD0DA24E-3518-4B73-B04F-C36B924D793D}"), *g);
}

TEST(Guid, RejectsMalformedText) {
    for (const char* bad : {
             "",
             "AD0DA24E-3518-4B73-B04F-C36B924D793D",      // no braces
             "{AD0DA24E-3518-4B73-B04F-C36B924D793}",     // one digit short
             "{AD0DA24E-3518-4B73-B04F-C36B924D793DD}",   // one digit too many
             "{AD0DA24E-3518-4B73-B04FC-36B924D793D}",    // dash out of place
             "{AD0DA24G-3518-4B73-B04F-C36B924D793D}",    // not a hex digit
             "{AD0DA24E 3518-4B73-B04F-C36B924D793D}",
         }) {
        EXPECT_FALSE(com::ParseGuid(bad)) << bad;
    }
}

}  // namespace
