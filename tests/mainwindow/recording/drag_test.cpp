// Dragging heads and signs on the entry staff: the drop snaps to the grid
// of the picture's kind and to its column, or parks the picture in its tray
// above or below the staff; a head frees its old button and presses the
// button of the note it is dropped on. The user's part of the drag is
// scripted (forms::SetDragDriver); the handlers run as the mouse-down
// events of the pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/mainwindow/recording/recording_fixture.h"

namespace {

using namespace recording_test;

class DragTest : public RecordingFixture {
protected:
    static void Chyt(forms::PictureBox& obrazek) { obrazek.MouseDown(forms::vbLeftButton, 0, 0, 0); }
};

// The worked drops: snapped height (halves to even), column, or tray.
TEST_F(DragTest, DropsSnapToTheGridOfTheirKindOrGoBackToTheTray) {
    Form1& f = StartRecording();
    struct Row {
        const char* druh;
        float top;
        Misto misto;
    };
    const Row rows[] = {
        {"becko", 9100, {1890, 9120}},   // q = 152
        {"becko", 9450, {1890, 9480}},   // 157.5 goes to 158
        {"becko", 9390, {1890, 9360}},   // 156.5 goes to 156
        {"krizek", 8000, {405, 8400}},   // 8010 lies above the band
        {"krizek", 9990, {1800, 9990}},  // 166.5 goes to 166, plus 30
        {"krizek", 10100, {405, 8400}},  // below the band
        {"odrazka", 10100, {1305, 8400}},
        {"odrazka", 7900, {1280, 8400}},
        {"odrazka", 8020, {2050, 8070}},  // the band's top edge
        {"becko", 10079, {1890, 10080}},  // its bottom edge
        {"becko", 9390.5f, {1890, 9360}},  // 9390.5 goes to 9390 first, then 156.5 to 156
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.druh) + " at " + std::to_string(r.top));
        const std::string druh = r.druh;
        forms::PictureBox& p = druh == "becko" ? f.picBecko(2) : druh == "krizek" ? f.picKrizek(2) : f.picOdrazka(2);
        Pusti(500, r.top);
        Chyt(p);
        EXPECT_EQ(Kde(p), r.misto);
    }
    EXPECT_TRUE(Stisknute(f).empty()) << "signs press no button";
    EXPECT_TRUE(TakeBoxes().empty());
}

// A head dropped at 9375 snaps to 9380 in the head column and presses f1,
// or fis1 with a sharp beside it; picked up and dropped at the same height
// it is released and pressed again, with the same slot.
TEST_F(DragTest, ADroppedHeadPressesTheButtonOfItsNote) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    Pusti(2000, 9375);
    Chyt(f.picNota(1));
    EXPECT_EQ(Kde(f.picNota(1)), (Misto{2250, 9380}));
    EXPECT_EQ(Stisknute(f), std::vector<int>{14});
    EXPECT_EQ(Sloty(f)[1], "14");

    f.picKrizek(0).Move(1800, 9270);
    Pusti(2250, 9380);
    Chyt(f.picNota(1));
    EXPECT_EQ(Stisknute(f), std::vector<int>{15}) << "14 was released when the head was picked up";
    EXPECT_EQ(Sloty(f)[1], "15");
    EXPECT_EQ(f.lblTonKlav(14).Caption.get(), "");

    // Dropped below the band: parked, its button stays released.
    Pusti(2250, 10060);
    Chyt(f.picNota(1));
    EXPECT_EQ(Kde(f.picNota(1)), (Misto{1440, 8400}));
    EXPECT_TRUE(Stisknute(f).empty());
    EXPECT_EQ(Sloty(f)[1], "");
    EXPECT_TRUE(TakeBoxes().empty());
}

// A click on a head resting in its tray (no movement) snaps it where it lies:
// the tray row lies inside the band, so it goes to 8420, "a3,".
TEST_F(DragTest, AClickOnATrayHeadPutsItOnTheStaff) {
    Form1& f = StartRecording();
    Stupnice(f, "C Dur");
    forms::SetDragDriver([](forms::Control&) {});
    Chyt(f.picNota(3));  // at 1515, 8400
    EXPECT_EQ(Kde(f.picNota(3)), (Misto{2250, 8420}));
    EXPECT_EQ(Stisknute(f), std::vector<int>{42});
    EXPECT_EQ(f.lblTonKlav(42).Caption.get(), "a3,");
}

// 10040 is the lowest grid height in the band and no note: the head stays
// there, the invalid-note message, no button.
TEST_F(DragTest, AHeadAt10040NamesNoNote) {
    Form1& f = StartRecording();
    Pusti(2250, 10040);
    Chyt(f.picNota(0));
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{"Nota není platná pro Belmoru. Nebude zapsána a procedura bude předčasně ukončena. "
                                 "Upozorněte prosím na tuto chybu autora programu.",
                                 forms::vbCritical, "Chyba programu"}}));
    EXPECT_EQ(Kde(f.picNota(0)), (Misto{2250, 10040}));
    EXPECT_TRUE(Stisknute(f).empty());
}

// A height that does not fit 16 bits is an overflow (error 6): raised by the
// handler, and reported with its number when it reaches the window.
TEST_F(DragTest, AHeightBeyond16BitsIsAnOverflow) {
    Form1& f = StartRecording();
    Pusti(2250, 40000);
    try {
        f.picBecko_MouseDown(1, forms::vbLeftButton, 0, 0, 0);
        ADD_FAILURE() << "no overflow";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::Overflow);
    }
    // 32767 itself fits, but the grid height above it does not.
    Pusti(2250, 32767);
    Chyt(f.picNota(0));
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{kUnexpected + "6", forms::vbCritical, "Neočekávaná chyba !"}}));
}

}  // namespace
