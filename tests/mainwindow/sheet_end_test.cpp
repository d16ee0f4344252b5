// The row in words on the sheet's last rows: the syllables around the row
// reach no further than the sheet does.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/excel/application.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;

class SheetEndTest : public Form1Fixture {};

TEST_F(SheetEndTest, TheRowInWordsOnTheLastRowsShowsNothingBelowTheSheet) {
    Form1& f = Start();
    OpenNewSong("Pisen.xls");
    f.PovolOvladaniPisne();
    const int posledni = xl::kRowsPerSheet;
    for (int r = posledni - 4; r <= posledni; ++r)
        ExcelAplikace->Range("A" + std::to_string(r)).Value(vb::Variant("s" + std::to_string(posledni - r)));
    ExcelAplikace->Range("B" + std::to_string(posledni)).Value(vb::Variant("c1,"));

    struct Pripad {
        int radek;
        std::array<const char*, 5> slabiky;  // lblSlabika 0..4: two rows above to two below
    };
    const Pripad pripady[] = {
        {posledni - 2, {"s4", "s3", "s2", "s1", "s0"}},
        {posledni - 1, {"s3", "s2", "s1", "s0", ""}},
        {posledni, {"s2", "s1", "s0", "", ""}},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.radek);
        ExcelAplikace->Range("B" + std::to_string(p.radek)).Select();
        ASSERT_NO_THROW(f.ZobrazRadek());
        for (int j = 0; j <= 4; ++j) EXPECT_EQ(f.lblSlabika(j).Caption.get(), p.slabiky[j]) << j;
    }
    EXPECT_EQ(f.lblTony.Caption.get(), "c1,        ");
}

}  // namespace
