// Intervals: the tone some scale steps above or below the grip's lowest
// note, counted in the scale table of the real read_only.xls, marked on the
// keyboard and the reading staff; the names of the intervals; the reset of
// the interval buttons; every message of the operation.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "mainwindow/frmstupnice.h"
#include "platform/forms/form.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "tests/mainwindow/form1_fixture.h"

namespace {

using form1_test::Form1Fixture;
using Box = forms::ScriptedMessageBoxes::Box;

constexpr forms::OleColor kPouzity = 0x4080;
constexpr forms::OleColor kVolny = 0x8000000B;

class IntervalsTest : public Form1Fixture {
protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        f = &Start();
        OpenNewSong("Intervaly.xls");
        TakeBoxes();
    }
    void TearDown() override {
        forms::SetModalDriver(nullptr);
        Form1Fixture::TearDown();
    }

    // The active row holds `nota` as its lowest note; the row display shows `stupnice`.
    void Radek(const std::string& nota, const std::string& stupnice) {
        Excel().Range("B5").Value(nota);
        Excel().Range("C5").Value("h1,");
        Excel().Range("B5").Select();
        f->lblStupnice.Caption = stupnice;
    }

    // The piano keys the treble lookup marked.
    std::vector<int> Oznacene() const {
        std::vector<int> n;
        for (int i = 1; i <= 49; ++i)
            if (f->cmdKlavesa(i).BackColor == kPouzity) n.push_back(i);
        return n;
    }
    int Shown(forms::ControlArray<forms::Image>& a) const {
        int n = 0;
        for (int i = 0; i <= 4; ++i) n += a(i).Visible ? 1 : 0;
        return n;
    }
    bool SongWindowActive() const { return Excel().ActiveWorkbook().Name() == "Intervaly.xls"; }

    // A workbook window closed under the program is a failure like any
    // other: one box with its number, and nothing is marked.
    void ZavreneOkno(const std::string& okno) {
        Radek("c1,", "C Dur");
        Excel().Windows(okno).Activate();
        Excel().ActiveWorkbook().Close(false);

        f->cmdInterval(1).Click();

        EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{std::string("V programu došlo k chybě číslo 9. Možná budete moci "
                                                              "dále pokračovat. V případě problémů volejte ") +
                                                      resources::kMakerContact,
                                                  forms::vbExclamation, "Neočekávaná chyba programu."}}));
        EXPECT_TRUE(f->cmdInterval(1).Enabled);
        EXPECT_TRUE(Oznacene().empty());
        EXPECT_EQ(Shown(f->imgNota), 0);
    }

    Form1* f = nullptr;
};

// ---- Names and the reset look ------------------------------------------------

TEST_F(IntervalsTest, NamesFollowDirectionAndSize) {
    const char* nazvy[] = {"sekunda", "tercie",   "kvarta",    "kvinta",     "sexta",       "septima",    "oktáva",
                           "nóna",    "decima",   "undecima",  "duodecima",  "tercdecima",  "kvartdecima", "kvintdecima"};
    for (std::int16_t k = 1; k <= 14; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f->DejNazevIntervalu(k), std::string("vrchní ") + nazvy[k - 1]);
        EXPECT_EQ(f->DejNazevIntervalu(static_cast<std::int16_t>(-k)), std::string("spodní ") + nazvy[k - 1]);
    }
    for (std::int16_t k : {0, 15, -15, 100, -32768})
        EXPECT_EQ(f->DejNazevIntervalu(k), "nepojmenovaný") << k;
}

TEST_F(IntervalsTest, ReleaseGivesEveryUsedButtonItsResetLookButLeavesPrima) {
    for (int i = 1; i <= 14; ++i) {
        f->cmdInterval(i).BackColor = kPouzity;
        f->cmdInterval(i).Enabled = false;
        f->cmdSpodInterval(i).BackColor = kPouzity;
        f->cmdSpodInterval(i).Enabled = false;
    }
    f->UvolniIntervaly();
    for (int i = 1; i <= 14; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f->cmdInterval(i).BackColor, kVolny);
        EXPECT_TRUE(f->cmdInterval(i).Enabled);
        EXPECT_EQ(f->cmdSpodInterval(i).BackColor, kVolny);
        EXPECT_TRUE(f->cmdSpodInterval(i).Enabled);
    }
    EXPECT_FALSE(f->cmdInterval(0).Enabled) << "Prima has no use";
    EXPECT_FALSE(f->cmdSpodInterval(0).Enabled);
}

// ---- Where the interval lands ----------------------------------------------------

// Columns D ... AK of a scale row are the targets; C and beyond AK are out of
// range, an empty cell inside cannot be determined.
TEST_F(IntervalsTest, TargetColumnsAtTheEdgesOfTheTable) {
    struct Pripad {
        const char* stupnice;
        const char* nota;
        std::int16_t k;
        int klavesa;         // 0: nothing marked
        const char* zprava;  // nullptr: no message
    };
    const Pripad pripady[] = {
        {"F Dur", "e,", -1, 0, "Interval je mimo rozsah tohoto akordeonu !"},   // column C, t = 2
        {"F Dur", "f,", -1, 0, "Interval je mimo rozsah tohoto akordeonu !"},   // column D, t = 3
        {"F Dur", "e,", +1, 2, nullptr},                                          // t = 4: f,
        {"G Dur", "e4,", +1, 0, "Interval je mimo rozsah tohoto akordeonu !"},  // column AK, t = 38
        {"G Dur", "d4,", +1, 49, nullptr},                                        // t = 37: e4,
        {"C Dur", "e,", -1, 0, "Interval nelze určit !"},                         // column E is empty
        {"C Dur", "e4,", +1, 0, "Interval nelze určit !"},                        // after the last tone
        {"E Dur", "e,", +14, 25, nullptr},                                        // two octaves: e2,
        {"E Dur", "e2,", -14, 1, nullptr},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(std::string(p.stupnice) + " " + p.nota + " " + std::to_string(p.k));
        f->UvolniDiskant();
        f->UvolniKlavesy();
        f->UvolniIntervaly();
        Radek(p.nota, p.stupnice);

        f->UkazInterval(p.k);

        const auto boxes = TakeBoxes();
        auto& tlacitko = p.k < 0 ? f->cmdSpodInterval(-p.k) : f->cmdInterval(p.k);
        if (p.zprava) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], (Box{p.zprava, forms::vbInformation, "Neprovedeno."}));
            EXPECT_TRUE(Oznacene().empty());
            EXPECT_TRUE(tlacitko.Enabled);
            EXPECT_EQ(Shown(f->imgNota), 0);
        } else {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(Oznacene(), std::vector<int>{p.klavesa});
            EXPECT_EQ(f->imgDiskant(p.klavesa).Picture.get(), resources::LoadResPicture(129));
            EXPECT_EQ(tlacitko.BackColor, kPouzity);
            EXPECT_FALSE(tlacitko.Enabled);
            EXPECT_EQ(Shown(f->imgNota), 1);
        }
        EXPECT_TRUE(SongWindowActive());
    }
}

// The staff shows the target as the scale spells it: a flat in a flat key,
// a sharp in a sharp key, each 140 / 110 above the head's rest.
TEST_F(IntervalsTest, TargetIsDrawnOnTheReadingStaffWithItsAccidental) {
    struct Pripad {
        const char* stupnice;
        const char* nota;
        std::int16_t k;
        int klavesa;
        float hlava;   // Top of imgNota(0)
        char znamenko; // 'b', 'k' or 0
        float znTop;
    };
    const Pripad pripady[] = {
        {"Es Dur", "c1,", +2, 12, 9980 - 540, 'b', 9840 - 540},  // es1, on button dis1
        {"D Dur", "h,", +1, 10, 9980 - 420, 'k', 9880 - 420},    // cis1,
        {"E Dur", "e,", +14, 25, 9980 - 960, 0, 0},              // e2,
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.stupnice);
        f->UvolniDiskant();
        f->UvolniKlavesy();
        f->UvolniIntervaly();
        Radek(p.nota, p.stupnice);

        f->UkazInterval(p.k);

        EXPECT_TRUE(TakeBoxes().empty());
        EXPECT_EQ(Oznacene(), std::vector<int>{p.klavesa});
        EXPECT_TRUE(f->imgNota(0).Visible);
        EXPECT_EQ(f->imgNota(0).Top, p.hlava);
        EXPECT_EQ(Shown(f->imgNota), 1);
        EXPECT_EQ(Shown(f->imgBecko), p.znamenko == 'b' ? 1 : 0);
        EXPECT_EQ(Shown(f->imgKrizek), p.znamenko == 'k' ? 1 : 0);
        if (p.znamenko == 'b') {
            EXPECT_EQ(f->imgBecko(0).Top, p.znTop);
        }
        if (p.znamenko == 'k') {
            EXPECT_EQ(f->imgKrizek(0).Top, p.znTop);
        }
    }
}

// In the Des Dur row the search for "es1," first stops at "des1,"; only the
// cell that is exactly "es1," counts, so a second up is f1, (not es1,).
TEST_F(IntervalsTest, BaseNoteIsTheCellWithTheWholeName) {
    Radek("es1,", "Des Dur");
    f->cmdInterval(1).Click();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Oznacene(), std::vector<int>{14});
    EXPECT_EQ(f->imgNota(0).Top, 9980 - 600);
}

TEST_F(IntervalsTest, UpperAndLowerOfOneSizeAreBothMarkedEachOnItsOwnButton) {
    Radek("c2,", "C Dur");
    f->cmdInterval(2).Click();
    f->cmdSpodInterval(2).Click();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Oznacene(), (std::vector<int>{18, 25}));  // a1, and e2,
    EXPECT_FALSE(f->cmdInterval(2).Enabled);
    EXPECT_FALSE(f->cmdSpodInterval(2).Enabled);
    EXPECT_TRUE(f->cmdInterval(1).Enabled);
    EXPECT_TRUE(f->cmdSpodInterval(3).Enabled);
    EXPECT_EQ(Shown(f->imgNota), 2);
    EXPECT_EQ(f->imgNota(0).Top, 9980 - 960);
    EXPECT_EQ(f->imgNota(1).Top, 9980 - 720);
}

// A full reading staff: the key is marked, but no sixth head or flat is
// drawn and no picture of the strip moves.
TEST_F(IntervalsTest, AFullStaffTakesNoFurtherPictures) {
    for (int i = 0; i <= 4; ++i) {
        f->imgNota(i).Visible = true;
        f->imgBecko(i).Visible = true;
    }
    std::vector<float> pred;
    for (int i = 0; i <= 84; ++i) {
        pred.push_back(f->imgNota(i).Top);
        pred.push_back(f->imgBecko(i).Top);
        pred.push_back(f->imgKrizek(i).Top);
    }
    Radek("c1,", "Es Dur");

    f->cmdInterval(2).Click();

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Oznacene(), std::vector<int>{12});
    EXPECT_FALSE(f->cmdInterval(2).Enabled);
    std::vector<float> po;
    for (int i = 0; i <= 84; ++i) {
        po.push_back(f->imgNota(i).Top);
        po.push_back(f->imgBecko(i).Top);
        po.push_back(f->imgKrizek(i).Top);
    }
    EXPECT_EQ(po, pred);
}

// ---- Refusals and the retry question ---------------------------------------------

TEST_F(IntervalsTest, WithoutASongTheRequestIsRefused) {
    AktualniPisen.clear();
    f->cmdSpodInterval(3).Click();
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{
                  {"NENÍ OTEVŘENA ŽÁDNÁ SKLADBA !\rTlačítko, které bylo stisknuto má zobrazit zvolený interval od "
                   "nejnižšího tónu\raktuálního, již dříve zapsaného hmatu. V tuto chvíli nelze tuto funkci vykonat.",
                   forms::vbCritical, "Požadavek odmítnut !"}}));
    EXPECT_TRUE(f->cmdSpodInterval(3).Enabled);
    EXPECT_TRUE(Oznacene().empty());
}

TEST_F(IntervalsTest, ARowWithoutScaleSaysSoAndMarksNothing) {
    Radek("c1,", "");
    f->cmdInterval(4).Click();
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{{"U tohoto hmatu není zapsáno v jaké stupnici se skladba hraje.",
                                              forms::vbCritical, "Nelze určit interval !"}}));
    EXPECT_TRUE(f->cmdInterval(4).Enabled);
    EXPECT_TRUE(Oznacene().empty());
    EXPECT_EQ(Shown(f->imgNota), 0);
    EXPECT_TRUE(SongWindowActive());
}

TEST_F(IntervalsTest, ANoteOutsideTheScaleAsksAndNoEndsIt) {
    Radek("fis1,", "C Dur");
    Boxes().Answer(forms::vbNo);
    f->cmdInterval(3).Click();
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt,
              "Nota fis1, od které se má určit interval vrchní kvarta, není obsažena v aktuální stupnici C Dur.\r\n"
              "Přejete si zkusit štěstí s jinou stupnicí ?");
    EXPECT_EQ(boxes[0].flags, forms::vbQuestion | forms::vbYesNo | forms::vbDefaultButton2);
    EXPECT_EQ(boxes[0].title, "Nelze určit interval v C Dur.");
    EXPECT_TRUE(f->cmdInterval(3).Enabled);
    EXPECT_TRUE(Oznacene().empty());
    EXPECT_TRUE(SongWindowActive());
}

// Yes opens the scale choice; the question comes again for a scale that
// still lacks the note, and a scale that has it marks the interval there.
TEST_F(IntervalsTest, YesTriesTheScalesTheUserChoosesUntilOneHoldsTheNote) {
    Radek("fis1,", "C Dur");
    std::vector<std::string> volby = {"F Dur", "G Dur"};
    forms::SetModalDriver([&](forms::Form& okno) {
        auto& dialog = dynamic_cast<class frmStupnice&>(okno);
        const std::string volba = volby.front();
        volby.erase(volby.begin());
        for (int i = 0; i <= 14; ++i)
            if (dialog.optStupnice(i).Caption.get() == volba) dialog.optStupnice(i).Value = true;
        dialog.cmdOK.Click();
    });
    Boxes().Answer(forms::vbYes);
    Boxes().Answer(forms::vbYes);

    f->cmdInterval(1).Click();  // fis1, + 1 in G Dur: g1,

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "Nelze určit interval v C Dur.");
    EXPECT_EQ(boxes[1].title, "Nelze určit interval v F Dur.");
    EXPECT_TRUE(volby.empty());
    EXPECT_EQ(f->cmdStupnice.Caption.get(), "G Dur") << "the choice also sets the scale of recording";
    EXPECT_EQ(Oznacene(), std::vector<int>{16});
    EXPECT_FALSE(f->cmdInterval(1).Enabled);
    EXPECT_TRUE(SongWindowActive());
}

// A failure the operation does not expect ends in one box with its number,
// and the song's window is active again.
TEST_F(IntervalsTest, AnUnexpectedFailureIsReportedWithItsNumber) {
    Radek("c1,", "C Dur");
    Excel().Windows("read_only.xls").Activate();
    Excel().Sheets("Transpozice").Name("Jinak");
    Excel().Windows("Intervaly.xls").Activate();

    f->cmdInterval(1).Click();

    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, std::string("V programu došlo k chybě číslo 9. Možná budete moci dále pokračovat. "
                                           "V případě problémů volejte ") +
                                   resources::kMakerContact);
    EXPECT_EQ(boxes[0].flags, forms::vbExclamation);
    EXPECT_EQ(boxes[0].title, "Neočekávaná chyba programu.");
    EXPECT_TRUE(f->cmdInterval(1).Enabled);
    EXPECT_TRUE(SongWindowActive());
}

TEST_F(IntervalsTest, AClosedSongWindowIsReportedWithItsNumber) { ZavreneOkno("Intervaly.xls"); }

TEST_F(IntervalsTest, AClosedLookupWindowIsReportedWithItsNumber) { ZavreneOkno("read_only.xls"); }

}  // namespace
