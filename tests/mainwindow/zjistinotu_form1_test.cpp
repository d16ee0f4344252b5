// The main window's note recognition reads the window's own entry staff and
// scale button, starting from the window's design.
#include <gtest/gtest.h>

#include "mainwindow/form1.h"
#include "notation/zapis/notyzapis.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/support/qt_app.h"

namespace {

TEST(ZjistiNotuForm1, ReadsTheWindowsSignsAndScaleButton) {
    forms_test::App();
    forms::ScriptedMessageBoxes boxes;
    Form1 f;
    clsNotyZapis& zapis = f.Zapis();

    // The design: every sign in its tray, no scale chosen. The trays' row is
    // the flat height of "f3," (8540).
    EXPECT_EQ(zapis.ZjistiNotu(8540), "f3,");
    EXPECT_EQ(zapis.ZjistiNotu(9200), "h1,");

    // The scale button's caption is the key.
    f.cmdStupnice.Caption = "Ces Dur";
    EXPECT_EQ(zapis.ZjistiNotu(9440), "es1,");
    // A sharp of the window's pool beside the head, then a natural.
    f.picKrizek(5).Left = 1980;
    f.picKrizek(5).Top = 9330;
    EXPECT_EQ(zapis.ZjistiNotu(9440), "eis1,");
    f.picOdrazka(4).Left = 2100;
    f.picOdrazka(4).Top = 9330;
    EXPECT_EQ(zapis.ZjistiNotu(9440), "e1,");

    // A flat dropped on the staff at the trays' height.
    f.picBecko(6).Left = 1980;
    EXPECT_EQ(zapis.ZjistiNotu(8540), "fes3,");

    // The same object serves the whole window.
    EXPECT_EQ(&f.Zapis(), &zapis);
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
