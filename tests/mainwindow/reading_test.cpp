// Reading a grip onto the window: treble buttons, keys, note names and the
// reading staff; the basses looked up in read_only.xls; the fingering on the
// button labels; the tone names on the buttons; the treble button of a note
// name. Last, one request from end to end: a song written by LibreOffice is
// opened, "Další" is pressed and the row is read as push.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "notation/zapis/notyzapis.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "tests/support/doubles/scripted_file_dialog.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/mainwindow/form1_fixture.h"
#include "tests/support/soffice.h"

namespace {

namespace fs = std::filesystem;
using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;

constexpr forms::OleColor kKeyPush = 0x800080;
constexpr forms::OleColor kKeyPull = 0xC00000;

// One song row as the grip writers leave it.
struct Row {
    std::vector<std::string> treble;  // from B
    std::string bellows;              // I
    std::vector<std::string> basses;  // from M
    std::string fingering;            // V
    std::string scale;                // W
    std::string syllable;             // A
};

const std::string kUnexpected = std::string("Volejte firmu ") + resources::kMakerContact + " a sdělte číslo chyby ";

const Box kSixthNote{
    "Maximální počet současně stisknutých knoflíků pravou rukou je pět.\rJe to podle počtu prstů na pravé ruce.\r"
    "Jestliže jste víceprstý mutant, kontaktujte prosím autora a bude\rpro Vás zdarma vyrobena specielní verze "
    "Korvela.",
    forms::vbCritical, "Mnohoprstost !"};
const Box kBellowsInWalk{
    "Maximální počet současně stisknutých knoflíků je sedm.\r\nPřípadné další zapsané tóny v tomto hmatu budou "
    "ignorovány.",
    forms::vbExclamation, "Kolik máte prstů ?"};

Box UnknownTone(const std::string& name) {
    return {"Nota " + name +
                " v nastaveném ladění neexistuje.\rZkontrolujte prosím aktuální záznam v písničce a opravte uvedenou "
                "notu,\rnebo proveďte pomocí programu nový záznam aktuálního akordu znovu.\r\rV tuto chvíli tón "
                "nemůže být zobrazen !",
            forms::vbExclamation, "Chyba při vyhledávání tónu."};
}

// The plain name of treble tone n without its comma: "e" for 1, "e4" for 49.
std::string ToneCaption(int n) {
    static const char* const pitch[] = {"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "ais", "h"};
    const int semitone = n - 1 + 4;
    const int octave = semitone / 12;
    return std::string(pitch[semitone % 12]) + (octave ? std::to_string(octave) : "");
}

bool HasSecondPicture(int n) { return n != 1 && n % 3 != 0; }

class ReadingTest : public Form1Fixture {
protected:
    // The window started, with a new empty song open.
    Form1& StartWithSong() {
        Form1& f = Start();
        OpenNewSong("Zkouska.xls");
        return f;
    }

    static void Put(const std::string& address, const std::string& value) {
        if (!value.empty()) ExcelAplikace->Range(address).Value(vb::Variant(value));
    }
    static std::string Col(int c) {
        std::string s;
        for (; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
        return s;
    }
    static void WriteRow(int r, const Row& row) {
        const std::string n = std::to_string(r);
        Put("A" + n, row.syllable);
        for (std::size_t i = 0; i < row.treble.size(); ++i) Put(Col(2 + static_cast<int>(i)) + n, row.treble[i]);
        Put("I" + n, row.bellows);
        for (std::size_t i = 0; i < row.basses.size(); ++i) Put(Col(13 + static_cast<int>(i)) + n, row.basses[i]);
        Put("V" + n, row.fingering);
        Put("W" + n, row.scale);
    }
    static void Cursor(const std::string& address) { ExcelAplikace->Range(address).Select(); }
    static std::string CursorAddress() { return ExcelAplikace->ActiveCell().Address(); }

    // The buttons painted with the picture of a reading, in number order.
    static std::vector<int> PaintedButtons(Form1& f) {
        std::vector<int> painted;
        for (int n = 1; n <= 49; ++n) {
            const forms::Picture& p = f.imgDiskant(n).Picture.get();
            if (p == f.imgKnofTlak.Picture.get() || p == f.imgKnofTah.Picture.get()) painted.push_back(n);
        }
        return painted;
    }
    static int VisibleHeads(Form1& f) {
        int shown = 0;
        for (int i = 0; i <= 4; ++i) shown += f.imgNota(i).Visible ? 1 : 0;
        return shown;
    }
    static std::map<int, forms::Picture> PaintedBasses(Form1& f) {
        std::map<int, forms::Picture> painted;
        for (int b = 1; b <= 120; ++b) {
            const forms::Picture& p = f.ImgBas(b).Picture.get();
            if (!(p == f.imgBaVol.Picture.get() || p == f.imgBaVolC.Picture.get() ||
                  p == f.imgBaVolMriz.Picture.get()))
                painted[b] = p;
        }
        return painted;
    }
};

// ---- Treble side ---------------------------------------------------------

TEST_F(ReadingTest, PushRowPaintsButtonsKeysNamesAndHeads) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"c1,", "e1,", "g1,"}, "Tlak", {}, "", "C Dur", "La"});
    Cursor("D1");

    f.cmdReadTlak_Click();

    EXPECT_EQ(PaintedButtons(f), (std::vector<int>{9, 13, 16}));
    const std::map<int, std::string> names{{9, "c1,"}, {13, "e1,"}, {16, "g1,"}};
    for (const auto& [n, name] : names) {
        EXPECT_TRUE(f.imgDiskant(n).Picture.get() == f.imgKnofTlak.Picture.get()) << n;
        EXPECT_EQ(f.cmdKlavesa(n).BackColor.get(), kKeyPush) << n;
        EXPECT_EQ(f.lblTonKlav(n).Caption.get(), name) << n;
    }
    // 9 appears once on the keyboard; 13 and 16 twice.
    EXPECT_FALSE(f.imgDiskantPom.Exists(9));
    EXPECT_TRUE(f.imgDiskantPom(13).Picture.get() == f.imgKnofTlak2.Picture.get());
    EXPECT_TRUE(f.imgDiskantPom(16).Picture.get() == f.imgKnofTlak2.Picture.get());
    EXPECT_TRUE(f.imgDiskantPom(14).Picture.get() == f.imgKnoflikVol(0).Picture.get());
    EXPECT_EQ(f.cmdKlavesa(10).BackColor.get(), forms::vbWindowText);

    EXPECT_EQ(f.imgNota(0).Top, 9980.f - 420);
    EXPECT_EQ(f.imgNota(1).Top, 9980.f - 540);
    EXPECT_EQ(f.imgNota(2).Top, 9980.f - 660);
    EXPECT_EQ(VisibleHeads(f), 3);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_FALSE(f.imgBecko(i).Visible) << i;
        EXPECT_FALSE(f.imgKrizek(i).Visible) << i;
    }
    EXPECT_EQ(f.cmdJakDal.BackColor.get(), forms::vbInactiveBorder);
    // The cursor rests in column B of the row read, in the song's window.
    EXPECT_EQ(CursorAddress(), "$B$1");
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), AktualniPisen);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ReadingTest, PullRowPacksSharpsAndFlatsIntoSharedSlots) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"d1,", "fis1,", "b1,"}, "Tah", {}, "", "", ""});
    Cursor("B1");

    f.cmdReadTah_Click();

    EXPECT_EQ(PaintedButtons(f), (std::vector<int>{11, 15, 19}));
    EXPECT_TRUE(f.imgDiskant(15).Picture.get() == f.imgKnofTah.Picture.get());
    EXPECT_TRUE(f.imgDiskantPom(19).Picture.get() == f.imgKnofTah2.Picture.get());
    for (int n : {11, 15, 19}) EXPECT_EQ(f.cmdKlavesa(n).BackColor.get(), kKeyPull) << n;
    // The name beside the key is the one written in the song, not the sharp one.
    EXPECT_EQ(f.lblTonKlav(19).Caption.get(), "b1,");

    EXPECT_EQ(f.imgNota(0).Top, 9980.f - 480);
    EXPECT_EQ(f.imgNota(1).Top, 9980.f - 600);
    EXPECT_EQ(f.imgNota(2).Top, 9980.f - 780);
    // The first accidental of the grip takes slot 0 whatever its head's slot,
    // and the flat after it slot 1 though it is the first flat.
    EXPECT_TRUE(f.imgKrizek(0).Visible);
    EXPECT_EQ(f.imgKrizek(0).Top, 9880.f - 600);
    EXPECT_TRUE(f.imgBecko(1).Visible);
    EXPECT_EQ(f.imgBecko(1).Top, 9840.f - 780);
    EXPECT_FALSE(f.imgBecko(0).Visible);
    EXPECT_FALSE(f.imgKrizek(1).Visible);
    EXPECT_FALSE(f.imgBecko(2).Visible);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ReadingTest, ReadingTheSameRowAgainGivesTheSamePicture) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"fis1,", "b1,", "d2,"}, "Tlak", {"C zákl."}, "", "", ""});
    Cursor("B1");

    f.cmdReadTlak_Click();
    f.cmdReadTlak_Click();

    EXPECT_EQ(f.imgNota(0).Top, 9980.f - 600);
    EXPECT_EQ(f.imgNota(2).Top, 9980.f - 900);
    EXPECT_EQ(f.imgKrizek(0).Top, 9880.f - 600);
    EXPECT_EQ(f.imgBecko(1).Top, 9840.f - 780);
    EXPECT_EQ(VisibleHeads(f), 3);
    EXPECT_EQ(PaintedButtons(f), (std::vector<int>{15, 19, 23}));
    EXPECT_EQ(PaintedBasses(f).size(), 1u);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ReadingTest, EmptyRowClearsTheMarksDrawsTheKeyAndShowsNoFingering) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"c1,"}, "Tlak", {"C zákl."}, "", "", ""});
    WriteRow(2, {{}, "", {}, "l9;1\\", "", "Druhá"});
    Cursor("B1");
    f.cmdReadTlak_Click();
    ASSERT_EQ(PaintedButtons(f), std::vector<int>{9});

    f.cmdStupnice.Caption = "G Dur";
    Cursor("B2");
    f.cmdReadTlak_Click();

    EXPECT_TRUE(PaintedButtons(f).empty());
    EXPECT_TRUE(PaintedBasses(f).empty());
    EXPECT_EQ(VisibleHeads(f), 0);
    EXPECT_EQ(f.lblTonKlav(9).Caption.get(), "");
    EXPECT_EQ(f.lbl(9).Caption.get(), "");
    // The row is still shown in words.
    EXPECT_EQ(f.lblSlabika(2).Caption.get(), "Druhá");
    // The key signature of the scale button is drawn as the drawer draws it.
    const float left = f.picKrizekStup(0).Left, top = f.picKrizekStup(0).Top;
    f.UvolniPredznamenani();
    f.Zapis().NastavStupnici("G Dur");
    EXPECT_EQ(f.picKrizekStup(0).Left, left);
    EXPECT_EQ(f.picKrizekStup(0).Top, top);
    EXPECT_TRUE(TakeBoxes().empty());
}

// A walk along the row that stops with a message: what was painted before
// stays, nothing after it is drawn, and no fingering is shown.
struct StopCase {
    const char* name;
    std::vector<std::string> treble;
    Box box;
    std::vector<int> painted;
    int heads;
};

class ReadingStopTest : public ReadingTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(ReadingStopTest, StopsWithItsMessage) {
    Form1& f = StartWithSong();
    WriteRow(1, {GetParam().treble, "", {}, "l9;1\\", "", ""});
    Cursor("B1");

    f.cmdReadTlak_Click();

    EXPECT_EQ(TakeBoxes(), std::vector<Box>{GetParam().box});
    EXPECT_EQ(PaintedButtons(f), GetParam().painted);
    EXPECT_EQ(VisibleHeads(f), GetParam().heads);
    EXPECT_EQ(f.lbl(9).Caption.get(), "");
    EXPECT_EQ(CursorAddress(), "$B$1");
}

INSTANTIATE_TEST_SUITE_P(
    Walk, ReadingStopTest,
    ::testing::Values(
        // The sixth note gets its button, key and label, but no head.
        StopCase{"SixNotes", {"c1,", "d1,", "e1,", "f1,", "g1,", "a1,"}, kSixthNote, {9, 11, 13, 14, 16, 18}, 5},
        StopCase{"UnknownName", {"c1,", "xyz,", "e1,"}, UnknownTone("xyz,"), {9}, 1},
        StopCase{"UpperCaseName", {"C1,"}, UnknownTone("C1,"), {}, 0},
        StopCase{"BellowsWordInTheWalk", {"c1,", "e1,", "Tah", "g1,"}, kBellowsInWalk, {9, 13}, 2}),
    [](const ::testing::TestParamInfo<StopCase>& p) { return std::string(p.param.name); });

TEST_F(ReadingTest, SixthNoteKeepsItsKeyAndName) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"c1,", "d1,", "e1,", "f1,", "g1,", "a1,"}, "Tlak", {}, "", "", ""});
    Cursor("B1");

    f.cmdReadTlak_Click();

    EXPECT_EQ(f.cmdKlavesa(18).BackColor.get(), kKeyPush);
    EXPECT_EQ(f.lblTonKlav(18).Caption.get(), "a1,");
    EXPECT_EQ(f.imgNota(4).Top, 9980.f - 660);
}

// ---- Basses --------------------------------------------------------------

struct BassCase {
    const char* name;
    bool push;
    std::vector<std::string> basses;
    std::map<int, std::string> painted;  // button -> source picture
    std::vector<Box> boxes;
};

class BassTest : public ReadingTest, public ::testing::WithParamInterface<BassCase> {
protected:
    static const forms::Picture& Source(Form1& f, const std::string& name) {
        if (name == "imgBaTlak1") return f.imgBaTlak1.Picture.get();
        if (name == "imgBaTlakC") return f.imgBaTlakC.Picture.get();
        if (name == "imgBaTlakMriz") return f.imgBaTlakMriz.Picture.get();
        if (name == "imgBaTah1") return f.imgBaTah1.Picture.get();
        if (name == "imgBaTahC") return f.imgBaTahC.Picture.get();
        return f.imgBaTahMriz.Picture.get();
    }
};

TEST_P(BassTest, PaintsTheButtonsOfTheNamesFound) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"c1,"}, GetParam().push ? "Tlak" : "Tah", GetParam().basses, "", "", ""});
    Cursor("B1");

    if (GetParam().push) {
        f.cmdReadTlak_Click();
    } else {
        f.cmdReadTah_Click();
    }

    const auto painted = PaintedBasses(f);
    std::vector<int> numbers;
    for (const auto& [b, p] : painted) numbers.push_back(b);
    std::vector<int> expected;
    for (const auto& [b, source] : GetParam().painted) {
        expected.push_back(b);
        if (painted.count(b)) {
            EXPECT_TRUE(painted.at(b) == Source(f, source)) << b << " " << source;
        }
    }
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(TakeBoxes(), GetParam().boxes);
    EXPECT_EQ(CursorAddress(), "$B$1");
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, BassTest,
    ::testing::Values(
        BassCase{"PushPicturesByButton",
                 true,
                 {"C zákl.", "As zákl.", "G dur", "E zákl."},
                 {{26, "imgBaTlakMriz"}, {30, "imgBaTlakC"}, {34, "imgBaTlakMriz"}, {51, "imgBaTlak1"}},
                 {}},
        BassCase{"PullPicturesByButton",
                 false,
                 {"C zákl.", "As zákl.", "c moll"},
                 {{26, "imgBaTahMriz"}, {30, "imgBaTahC"}, {70, "imgBaTah1"}},
                 {}},
        // "Es" lies inside "Des terc.", "Es dur" and more, but is no name of
        // its own: given up quietly, and the next bass is still read.
        BassCase{"NameOnlyInsideLongerNames", true, {"Es", "C7"}, {{90, "imgBaTlak1"}}, {}},
        BassCase{"LetterCaseDiffers", false, {"c7", "F7"}, {{89, "imgBaTah1"}}, {}},
        BassCase{"UnknownOnPull",
                 false,
                 {"Xyz", "C7"},
                 {{90, "imgBaTah1"}},
                 {{"Basový tón Xyz při tažení měchu na této harmonice neexistuje !", forms::vbCritical,
                   "Neexistující bas."}}},
        BassCase{"UnknownOnPush",
                 true,
                 {"C7", "Xyz"},
                 {{90, "imgBaTlak1"}},
                 {{"Basový tón Xyz při tlačení měchu na této harmonice neexistuje !", forms::vbCritical,
                   "Neexistující bas."}}}),
    [](const ::testing::TestParamInfo<BassCase>& p) { return std::string(p.param.name); });

TEST_F(ReadingTest, PushReaderShowsTheNineBassCells) {
    Form1& f = StartWithSong();
    WriteRow(1, {{"c1,"}, "Tlak", {"C zákl.", "G dur"}, "", "", ""});
    Cursor("B1");
    f.cmdReadTlak_Click();
    EXPECT_EQ(f.lblBasy.Caption.get(), "C zákl. G dur       ");

    WriteRow(2, {{"c1,"}, "Tlak", {}, "", "", ""});
    Cursor("B2");
    f.lblBasy.Caption = "stará";
    f.UvolniBasy();
    f.ZobrazBasyTlak();
    EXPECT_EQ(f.lblBasy.Caption.get(), "        ");
    EXPECT_TRUE(PaintedBasses(f).empty());
}

// ---- Fingering -----------------------------------------------------------

struct FingeringCase {
    const char* name;
    std::string fingering;
    std::map<std::string, std::string> captions;  // "l9" / "s10" -> caption
    std::vector<Box> boxes;
};

Box OtherFingeringError(int number) {
    return {"V programu došlo k chybě číslo " + std::to_string(number) +
                ". Možná budete moci dále pokračovat. V případě problémů volejte " + resources::kMakerContact,
            forms::vbExclamation, "Neočekávaná chyba programu."};
}

const Box kNoSuchLabel{
    "Požadavek na vyznačení prstokladu nemohl být proveden, neboť záznam ve sloupci V neobsahuje platnou hodnotu. "
    "Knoflík, na který odkazuje tento záznam, neexistuje. Pro odstranění této chyby smažte prosím v Excelu na "
    "aktuálním řádku ve sloupci V celý obsah buňky. Data o aktuálním hmatu zůstanou zachována. Prstoklad pak včetně "
    "potvrzení hmatu můžete zapsat znovu.",
    forms::vbExclamation, "Chyba č. 340."};

class FingeringTest : public ReadingTest, public ::testing::WithParamInterface<FingeringCase> {};

TEST_P(FingeringTest, FingerTextsGoInFrontOfTheLabels) {
    Form1& f = StartWithSong();
    // c1 in C Dur with the third above ticked: the intervals follow the fingering.
    WriteRow(1, {{"c1,"}, "Tlak", {}, GetParam().fingering, "C Dur", ""});
    f.chkInterval(2).Value = forms::vbChecked;
    Cursor("B1");

    f.cmdReadTlak_Click();

    for (const auto& [label, caption] : GetParam().captions) {
        const int n = std::stoi(label.substr(1));
        const forms::Label& l = label[0] == 'l' ? f.lbl(n) : f.lblSynchro(n);
        EXPECT_EQ(l.Caption.get(), caption) << label;
    }
    EXPECT_EQ(TakeBoxes(), GetParam().boxes);
    // The interval is marked after the fingering, whatever became of it.
    EXPECT_TRUE(f.imgDiskant(13).Picture.get() == resources::LoadResPicture(129));
}

INSTANTIATE_TEST_SUITE_P(
    Items, FingeringTest,
    ::testing::Values(
        FingeringCase{"LabelAndSecondLabel", "l9;1\\s10;3\\", {{"l9", "1\r\n"}, {"s10", "3\r\n"}, {"l10", ""}}, {}},
        FingeringCase{"FingerTextKeepsItsSemicolons", "l9;1;2\\", {{"l9", "1;2\r\n"}}, {}},
        FingeringCase{"EmptyFingerText", "l9;\\", {{"l9", "\r\n"}}, {}},
        FingeringCase{"Empty", "", {{"l9", ""}}, {}},
        FingeringCase{"UnknownKind",
                      "l9;1\\x9;2\\l10;3\\",
                      {{"l9", "1\r\n"}, {"l10", ""}},
                      {{"Neočekávaná hodnota ve značení prstokladu.", forms::vbCritical, "Chyba !"}}},
        // Button 9 is shown once only: it has no second label.
        FingeringCase{"SecondLabelThatDoesNotExist", "l10;1\\s9;2\\", {{"l10", "1\r\n"}}, {kNoSuchLabel}},
        FingeringCase{"ButtonAboveTheKeyboard", "l50;2\\", {}, {kNoSuchLabel}},
        FingeringCase{"LastItemUnended", "l9;1\\l10;2", {{"l9", "1\r\n"}, {"l10", ""}}, {OtherFingeringError(5)}},
        FingeringCase{"ItemWithoutSemicolon", "l9\\", {{"l9", ""}}, {OtherFingeringError(5)}},
        FingeringCase{"NumberAboveAByte", "l300;1\\", {}, {OtherFingeringError(6)}}),
    [](const ::testing::TestParamInfo<FingeringCase>& p) { return std::string(p.param.name); });

TEST_F(ReadingTest, WithNamesOnTheFingerStandsAboveTheNameAndDoesNotPileUp) {
    Form1& f = StartWithSong();
    f.mnu2Rady.Checked = true;
    WriteRow(1, {{"c1,", "e1,"}, "Tlak", {}, "l9;1\\s13;3\\", "", ""});
    Cursor("B1");

    f.cmdReadTlak_Click();
    f.cmdReadTlak_Click();

    EXPECT_EQ(f.lbl(9).Caption.get(), "1\r\nc1");
    EXPECT_EQ(f.lblSynchro(13).Caption.get(), "3\r\ne1");
    EXPECT_EQ(f.lbl(13).Caption.get(), "e1");
    EXPECT_EQ(f.lbl(1).Caption.get(), "e");
    EXPECT_TRUE(TakeBoxes().empty());
}

// The row read shows exactly its own fingering: none of an earlier reading
// stays, whether it is the same row read twice, the next row, or the keyboards
// reset, and a label that had a name before gets its name back.
TEST_F(ReadingTest, FingeringOfAnEarlierReadingDoesNotLinger) {
    for (bool names : {false, true}) {
        Form1& f = StartWithSong();
        f.mnu2Rady.Checked = names;
        if (names) f.PopisKnoflikyTony();
        const std::string c1 = names ? "c1" : "", e1 = names ? "e1" : "";
        WriteRow(1, {{"c1,", "e1,"}, "Tlak", {}, "l9;3\\s13;2\\l9;1\\", "", ""});
        WriteRow(2, {{"e1,"}, "Tlak", {}, "l13;4\\", "", ""});
        WriteRow(3, {{"c1,"}, "Tlak", {}, "", "", ""});
        Cursor("B1");
        f.cmdReadTlak_Click();
        f.cmdReadTlak_Click();  // the same row again: no "3 / 3"
        EXPECT_EQ(f.lbl(9).Caption.get(), "1\r\n3\r\n" + c1) << names;
        EXPECT_EQ(f.lblSynchro(13).Caption.get(), "2\r\n" + e1) << names;

        Cursor("B2");
        f.cmdReadTlak_Click();
        EXPECT_EQ(f.lbl(9).Caption.get(), c1) << names;
        EXPECT_EQ(f.lblSynchro(13).Caption.get(), e1) << names;
        EXPECT_EQ(f.lbl(13).Caption.get(), "4\r\n" + e1) << names;

        Cursor("B3");
        f.cmdReadTlak_Click();
        EXPECT_EQ(f.lbl(13).Caption.get(), e1) << names;

        Cursor("B2");
        f.cmdReadTlak_Click();
        f.UvolniDiskant();  // a reset of the keyboards, as ending the song does
        EXPECT_EQ(f.lbl(13).Caption.get(), e1) << names;
        EXPECT_TRUE(TakeBoxes().empty());
        TearDown();
        SetUp();
    }
}

// ---- Tone names on the buttons -------------------------------------------

TEST_F(ReadingTest, TreblesCarryTheirToneNamesAndLoseThemAgain) {
    Form1& f = NewForm();

    f.PopisKnoflikyTony();

    int second = 0;
    for (int n = 1; n <= 49; ++n) {
        EXPECT_EQ(f.lbl(n).Caption.get(), ToneCaption(n)) << n;
        EXPECT_EQ(f.lbl(n).ToolTipText.get(), ToneCaption(n)) << n;
        EXPECT_EQ(f.lbl(n).FontSize, 12.f) << n;
        EXPECT_TRUE(f.lbl(n).FontBold) << n;
        EXPECT_EQ(f.lbl(n).ForeColor.get(), 0x00008080u) << n;
        EXPECT_EQ(f.lblSynchro.Exists(n), HasSecondPicture(n)) << n;
        if (!HasSecondPicture(n)) continue;
        ++second;
        EXPECT_EQ(f.lblSynchro(n).Caption.get(), ToneCaption(n)) << n;
        EXPECT_EQ(f.lblSynchro(n).ToolTipText.get(), "") << n;
        EXPECT_TRUE(f.lblSynchro(n).FontBold) << n;
    }
    EXPECT_EQ(second, 32);
    EXPECT_EQ(f.lbl(1).Caption.get(), "e");
    EXPECT_EQ(f.lbl(49).Caption.get(), "e4");

    f.SmazPopisKnofliku();

    for (int n = 1; n <= 49; ++n) {
        EXPECT_EQ(f.lbl(n).Caption.get(), "") << n;
        EXPECT_EQ(f.lbl(n).ToolTipText.get(), "") << n;
        // The look stays for the fingering shown later.
        EXPECT_EQ(f.lbl(n).FontSize, 12.f) << n;
        EXPECT_EQ(f.lbl(n).ForeColor.get(), 0x00008080u) << n;
        if (HasSecondPicture(n)) {
            EXPECT_EQ(f.lblSynchro(n).Caption.get(), "") << n;
            EXPECT_TRUE(f.lblSynchro(n).FontBold) << n;
        }
    }
}

// ---- The treble button of a note name ------------------------------------

struct LookupCase {
    std::string passed;
    std::string respelled;
    int button;  // 0: not found
};

class StiskniKnoflikTest : public ReadingTest, public ::testing::WithParamInterface<LookupCase> {
protected:
    static std::vector<int> Marked(Form1& f) {
        std::vector<int> marked;
        for (int n = 1; n <= 49; ++n)
            if (f.imgDiskant(n).Picture.get() == resources::LoadResPicture(129)) marked.push_back(n);
        return marked;
    }
};

Box NotFound(const std::string& name) {
    return {"Nenalezen tón " + name + " stisk knoflíku nevyznačen !!!", forms::vbCritical, "Chyba č. 91."};
}

TEST_P(StiskniKnoflikTest, MarksTheButtonOfTheSharpSpelling) {
    Form1& f = Start();
    const LookupCase& c = GetParam();
    std::string ton = c.passed;

    f.StiskniKnoflik(ton);

    EXPECT_EQ(ton, c.respelled);
    if (c.button == 0) {
        EXPECT_EQ(TakeBoxes(), std::vector<Box>{NotFound(c.respelled)});
        EXPECT_TRUE(Marked(f).empty());
        EXPECT_TRUE(f.Visible);
        return;
    }
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Marked(f), std::vector<int>{c.button});
    EXPECT_EQ(f.cmdKlavesa(c.button).BackColor.get(), 0x4080u);
    if (HasSecondPicture(c.button)) {
        EXPECT_TRUE(f.imgDiskantPom(c.button).Picture.get() == resources::LoadResPicture(130));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, StiskniKnoflikTest,
    ::testing::Values(LookupCase{"des1,", "cis1,", 10}, LookupCase{"b,", "ais,", 7}, LookupCase{"as1,", "gis1,", 17},
                      LookupCase{"ges2,", "fis2,", 27}, LookupCase{"eis1,", "f1,", 14},
                      LookupCase{"fes2,", "e2,", 25}, LookupCase{"es1,", "dis1,", 12},
                      LookupCase{"ces2,", "h1,", 20}, LookupCase{"ces1,", "h,", 8}, LookupCase{"ces4,", "h3,", 44},
                      LookupCase{"c1,", "c1,", 9}, LookupCase{"e,", "e,", 1}, LookupCase{"e4,", "e4,", 49},
                      LookupCase{"dis4,", "dis4,", 48},
                      // Found nowhere, or only inside other cells.
                      LookupCase{"ces,", "h0,", 0}, LookupCase{"as5,", "gis5,", 0},
                      LookupCase{"his1,", "his1,", 0}, LookupCase{"E1,", "E1,", 0},
                      LookupCase{"s1,", "s1,", 0}),
    [](const ::testing::TestParamInfo<LookupCase>& p) {
        std::string name = p.param.passed + "_" + p.param.respelled;
        std::erase(name, ',');
        return name;
    });

TEST_F(ReadingTest, LookupWithoutTheSpreadsheetNamesTheNameAsPassed) {
    Form1& f = Start();
    auto excel = ExcelAplikace;
    ExcelAplikace.reset();
    std::string ton = "des1,";

    f.StiskniKnoflik(ton);

    ExcelAplikace = excel;
    EXPECT_EQ(ton, "des1,");
    EXPECT_EQ(TakeBoxes(), std::vector<Box>{NotFound("des1,")});
}

TEST_F(ReadingTest, LookupGivesUpAfterThreeUnexpectedFailures) {
    Form1& f = Start();
    ExcelAplikace->Windows(NazevReadOnly).Activate();
    ExcelAplikace->ActiveWorkbook().Close(false);
    std::string ton = "c1,";

    f.StiskniKnoflik(ton);

    const Box failed{kUnexpected + "9", forms::vbCritical, "Neočekávaná chyba !"};
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{failed, failed, failed}));
    EXPECT_TRUE(f.imgDiskant(9).Picture.get() == f.imgKnoflikVol(0).Picture.get());
    EXPECT_TRUE(f.Visible);
}

// ---- The road of one request ---------------------------------------------

// The song of the test, as LibreOffice writes it: converted from the sample
// now where LibreOffice is installed, otherwise the copy it wrote earlier.
fs::path SongWrittenByLibreOffice(const fs::path& work) {
    const fs::path sources = testsupport::SourceDir() / "tests/fixtures/reading";
    if (testsupport::HaveSoffice()) {
        const fs::path out = work / "lo";
        fs::create_directories(out);
        if (testsupport::SofficeConvert(work, "xls", {(sources / "road.fods").string()}, out) &&
            fs::exists(out / "road.xls"))
            return out / "road.xls";
        ADD_FAILURE() << "LibreOffice did not convert the sample; see " << testsupport::SofficeLog(work);
    }
    return sources / "road.xls";
}

std::string Joined(const std::vector<std::string>& cells) {
    std::string s;
    for (std::size_t i = 0; i < cells.size(); ++i) s += (i ? " " : "") + cells[i];
    return s;
}

TEST_F(ReadingTest, RoadOfOneRequest_OpenNextAndReadOnPush) {
    Form1& f = Start();
    fs::create_directories(SongFolder());
    const fs::path song = SongFolder() / "Cesta.xls";
    fs::copy_file(SongWrittenByLibreOffice(Root()), song);

    xl::ScriptedFileDialogs dialogs;
    dialogs.Answer(song.string());
    f.cmdEdit_Click();
    ASSERT_EQ(AktualniPisen, "Cesta.xls");
    ASSERT_EQ(CursorAddress(), "$B$1");
    // Row 1 of the song: c1 e1 g1.
    ASSERT_EQ(f.ZacatekPasu, 1);
    ASSERT_EQ(f.KrokPasu, 1);

    f.cmdDalsi.PerformClick();
    f.cmdReadTlak.PerformClick();

    EXPECT_TRUE(TakeBoxes().empty());
    // Treble buttons and keys of row 2 (fis1 b1 d2) in the push colour;
    // those of row 1 are free again.
    EXPECT_EQ(PaintedButtons(f), (std::vector<int>{15, 19, 23}));
    EXPECT_TRUE(f.imgDiskantPom(19).Picture.get() == f.imgKnofTlak2.Picture.get());
    EXPECT_TRUE(f.imgDiskantPom(23).Picture.get() == f.imgKnofTlak2.Picture.get());
    EXPECT_TRUE(f.imgDiskantPom(13).Picture.get() == f.imgKnoflikVol(0).Picture.get());
    for (int n : {15, 19, 23}) EXPECT_EQ(f.cmdKlavesa(n).BackColor.get(), kKeyPush) << n;
    EXPECT_EQ(f.cmdKlavesa(9).BackColor.get(), forms::vbTitleBarText);
    EXPECT_EQ(f.lblTonKlav(15).Caption.get(), "fis1,");
    EXPECT_EQ(f.lblTonKlav(19).Caption.get(), "b1,");
    EXPECT_EQ(f.lblTonKlav(23).Caption.get(), "d2,");

    // The reading staff: heads, the sharp of fis1 in slot 0, the flat of b1 in slot 1.
    EXPECT_EQ(VisibleHeads(f), 3);
    EXPECT_EQ(f.imgNota(0).Top, 9980.f - 600);
    EXPECT_EQ(f.imgNota(1).Top, 9980.f - 780);
    EXPECT_EQ(f.imgNota(2).Top, 9980.f - 900);
    EXPECT_TRUE(f.imgKrizek(0).Visible);
    EXPECT_EQ(f.imgKrizek(0).Top, 9880.f - 600);
    EXPECT_TRUE(f.imgBecko(1).Visible);
    EXPECT_EQ(f.imgBecko(1).Top, 9840.f - 780);
    EXPECT_FALSE(f.imgBecko(0).Visible);

    // Basses: C (button 30), As (26, ridged), G major (51).
    const auto basses = PaintedBasses(f);
    ASSERT_EQ(basses.size(), 3u);
    EXPECT_TRUE(basses.at(30) == f.imgBaTlakC.Picture.get());
    EXPECT_TRUE(basses.at(26) == f.imgBaTlakMriz.Picture.get());
    EXPECT_TRUE(basses.at(51) == f.imgBaTlak1.Picture.get());

    // Fingering: l15 1, s19 2, l23 4 (names are off).
    EXPECT_EQ(f.lbl(15).Caption.get(), "1\r\n");
    EXPECT_EQ(f.lblSynchro(19).Caption.get(), "2\r\n");
    EXPECT_EQ(f.lbl(23).Caption.get(), "4\r\n");
    EXPECT_EQ(f.lbl(9).Caption.get(), "");

    // The row in words.
    EXPECT_EQ(f.lblTon.Caption.get(), "2");
    EXPECT_EQ(f.lblSlabika(0).Caption.get(), "");
    EXPECT_EQ(f.lblSlabika(1).Caption.get(), "Ach");
    EXPECT_EQ(f.lblSlabika(2).Caption.get(), "synku");
    EXPECT_EQ(f.lblSlabika(3).Caption.get(), "můj");
    EXPECT_EQ(f.lblSlabika(4).Caption.get(), "zlatý");
    EXPECT_EQ(f.lblTony.Caption.get(), Joined({"fis1,", "b1,", "d2,", "", "", "", "", "Tlak", ""}));
    EXPECT_EQ(f.lblBasy.Caption.get(), Joined({"C zákl.", "As zákl.", "G dur", "", "", "", "", "", ""}));
    EXPECT_EQ(f.lblStupnice.Caption.get(), "G Dur");
    EXPECT_TRUE(f.cmdPredchozi.Enabled);
    EXPECT_TRUE(f.cmdJakDalZpet.Enabled);

    // The strip: built from row 1 when the song opened, step 2 now current.
    EXPECT_EQ(f.ZacatekPasu, 1);
    EXPECT_EQ(f.KrokPasu, 2);
    EXPECT_EQ(f.lblSlabika2(1).ForeColor.get(), forms::vbWindowText);
    EXPECT_EQ(f.lblSlabika2(2).ForeColor.get(), 0x000000FFu);
    EXPECT_EQ(f.lblSlabika2(2).Caption.get(), "synku");
    for (int k = 0; k <= 4; ++k) {
        EXPECT_TRUE(f.imgNota(5 + k).Picture.get() == resources::LoadResPicture(124)) << k;
        EXPECT_TRUE(f.imgNota(10 + k).Picture.get() == resources::LoadResPicture(123)) << k;
    }
    EXPECT_TRUE(f.imgNota(10).Visible);
    EXPECT_EQ(f.imgNota(10).Top, 1943.f - 600);
    EXPECT_EQ(f.imgKrizek(10).Top, 1843.f - 600);
    EXPECT_EQ(f.imgBecko(11).Top, 1803.f - 780);
    EXPECT_EQ(f.imgNota(12).Top, 1943.f - 900);
    EXPECT_EQ(f.imgNota(5).Top, 1943.f - 420);
    EXPECT_EQ(f.imgNota(15).Top, 1943.f - 720);
    EXPECT_FALSE(f.imgNota(20).Visible);

    // The cursor rests in column B of row 2, in the song's window.
    EXPECT_EQ(ExcelAplikace->ActiveWorkbook().Name(), "Cesta.xls");
    EXPECT_EQ(CursorAddress(), "$B$2");
}

}  // namespace
