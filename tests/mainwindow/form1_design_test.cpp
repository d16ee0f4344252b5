// The design of the main window as it stands after construction (before any
// load): the control arrays and their indexes, the positions the rest of the
// program relies on, Tags and colours of the keys, the menu tree, and that
// the window holds every control without covering one with another.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMenuBar>
#include <QWidget>

#include "mainwindow/form1.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/render_form.h"
#include "tests/support/qt_app.h"

namespace {

using forms::OleColor;

const std::set<int> kBlackTones = {3, 5, 7, 10, 12, 15, 17, 19, 22, 24, 27, 29, 31, 34, 36, 39, 41, 43, 46, 48};
const std::vector<int> kSecondPictures = {2,  4,  5,  7,  8,  10, 11, 13, 14, 16, 17, 19, 20, 22, 23, 25,
                                          26, 28, 29, 31, 32, 34, 35, 37, 38, 40, 41, 43, 44, 46, 47, 49};

class Form1DesignTest : public ::testing::Test {
protected:
    QApplication& app_ = forms_test::App();
    Form1 form;
};

template <class T>
std::vector<int> Indexes(const forms::ControlArray<T>& arr) {
    std::vector<int> out;
    for (auto& c : arr) out.push_back(c.Index);
    return out;
}

int ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

struct Rect {
    float l, t, r, b;
};
Rect RectOf(const forms::Control& c) { return {c.Left, c.Top, c.Left + c.Width, c.Top + c.Height}; }
bool Intersect(const Rect& a, const Rect& b) { return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b; }
std::string Describe(const forms::Control& c) {
    return c.Name + (c.Index >= 0 ? "(" + std::to_string(c.Index) + ")" : std::string());
}

// ---- Control arrays ---------------------------------------------------------

TEST_F(Form1DesignTest, SecondPicturesExistOnlyForTheThirtyTwoDoubledButtons) {
    EXPECT_EQ(Indexes(form.imgDiskantPom), kSecondPictures);
    EXPECT_EQ(Indexes(form.lblSynchro), kSecondPictures);
    for (int missing : {0, 1, 3, 6, 9, 24, 48, 50}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(ErrorNumberOf([&] { (void)form.imgDiskantPom(missing); }), 340);
        EXPECT_EQ(ErrorNumberOf([&] { (void)form.lblSynchro(missing).Caption; }), 340);
    }
}

TEST_F(Form1DesignTest, DenseArraysHaveTheirDesignedIndexRanges) {
    struct Range {
        const char* name;
        std::vector<int> indexes;
        int lo, hi;
    };
    const Range ranges[] = {
        {"lbl", Indexes(form.lbl), 1, 49},
        {"imgDiskant", Indexes(form.imgDiskant), 1, 49},
        {"cmdKlavesa", Indexes(form.cmdKlavesa), 1, 49},
        {"lblTonKlav", Indexes(form.lblTonKlav), 1, 49},
        {"ImgBas", Indexes(form.ImgBas), 1, 120},
        {"imgNota", Indexes(form.imgNota), 0, 84},
        {"imgBecko", Indexes(form.imgBecko), 0, 84},
        {"imgKrizek", Indexes(form.imgKrizek), 0, 84},
        {"fraNoty", Indexes(form.fraNoty), 1, 16},
        {"lblSlabika2", Indexes(form.lblSlabika2), 1, 16},
        {"lblSlabika", Indexes(form.lblSlabika), 0, 4},
        {"picNota", Indexes(form.picNota), 0, 4},
        {"picBecko", Indexes(form.picBecko), 0, 6},
        {"picKrizek", Indexes(form.picKrizek), 0, 6},
        {"picOdrazka", Indexes(form.picOdrazka), 0, 6},
        {"picBeckoStup", Indexes(form.picBeckoStup), 0, 6},
        {"picKrizekStup", Indexes(form.picKrizekStup), 0, 6},
        {"imgKnoflikVol", Indexes(form.imgKnoflikVol), 0, 1},
        {"imgKnofCerv", Indexes(form.imgKnofCerv), 0, 1},
        {"cmdInterval", Indexes(form.cmdInterval), 0, 14},
        {"chkInterval", Indexes(form.chkInterval), 0, 14},
        {"cmdSpodInterval", Indexes(form.cmdSpodInterval), 0, 14},
        {"chkSpodInterval", Indexes(form.chkSpodInterval), 0, 14},
        {"cmdZabrana", Indexes(form.cmdZabrana), 1, 5},
        {"lblCisKnofl", Indexes(form.lblCisKnofl), 0, 31},
        {"cmdZvuk", Indexes(form.cmdZvuk), 0, 2},
        {"mnuNovaPisen", Indexes(form.mnuNovaPisen), 2, 2},
        {"mnuOtevrit", Indexes(form.mnuOtevrit), 3, 3},
        {"mnuKonecPisne", Indexes(form.mnuKonecPisne), 4, 4},
    };
    for (const Range& r : ranges) {
        std::vector<int> expected;
        for (int i = r.lo; i <= r.hi; ++i) expected.push_back(i);
        EXPECT_EQ(r.indexes, expected) << r.name;
    }
    EXPECT_EQ(form.lbl(7).Name, "lbl");
    EXPECT_EQ(form.cmdKlavesa(7).Index, 7);
}

// ---- Positions other parts of the program rely on ----------------------------

TEST_F(Form1DesignTest, TrebleButtonsAndTheirLabelsStandInThreeRows) {
    struct At {
        int n;
        float left, top;
    };
    for (const At& a : {At{1, 6000, 9720}, At{2, 4800, 9720}, At{3, 5400, 9360}, At{26, 4800, 4920},
                        At{30, 5400, 3960}, At{48, 5400, 360}, At{49, 6000, 120}}) {
        SCOPED_TRACE(a.n);
        EXPECT_EQ(form.imgDiskant(a.n).Left, a.left);
        EXPECT_EQ(form.imgDiskant(a.n).Top, a.top);
        EXPECT_EQ(form.imgDiskant(a.n).Width, 600.f);
        EXPECT_EQ(form.imgDiskant(a.n).Height, 570.f);
        EXPECT_EQ(form.lbl(a.n).Left, a.left);
        EXPECT_EQ(form.lbl(a.n).Top, a.top);
        EXPECT_EQ(form.lbl(a.n).Width, 615.f);
        EXPECT_EQ(form.lbl(a.n).Height, 615.f);
    }
}

TEST_F(Form1DesignTest, SecondPicturesRepeatTheOuterRowsBesideTheMiddleRow) {
    struct At {
        int n;
        float left, top;
    };
    for (const At& a : {At{2, 6600, 9360}, At{4, 4200, 9360}, At{5, 6600, 8760}, At{25, 4200, 5160},
                        At{47, 6600, 360}, At{49, 4200, 360}}) {
        SCOPED_TRACE(a.n);
        EXPECT_EQ(form.imgDiskantPom(a.n).Left, a.left);
        EXPECT_EQ(form.imgDiskantPom(a.n).Top, a.top);
        EXPECT_EQ(form.lblSynchro(a.n).Left, a.left);
        EXPECT_EQ(form.lblSynchro(a.n).Top, a.top);
    }
}

TEST_F(Form1DesignTest, PianoKeysClimbWithDoubleStepsBetweenWhiteKeys) {
    struct Key {
        int n;
        float top;
    };
    for (const Key& k : {Key{1, 9840}, Key{2, 9600}, Key{3, 9480}, Key{8, 8880}, Key{9, 8640}, Key{13, 8160},
                         Key{14, 7920}, Key{33, 5280}, Key{48, 3240}, Key{49, 3120}}) {
        SCOPED_TRACE(k.n);
        const bool black = kBlackTones.count(k.n) != 0;
        const forms::CommandButton& key = form.cmdKlavesa(k.n);
        EXPECT_EQ(key.Left, 9720.f);
        EXPECT_EQ(key.Top, k.top);
        EXPECT_EQ(key.Width, black ? 975.f : 1575.f);
        EXPECT_EQ(key.Height, black ? 200.f : 255.f);
        EXPECT_EQ(form.lblTonKlav(k.n).Top, k.top);
        EXPECT_EQ(form.lblTonKlav(k.n).Left, black ? 9240.f : 11400.f);
        // The note label stays clear of its key.
        const float right = form.lblTonKlav(k.n).Left + form.lblTonKlav(k.n).Width;
        EXPECT_LE(right, black ? 9720.f : 12120.f);
    }
}

TEST_F(Form1DesignTest, BlackKeysAreTaggedAndColouredOnEveryPartOfTheKeyboard) {
    for (int n = 1; n <= 49; ++n) {
        SCOPED_TRACE(n);
        const bool black = kBlackTones.count(n) != 0;
        const std::string tag = black ? "1" : "0";
        EXPECT_EQ(form.imgDiskant(n).Tag, tag);
        EXPECT_EQ(form.cmdKlavesa(n).Tag, tag);
        EXPECT_EQ(form.lbl(n).Tag, "0");
        if (form.imgDiskantPom.Exists(n)) {
            EXPECT_EQ(form.imgDiskantPom(n).Tag, tag);
        }
        // The keys' colour is their state: it shows only on graphical buttons.
        EXPECT_EQ(form.cmdKlavesa(n).Style, forms::vbButtonGraphical);
        EXPECT_EQ(form.cmdKlavesa(n).BackColor, black ? OleColor{0x80000008} : OleColor{0x80000009});
        // Free look of the button for its colour.
        EXPECT_TRUE(form.imgDiskant(n).Picture == form.imgKnoflikVol(black ? 1 : 0).Picture);
    }
}

TEST_F(Form1DesignTest, StripStepsAreFramesHoldingTheirFiveSlots) {
    for (int i = 1; i <= 16; ++i) {
        SCOPED_TRACE(i);
        const float left = 9120.f + 360.f * static_cast<float>(i - 1);
        const forms::Frame& frame = form.fraNoty(i);
        EXPECT_EQ(frame.Left, left);
        EXPECT_EQ(frame.Top, 120.f);
        EXPECT_EQ(frame.Width, 375.f);
        EXPECT_EQ(frame.Height, 2295.f);
        EXPECT_EQ(frame.BackColor, OleColor{0x80000005});
        const forms::Label& syllable = form.lblSlabika2(i);
        EXPECT_EQ(syllable.Left, left);
        EXPECT_EQ(syllable.Top, i % 2 ? 2400.f : 2640.f);
        EXPECT_EQ(syllable.Width, i == 16 ? 375.f : 735.f);
        // The syllables' white lines end where the strip ends.
        EXPECT_LE(syllable.Left + syllable.Width, form.fraNoty(16).Left + form.fraNoty(16).Width);
        EXPECT_EQ(syllable.Caption, "");
        for (int s = 5 * i; s <= 5 * i + 4; ++s) {
            EXPECT_EQ(form.imgNota(s).Parent(), &form.fraNoty(i)) << s;
            EXPECT_EQ(form.imgBecko(s).Parent(), &form.fraNoty(i)) << s;
            EXPECT_EQ(form.imgKrizek(s).Parent(), &form.fraNoty(i)) << s;
            EXPECT_FALSE(form.imgNota(s).Visible) << s;
            EXPECT_EQ(form.imgNota(s).Left, 120.f);
            EXPECT_EQ(form.imgBecko(s).Left, 20.f);
        }
    }
    const forms::Container* self = &form;
    for (int s = 0; s <= 4; ++s) {
        EXPECT_EQ(form.imgNota(s).Parent(), self);
        EXPECT_EQ(form.imgNota(s).Top, 9980.f);
        EXPECT_EQ(form.imgBecko(s).Top, 9840.f);
        EXPECT_EQ(form.imgKrizek(s).Top, 9880.f);
        EXPECT_FALSE(form.imgNota(s).Visible || form.imgBecko(s).Visible || form.imgKrizek(s).Visible);
    }
}

TEST_F(Form1DesignTest, IntervalRowsAndTheirCaptions) {
    const char* captions[] = {"Prima",    "Sekunda",   "Tercie",     "Kvarta",      "Kvinta",
                              "Sexta",    "Septima",   "Oktáva",     "Nóna",        "Decima",
                              "Undecima", "Duodecima", "Tercdecima", "Kvartdecima", "Kvintdecima"};
    const float tops[] = {3480, 3960, 4440, 4920, 5400, 5880, 6360, 6840, 7320, 7800, 8280, 8640, 9000, 9360, 9720};
    for (int i = 0; i <= 14; ++i) {
        SCOPED_TRACE(i);
        for (const forms::CommandButton* b : {&form.cmdInterval(i), &form.cmdSpodInterval(i)}) {
            EXPECT_EQ(b->Caption, captions[i]);
            EXPECT_EQ(b->Top, tops[i]);
            EXPECT_EQ(b->Enabled, i != 0);
            EXPECT_EQ(b->Style, forms::vbButtonGraphical);
            EXPECT_EQ(b->BackColor, OleColor{0x8000000B});
        }
        EXPECT_EQ(form.cmdInterval(i).Left, 12120.f);
        EXPECT_EQ(form.cmdSpodInterval(i).Left, 13680.f);
        EXPECT_EQ(form.chkInterval(i).Left, 13200.f);
        EXPECT_EQ(form.chkSpodInterval(i).Left, 14760.f);
        EXPECT_EQ(form.chkInterval(i).Top, tops[i]);
        EXPECT_EQ(form.chkInterval(i).Value, forms::vbUnchecked);
    }
}

TEST_F(Form1DesignTest, EntryStaffPoolsStartAtTheirTrays) {
    const float notaLeft[] = {1440, 1560, 1680, 1515, 1650};
    const float notaTop[] = {8520, 8520, 8520, 8400, 8400};
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(form.picNota(i).Left, notaLeft[i]);
        EXPECT_EQ(form.picNota(i).Top, notaTop[i]);
    }
    const float beckoLeft[] = {1080, 990, 900, 810, 720, 720, 810};
    const float krizekLeft[] = {480, 390, 300, 210, 120, 210, 120};
    const float odrazkaLeft[] = {1200, 1280, 1280, 1200, 1280, 1200, 1280};
    const float beckoStupLeft[] = {120, 240, 360, 480, 600, 960, 1080};
    for (int i = 0; i <= 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(form.picBecko(i).Left, beckoLeft[i]);
        EXPECT_EQ(form.picKrizek(i).Left, krizekLeft[i]);
        EXPECT_EQ(form.picOdrazka(i).Left, odrazkaLeft[i]);
        EXPECT_EQ(form.picBeckoStup(i).Left, beckoStupLeft[i]);
        EXPECT_EQ(form.picBeckoStup(i).Top, 7680.f);
        EXPECT_EQ(form.picKrizekStup(i).Left, 120.f + 120.f * static_cast<float>(i));
        EXPECT_EQ(form.picKrizekStup(i).Top, 7560.f);
        EXPECT_EQ(form.picKrizekStup(i).Height, 300.f);
        EXPECT_NE(form.picBecko(i).hWnd(), 0);  // dragged by their window handles
    }
}

// ---- Start state of the song controls ---------------------------------------

TEST_F(Form1DesignTest, SongControlsStartDisabledAndSongOnlyControlsHidden) {
    for (const forms::CommandButton* b :
         {&form.cmdEndEdit, &form.cmdReadTlak, &form.cmdReadTah, &form.cmdDalsi, &form.cmdDalsiTah,
          &form.cmdDalsiTlak, &form.cmdPredchozi, &form.cmdPredTah, &form.cmdPredTlak, &form.cmdPrvni,
          &form.cmdPosledni, &form.cmdJakDal, &form.cmdJakDalZpet, &form.cmdTlak, &form.cmdTah,
          &form.cmdTlakNoty, &form.cmdTahNoty, &form.cmdTimer})
        EXPECT_FALSE(b->Enabled) << b->Name;
    EXPECT_TRUE(form.cmdNovaSkladba.Enabled);
    EXPECT_TRUE(form.cmdEdit.Enabled);
    EXPECT_FALSE(form.Combo1.Visible);
    EXPECT_FALSE(form.Slider1.Visible);
    EXPECT_FALSE(form.lblTempo.Visible);
    EXPECT_FALSE(form.cmdOPrg.Visible);
    for (int i = 0; i <= 2; ++i) EXPECT_FALSE(form.cmdZvuk(i).Visible);
    for (int i = 1; i <= 5; ++i) EXPECT_FALSE(form.cmdZabrana(i).Visible);
    EXPECT_FALSE(form.Timer1.Enabled);
    EXPECT_EQ(form.Timer1.Interval, 2000);
    EXPECT_EQ(form.Slider1.Min, -5);
    EXPECT_EQ(form.Slider1.Max, 5);
    EXPECT_EQ(form.cmdStupnice.Caption, "Vyberte stupnici");
    EXPECT_EQ(form.Caption, "Belmora");
}

// ---- Menu ---------------------------------------------------------------------

TEST_F(Form1DesignTest, MenuTreeCaptionsShortcutsAndStates) {
    struct Item {
        const forms::Menu* menu;
        const char* caption;
        const char* shortcut;
        bool enabled, checked;
    };
    struct TopMenu {
        const forms::Menu* menu;
        const char* caption;
        std::vector<Item> items;
    };
    const std::vector<TopMenu> tree = {
        {&form.mnuSoubor, "Soubor",
         {{&form.mnuNovaPisen(2), "Nová píseň", "Ctrl+N", true, false},
          {&form.mnuOtevrit(3), "Otevřít", "Ctrl+O", true, false},
          {&form.mnuKonecPisne(4), "Konec písničky", "Ctrl+X", false, false},
          {&form.mnuFileBar4, "-", "", true, false},
          {&form.mnuNastavCestu, "Změna implicitní cesty pro Excel", "", true, false},
          {&form.mnuFileBar3, "-", "", true, false},
          {&form.mnuKonec, "Konec", "", true, false}}},
        {&form.mnuUpravy, "Úpravy",
         {{&form.mnuKonverze, "Konverze", "Ctrl+K", true, false},
          {&form.mnuFileBar0, "-", "", true, false},
          {&form.mnuUvolnitDiskant, "Uvolnit diskant", "Ctrl+D", true, false},
          {&form.mnuUvolnitBasy, "Uvolnit basy", "Ctrl+B", true, false},
          {&form.mnuUvolnitNoty, "Uvolnit noty", "", true, false},
          {&form.mnuUvolnitPultony, "Uvolnit půltóny", "Ctrl+P", true, false},
          {&form.mnuUvolnitOdrazky, "Uvolnit odrážky", "", true, false},
          {&form.mnuUvolnitVse, "Uvolnit vše", "Ctrl+A", true, false}}},
        {&form.mnuNastaveni, "Nastavení",
         {{&form.mnuPrekrytRady, "Překrýt řady", "", true, false},
          {&form.mnuOtocitHmatnik, "Otočit hmatník", "", false, false},
          {&form.mnuFileBar2, "-", "", true, false},
          {&form.mnu2Rady, "Názvy na knoflíkách", "", true, true},
          {&form.mnuCislovat, "Pomocné číslování", "", true, true}}},
        {&form.mnuPosta, "Pošta", {{&form.mnuMailAutorovi, "Poslat zprávu autorovi", "", true, false}}},
        {&form.mnuNapoveda, "Nápověda",
         {{&form.mnuhtm, "Ovládání Korvela", "F1", true, false},
          {&form.mnuOProgramu, "O programu", "", true, false}}},
    };

    const QList<QAction*> bar = form.MenuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(tree.size()));
    for (size_t m = 0; m < tree.size(); ++m) {
        const TopMenu& top = tree[m];
        SCOPED_TRACE(top.caption);
        EXPECT_EQ(bar[static_cast<qsizetype>(m)], top.menu->Action());
        EXPECT_EQ(top.menu->Caption, top.caption);
        ASSERT_EQ(top.menu->Items().size(), top.items.size());
        for (size_t i = 0; i < top.items.size(); ++i) {
            const Item& it = top.items[i];
            SCOPED_TRACE(it.caption);
            EXPECT_EQ(top.menu->Items()[i], it.menu);
            EXPECT_EQ(it.menu->Caption, it.caption);
            EXPECT_EQ(it.menu->Shortcut, it.shortcut);
            EXPECT_EQ(it.menu->Enabled, it.enabled);
            EXPECT_EQ(it.menu->Checked, it.checked);
            EXPECT_TRUE(it.menu->Visible);
        }
    }
}

// ---- The window holds everything ---------------------------------------------

TEST_F(Form1DesignTest, EveryControlLiesInsideItsContainer) {
    const float width = form.ScaleWidth();
    const float height = form.ScaleHeight();
    ASSERT_GE(width, 15015.f);
    ASSERT_GE(height, 10335.f);
    int named = 0;
    for (const forms::Control* c : form.Controls()) {
        SCOPED_TRACE(Describe(*c));
        if (!c->Name.empty()) ++named;
        EXPECT_GE(c->Left, 0.f);
        EXPECT_GE(c->Top, 0.f);
        EXPECT_LE(c->Left + c->Width, width);
        EXPECT_LE(c->Top + c->Height, height);
    }
    for (const forms::Frame& frame : form.fraNoty)
        for (const forms::Control* c : frame.Controls()) {
            SCOPED_TRACE(Describe(*c));
            if (!c->Name.empty()) ++named;
            EXPECT_LE(c->Left + c->Width, frame.Width);
            EXPECT_LE(c->Top + c->Height, frame.Height);
        }
    // Every control of the window sits on it or in a strip frame: 816
    // elements of control arrays and 55 single controls.
    EXPECT_EQ(named, 816 + 55);
}

// The controls placed freely must not cover one another, nor anything the
// fixed layout puts on the window. Allowed to overlap by design: the labels
// over the treble buttons, the overlays over the rows, the hidden picture
// sources and the hidden information button (never shown), the strip's own
// frames, and the signs of one reading staff slot (a note has one sign).
TEST_F(Form1DesignTest, FreelyPlacedControlsCoverNothing) {
    const std::set<std::string> ours = {
        "cmdNovaSkladba", "cmdEdit",     "cmdEndEdit",  "lblLadeni",   "Combo1",       "lblTon",
        "cmdZvuk",        "lblPopisD",   "lblTony",     "lblPopisB",   "lblBasy",      "lblStupnice",
        "cmdTlak",        "cmdTah",      "cmdTlakNoty", "cmdTahNoty",  "cmdReadTlak",  "cmdReadTah",
        "cmdJakDal",      "cmdJakDalZpet", "cmdPrvni",  "cmdPredchozi", "cmdPredTlak", "cmdPredTah",
        "cmdDalsi",       "cmdDalsiTlak", "cmdDalsiTah", "cmdPosledni", "cmdTimer",    "Slider1",
        "lblTempo",       "lblCisKnofl", "lblTonKlav"};
    auto exempt = [](const forms::Control& c) {
        return c.Name.empty() || c.Name == "cmdZabrana" || c.Name == "cmdOPrg" ||
               (c.Name.rfind("img", 0) == 0 && !c.Visible && c.Name != "imgNota" && c.Name != "imgBecko" &&
                c.Name != "imgKrizek");
    };
    std::vector<const forms::Control*> all;
    for (const forms::Control* c : form.Controls())
        if (!exempt(*c)) all.push_back(c);
    // Each reading staff slot travels up its column from c to g4.
    auto sweep = [](const forms::Control& c) {
        Rect r = RectOf(c);
        if ((c.Name == "imgNota" || c.Name == "imgBecko" || c.Name == "imgKrizek") && c.Index <= 4) r.t -= 1920;
        return r;
    };
    int pairs = 0;
    for (const forms::Control* a : all) {
        const bool readingSlot = a->Index >= 0 && a->Index <= 4 &&
                                 (a->Name == "imgNota" || a->Name == "imgBecko" || a->Name == "imgKrizek");
        if (!ours.count(a->Name) && !readingSlot) continue;
        for (const forms::Control* b : all) {
            if (a == b) continue;
            if (readingSlot && b->Index == a->Index && (b->Name == "imgBecko" || b->Name == "imgKrizek") &&
                (a->Name == "imgBecko" || a->Name == "imgKrizek"))
                continue;
            ++pairs;
            EXPECT_FALSE(Intersect(sweep(*a), sweep(*b))) << Describe(*a) << " covers " << Describe(*b);
        }
    }
    EXPECT_GT(pairs, 10000);
}

// The keyboards, piano keys and interval buttons lie in layers of their own:
// each stays where the design puts it, and no control of the window that
// takes clicks lies under a layer (the layer would take them), as designed,
// after the start-up lays the basses out and while pictures are dragged.
TEST_F(Form1DesignTest, LayersCoverNoControlBelowThem) {
    struct Case {
        const char* name;
        const forms::Layer& layer;
        std::size_t members;
    };
    const Case layers[] = {{"treble", form.trebleLayer, 49 + 32 + 49 + 32},
                           {"bass", form.bassLayer, 120},
                           {"piano", form.pianoLayer, 49 + 49},
                           {"intervals", form.intervalLayer, 4 * 15},
                           {"strip", form.stripLayer, 16 + 16},
                           {"reading staff", form.readingStaffLayer, 3 * 5},
                           {"left numbers", form.leftNumbersLayer, 13 + 4},
                           {"right numbers", form.rightNumbersLayer, 12 + 3}};
    QWidget* client = form.ClientWidget();
    for (const char* round : {"designed", "laid out", "dragged"}) {
        if (std::string(round) == "laid out") form.RozmistiBasy();
        // The user drags the entry staff's heads and signs anywhere on the
        // window before dropping them: no layer may follow them there.
        if (std::string(round) == "dragged")
            for (auto* pool : {&form.picNota, &form.picBecko, &form.picKrizek, &form.picOdrazka})
                for (auto& picture : *pool) picture.Move(form.ScaleWidth() - picture.Width, form.ScaleHeight() - picture.Height);
        for (const Case& l : layers) {
            SCOPED_TRACE(std::string(l.name) + " " + round);
            ASSERT_EQ(l.layer.Members().size(), l.members);
            const QRect area = l.layer.Widget()->geometry();
            const std::set<const forms::Control*> members(l.layer.Members().begin(), l.layer.Members().end());
            for (const forms::Control* c : members) {
                const QRect design(forms::TwipsToPixels(c->Left), forms::TwipsToPixels(c->Top),
                                   forms::TwipsToPixels(c->Width), forms::TwipsToPixels(c->Height));
                // A hidden head or sign has no size where it stands.
                const QRect shown(c->Widget()->mapTo(client, QPoint(0, 0)), c->Widget()->size());
                EXPECT_EQ(c->Visible ? shown : QRect(shown.topLeft(), design.size()), design) << Describe(*c);
            }
            const qsizetype at = client->children().indexOf(l.layer.Widget());
            int checked = 0;
            for (const forms::Control* c : form.Controls()) {
                if (members.count(c) || !c->Widget() || c->Widget()->parentWidget() != client) continue;
                // The staff lines take no clicks: they may lie anywhere.
                if (c->Visible && c->Widget()->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
                ++checked;
                const QRect r(forms::TwipsToPixels(c->Left), forms::TwipsToPixels(c->Top),
                              forms::TwipsToPixels(c->Width), forms::TwipsToPixels(c->Height));
                if (r.intersects(area)) {
                    EXPECT_GT(client->children().indexOf(c->Widget()), at) << Describe(*c);
                }
            }
            EXPECT_GT(checked, 50);
        }
    }
}

// ---- Bass keyboard -------------------------------------------------------------

// The basses start free, also when the start-up stops before releasing them.
TEST_F(Form1DesignTest, BassButtonsStartFree) {
    for (int b = 1; b <= 120; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(form.ImgBas(b).Tag, "0");
        const forms::Image& source = b == 30 ? form.imgBaVolC : (b == 26 || b == 34) ? form.imgBaVolMriz : form.imgBaVol;
        EXPECT_TRUE(form.ImgBas(b).Picture.get() == source.Picture.get());
    }
}

// ---- Captions ---------------------------------------------------------------

// Every caption of a visible button reads in full on one line in the font the
// button is drawn with.
TEST_F(Form1DesignTest, ButtonCaptionsFitTheirButtons) {
    int checked = 0;
    for (const forms::Control* c : form.Controls()) {
        const auto* button = dynamic_cast<const forms::CommandButton*>(c);
        if (!button || button->Caption.get().empty()) continue;
        const QWidget* w = button->Widget();
        const int text = QFontMetrics(w->font()).horizontalAdvance(QString::fromStdString(button->Caption));
        EXPECT_LE(text + 6, w->width()) << Describe(*c) << " \"" << button->Caption.get() << "\"";
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

// ---- A picture of the design to look at ---------------------------------------

TEST_F(Form1DesignTest, RendersToPng) {
    const std::string path = std::string(BELMORA_TEST_OUTPUT_DIR) + "/form1.png";
    ASSERT_TRUE(form1_test::RenderToPng(form, path)) << path;
    const QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    // The whole client area (15 twips a pixel) is in the picture.
    EXPECT_GE(image.width(), forms::TwipsToPixels(form.ScaleWidth()));
    EXPECT_GE(image.height(), forms::TwipsToPixels(form.ScaleHeight()));
}

}  // namespace
