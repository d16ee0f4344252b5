#include "platform/system/shell.h"

#include <gtest/gtest.h>

#include "tests/support/temp_env.h"

namespace {

struct Launch {
    std::string program;
    std::vector<std::string> args;
};

class OpenLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys::SetLaunchHook([this](const std::string& p, const std::vector<std::string>& a) {
            launches.push_back({p, a});
            return answer;
        });
    }
    void TearDown() override { sys::SetLaunchHook({}); }
    std::vector<Launch> launches;
    bool answer = true;
};

TEST_F(OpenLinkTest, LinkIsXdgOpensOnlyArgumentEncoded) {
    struct Case {
        const char* link;
        const char* arg;
    } cases[] = {
        {"https://example.org/help.htm", "https://example.org/help.htm"},
        // The menu's mail link: an opening quote without its closing one, blanks and a Czech letter.
        {"\"mailto:autor@example.cz?subject=Z Belmory verze 2.1&body=Dobrý den & attach = ",
         "mailto:autor@example.cz?subject=Z%20Belmory%20verze%202.1&body=Dobr%C3%BD%20den%20&%20attach%20=%20"},
        {"\"mailto:autor@example.cz\"", "mailto:autor@example.cz"},
        // Shell syntax stays inside the one argument.
        {"https://example.org/?q=a;rm -rf ~&b=$(id)`x`", "https://example.org/?q=a;rm%20-rf%20~&b=$(id)%60x%60"},
    };
    for (const auto& c : cases) {
        launches.clear();
        EXPECT_TRUE(sys::OpenLink(c.link)) << c.link;
        ASSERT_EQ(launches.size(), 1u) << c.link;
        EXPECT_EQ(launches[0].program, "xdg-open");
        EXPECT_EQ(launches[0].args, std::vector<std::string>{c.arg});
    }
}

TEST_F(OpenLinkTest, NothingToOpenOrAFailedLaunchGivesFalse) {
    for (const char* link : {"", "\"", "\"\"", "bez schematu"}) {
        EXPECT_FALSE(sys::OpenLink(link)) << link;
    }
    EXPECT_TRUE(launches.empty());
    answer = false;
    EXPECT_FALSE(sys::OpenLink("mailto:autor@example.cz"));
    EXPECT_EQ(launches.size(), 1u);
}

TEST(OpenLinkLaunch, MissingXdgOpenGivesFalse) {
    testsupport::TempDir emptyBin;
    testsupport::ScopedEnv env;
    env.Set("PATH", emptyBin.str());
    EXPECT_FALSE(sys::OpenLink("mailto:autor@example.cz"));
}

}  // namespace
