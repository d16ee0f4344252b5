// The column of the fifteen major scales that the scale dialogs share: where
// each option lies in its frame and what it says, at each dialog's width, and
// which scale the column answers as chosen.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "notation/noty/stupnice.h"
#include "notation/zapis/volby_stupnic.h"
#include "platform/forms/forms.h"
#include "tests/support/qt_app.h"

namespace {

using forms::ControlArray;
using forms::OptionButton;

struct Sloupec {
    forms::Form form;
    forms::Frame ramecek{form};
    ControlArray<OptionButton> volby{"optStupnice"};
};

TEST(VolbyStupnicTest, FifteenScalesOneBelowTheOtherInTheFrameAtTheGivenWidth) {
    forms_test::App();
    for (const float sirka : {975.0f, 1215.0f}) {  // the scale choice, the conversion
        SCOPED_TRACE(sirka);
        Sloupec s;
        NactiVolbyStupnic(s.volby, s.ramecek, sirka);

        ASSERT_EQ(s.volby.Count(), 15);
        EXPECT_EQ(s.volby.LBound(), 0);
        EXPECT_EQ(s.volby.UBound(), 14);
        for (int i = 0; i <= 14; ++i) {
            SCOPED_TRACE(i);
            const OptionButton& opt = s.volby(i);
            EXPECT_EQ(opt.Parent(), &s.ramecek);
            EXPECT_EQ(opt.Left.get(), 120.0f);
            EXPECT_EQ(opt.Top.get(), 240.0f + 360.0f * static_cast<float>(i));
            EXPECT_EQ(opt.Width.get(), sirka);
            EXPECT_EQ(opt.Height.get(), 255.0f);
            EXPECT_EQ(opt.Caption.get(), kDuroveStupnice[static_cast<std::size_t>(i)]);
            EXPECT_FALSE(opt.Value.get());
        }
    }
}

TEST(VolbyStupnicTest, TheChosenScaleIsTheCaptionOfTheChosenOption) {
    forms_test::App();
    Sloupec s;
    NactiVolbyStupnic(s.volby, s.ramecek, 975);
    EXPECT_EQ(ZvolenaStupnice(s.volby), "");

    const struct {
        int volba;
        const char* stupnice;
    } cases[] = {{0, "C Dur"}, {7, "Cis Dur"}, {8, "F Dur"}, {14, "Ces Dur"}};
    for (const auto& c : cases) {
        s.volby(c.volba).Value = true;  // the others of the frame's group let go
        EXPECT_EQ(ZvolenaStupnice(s.volby), c.stupnice) << c.volba;
    }
}

}  // namespace
