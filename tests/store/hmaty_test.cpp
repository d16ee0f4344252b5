// Which rows of a song sheet are grips and where the song ends, on the real
// engine with a sheet filled cell by cell.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "store/hmaty.h"
#include "tests/support/temp_env.h"

namespace {

class HmatyTest : public ::testing::Test {
protected:
    testsupport::Sandbox sandbox{testsupport::Sandbox::Home::DriveC, "belmora-hmaty"};
    std::shared_ptr<xl::Application> app = xl::CreateExcelApplication();
    void SetUp() override { app->Workbooks().Add(); }

    // Row `r` as a song row: `b` in B, `i` in I (either may stay empty).
    void Row(int r, const std::string& b, const std::string& i) {
        const std::string n = std::to_string(r);
        if (!b.empty()) app->Range("B" + n).Value(vb::Variant(b));
        if (!i.empty()) app->Range("I" + n).Value(vb::Variant(i));
    }
};

TEST_F(HmatyTest, ARowIsAGripByItsNoteOrByItsBellowsWord) {
    struct Case {
        const char* b;
        const char* i;
        bool grip;
    };
    const Case cases[] = {
        {"c,", "Tlak", true},
        {"c,", "", true},       // a note without a side is still written there
        {"", "Tlak", true},     // basses only, push
        {"", "Tah", true},      // basses only, pull
        {"", "", false},        // the end of the song
        {"", "tlak", false},    // the bellows word counts only as written
        {"", "Tah ", false},
        {"", "x", false},
    };
    int r = 1;
    for (const Case& c : cases) {
        Row(r, c.b, c.i);
        EXPECT_EQ(JeHmat(app->Range("B" + std::to_string(r))), c.grip) << "B=\"" << c.b << "\" I=\"" << c.i << "\"";
        ++r;
    }
}

TEST_F(HmatyTest, TheEndIsTheFirstRowAfterTheStartThatIsNoGrip) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> rows;  // B and I of rows 1, 2, ...
        int end;  // 0: Nothing
    };
    const std::vector<Case> cases = {
        {"plain song", {{"c,", "Tlak"}, {"d,", "Tah"}}, 3},
        {"basses only inside", {{"c,", "Tlak"}, {"", "Tlak"}, {"d,", "Tah"}}, 4},
        {"basses only in a row", {{"c,", "Tlak"}, {"", "Tah"}, {"", "Tlak"}, {"d,", "Tah"}}, 5},
        {"basses only last", {{"c,", "Tlak"}, {"", "Tah"}}, 3},
        {"a gap ends it", {{"c,", "Tlak"}, {"", ""}, {"d,", "Tah"}}, 2},
        {"a wrong word ends it", {{"c,", "Tlak"}, {"", "tah"}, {"d,", "Tah"}}, 2},
        {"every row a grip", {{"c,", "Tlak"}, {"", "Tlak"}, {"d,", "Tah"}, {"", "Tah"}, {"e,", "Tah"}}, 0},
        {"first row basses only, all grips", {{"", "Tlak"}, {"c,", "Tlak"}, {"d,", "Tah"}, {"e,", ""}, {"f,", ""}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->Range("A1:W10").ClearContents();
        for (std::size_t k = 0; k < c.rows.size(); ++k) Row(static_cast<int>(k) + 1, c.rows[k].first, c.rows[k].second);
        const xl::Range oblast = app->Range("B1:B5");

        const xl::Range konec = NajdiKonecPisne(oblast, app->Range("B1"));

        if (c.end == 0) {
            EXPECT_TRUE(konec.IsNothing()) << konec.Address();
        } else {
            ASSERT_FALSE(konec.IsNothing());
            EXPECT_EQ(konec.Address(), "$B$" + std::to_string(c.end));
        }
    }
}

}  // namespace
