#include "platform/system/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vb/runtime_error.h"
#include "tests/support/temp_env.h"

namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", home.str());
        env.Set("XDG_CONFIG_HOME", std::nullopt);
        env.Set("BELMORA_SETTINGS_DIR", store.str());
    }
    TempDir home, store;
    ScopedEnv env;
};

TEST_F(SettingsTest, MissingValuesGiveTheDefaultAndCreateNothing) {
    EXPECT_EQ(sys::GetSetting("Calvira12", "Zabrany", "1", "0"), "0");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Znaceni", "Index"), "");
    sys::SaveSetting("Calvira12", "Cislovani", "Index", "1");
    // The file exists now; other keys and sections still give their defaults.
    EXPECT_EQ(sys::GetSetting("Calvira12", "Cislovani", "Jiny", "x"), "x");
    EXPECT_EQ(sys::GetSetting("Calvira12", "PopisKnof", "Index", "0"), "0");
    EXPECT_EQ(sys::GetSetting("JinaAplikace", "Cislovani", "Index", "7"), "7");
    EXPECT_FALSE(std::filesystem::exists(sys::SettingsFile("JinaAplikace")));
}

TEST_F(SettingsTest, ValuesComeBackAsTheTextStored) {
    const char* values[] = {"1", "0", "", "255", "256", "a, b", "a,b,c", "@Variant(x)", "@@", " x ",
                            "Dobrý den", "C:\\Dokumenty\\Dovozivuz", "a=b;c", "\"quoted\"", "line\r\nbreak"};
    int i = 0;
    for (const char* v : values) sys::SaveSetting("Calvira12", "Test", std::to_string(++i), v);
    i = 0;
    for (const char* v : values) EXPECT_EQ(sys::GetSetting("Calvira12", "Test", std::to_string(++i), "?"), v) << v;
}

TEST_F(SettingsTest, LaterSaveReplacesAndSectionsAndAppsStayApart) {
    sys::SaveSetting("Calvira12", "PopisKnof", "Index", "1");
    sys::SaveSetting("Calvira12", "PopisKnof", "Index", "0");
    sys::SaveSetting("Calvira12", "Cislovani", "Index", "1");
    sys::SaveSetting("Jina", "PopisKnof", "Index", "5");
    EXPECT_EQ(sys::GetSetting("Calvira12", "PopisKnof", "Index", "?"), "0");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Cislovani", "Index", "?"), "1");
    EXPECT_EQ(sys::GetSetting("Jina", "PopisKnof", "Index", "?"), "5");
    EXPECT_TRUE(std::filesystem::exists(store.path() / "Calvira12.ini"));
    EXPECT_TRUE(std::filesystem::exists(store.path() / "Jina.ini"));
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
}

TEST_F(SettingsTest, DeleteRemovesAKeyOrASectionAndMissingOnesRaise5) {
    sys::SaveSetting("Calvira12", "Zabrany", "1", "1");
    sys::SaveSetting("Calvira12", "Zabrany", "2", "1");
    sys::SaveSetting("Calvira12", "Cislovani", "Index", "1");

    sys::DeleteSetting("Calvira12", "Zabrany", "1");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Zabrany", "1", "0"), "0");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Zabrany", "2", "0"), "1");

    sys::DeleteSetting("Calvira12", "Zabrany");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Zabrany", "2", "0"), "0");
    EXPECT_EQ(sys::GetSetting("Calvira12", "Cislovani", "Index", "0"), "1");

    for (auto [app, section, key] : {std::tuple{"Calvira12", "Zabrany", "1"}, {"Calvira12", "Zabrany", ""},
                                     {"Calvira12", "Cislovani", "Jiny"}, {"Nikdy", "A", "B"}}) {
        try {
            sys::DeleteSetting(app, section, key);
            ADD_FAILURE() << app << "/" << section << "/" << key << " did not raise";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), vb::err::InvalidCall);
        }
    }
}

struct FolderCase {
    const char* name;
    bool overrideDir, xdg;
    const char* expectedUnder;  // "store", "xdg" or "home"
};

TEST_F(SettingsTest, FolderComesFromOverrideThenXdgThenHome) {
    TempDir xdg;
    for (auto c : {FolderCase{"override", true, true, "store"}, FolderCase{"xdg", false, true, "xdg"},
                   FolderCase{"home", false, false, "home"}}) {
        env.Set("BELMORA_SETTINGS_DIR", c.overrideDir ? std::optional(store.str()) : std::nullopt);
        env.Set("XDG_CONFIG_HOME", c.xdg ? std::optional(xdg.str()) : std::nullopt);
        const std::string where = c.expectedUnder == std::string("store") ? store.str()
                                  : c.expectedUnder == std::string("xdg") ? xdg.str() + "/belmora"
                                                                          : home.str() + "/.config/belmora";
        EXPECT_EQ(sys::SettingsFile("Calvira12"), where + "/Calvira12.ini") << c.name;
        sys::SaveSetting("Calvira12", "Kde", "Index", c.name);
        EXPECT_EQ(sys::GetSetting("Calvira12", "Kde", "Index"), c.name);
        EXPECT_TRUE(std::filesystem::exists(where + "/Calvira12.ini")) << c.name;
    }
}

}  // namespace
