#include <gtest/gtest.h>

#include "platform/vb/runtime_error.h"
#include "resources/strings/strings.h"

TEST(StringTable, LetterRowLabels) {
    const char* const labels[] = {
        "1", "A", "B", "2", "3", "4",  "5", "6", "7", "8", "9", "10", "11",  // 101-113
        "1", "B", "2", "3", "4", "5s", "6", "7", "8", "9", "10", "11",       // 114-125
    };
    int id = 101;
    for (const char* label : labels) {
        EXPECT_EQ(resources::LoadResString(id), label) << id;
        ++id;
    }
    EXPECT_EQ(id, 126);
}

TEST(StringTable, AMissingIdIsError326) {
    for (int id : {-1, 0, 100, 126, 5419, 7341}) {
        try {
            resources::LoadResString(id);
            ADD_FAILURE() << id;
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 326) << id;
            EXPECT_FALSE(e.Description().empty());
        }
    }
}
