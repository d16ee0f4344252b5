#include <gtest/gtest.h>

#include "notation/noty/noty.h"
#include "platform/msgbox/msgbox.h"
#include "resources/strings/strings.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/vb/runtime_error.h"

// The string table turns an entry-staff height back into a natural note name
// (id = 7340 - staff offset); the parser must agree with it on every step.
TEST(StaffNoteStrings, EveryStaffStepNamesItsNaturalAndParsesBack) {
    static const char kPismena[] = "cdefgah";
    int pocet = 0;
    for (int id = 5420; id <= 7340; id += 60, ++pocet) {
        const int poloha = 7340 - id;
        const int oktava = poloha / 420;
        std::string ocekavane(1, kPismena[(poloha % 420) / 60]);
        if (oktava > 0) ocekavane += std::to_string(oktava);
        ocekavane += ",";

        const std::string nota = resources::LoadResString(id);
        EXPECT_EQ(nota, ocekavane) << id;

        forms::ScriptedMessageBoxes boxes;
        const vb::Variant v = clsNoty().UrciPolohuNoty(nota);
        ASSERT_TRUE(v.IsString()) << id;
        EXPECT_EQ(v.AsString(), std::to_string(poloha)) << id;
        EXPECT_TRUE(boxes.boxes().empty()) << id;
    }
    EXPECT_EQ(pocet, 33);
    EXPECT_EQ(resources::LoadResString(5420), "g4,");
    EXPECT_EQ(resources::LoadResString(6500), "c2,");
    EXPECT_EQ(resources::LoadResString(6560), "h1,");
    EXPECT_EQ(resources::LoadResString(6920), "c1,");
    EXPECT_EQ(resources::LoadResString(7340), "c,");
}

TEST(StaffNoteStrings, HeightsBetweenStepsAndOffTheStaffHaveNoEntry) {
    for (int id : {5360, 5421, 5450, 6919, 7311, 7400, 0, 100, 126}) {
        try {
            resources::LoadResString(id);
            ADD_FAILURE() << id << " has an entry";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 326) << id;
        }
    }
}
