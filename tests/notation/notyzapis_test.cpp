// clsNotyZapis on a window of its own: the key signatures it draws and the
// red-note slots it keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/noty/noty.h"
#include "notation/zapis/notyzapis.h"
#include "platform/forms/forms.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/qt_app.h"

namespace {

using forms::ControlArray;
using forms::PictureBox;

// The Top of a sign that marks `nota` on the entry staff: its head stands at
// 9980 less the note's staff offset, a sharp 110 above the head, a flat 140.
float ZnamenkoTop(const std::string& nota, int nadHlavou) {
    std::string poloha = vb::CStr(clsNoty().UrciPolohuNoty(nota));
    if (!poloha.empty() && (poloha[0] == 'k' || poloha[0] == 'b')) poloha.erase(0, 1);
    return static_cast<float>(9980 - std::stoi(poloha) - nadHlavou);
}

// Resting places that no key signature uses, different for every element,
// so a test sees which element moved and which did not.
float KlidLeft(int i) { return 5000.f + 10 * i; }
float KlidTop(int i) { return 100.f + 10 * i; }

class NotyZapisTest : public ::testing::Test {
protected:
    NotyZapisTest() {
        for (int i = 0; i <= 6; ++i) {
            Postav(krizky.Load(i, form), i);
            Postav(becka.Load(i, form), i);
        }
    }
    static void Postav(PictureBox& p, int i) {
        p.Left = KlidLeft(i);
        p.Top = KlidTop(i);
    }
    void Uvolni() {
        for (int i = 0; i <= 6; ++i) {
            Postav(krizky(i), i);
            Postav(becka(i), i);
        }
    }

    QApplication& app_ = forms_test::App();
    forms::Form form;
    ControlArray<PictureBox> krizky{"picKrizekStup"};
    ControlArray<PictureBox> becka{"picBeckoStup"};
    clsNotyZapis zapis{{krizky, becka}};
};

struct Klic {
    std::string stupnice;
    int krizku;
    std::vector<int> beckoPrvky;  // element of picBeckoStup for the j-th flat
};

const std::vector<Klic> kKlice = {
    {"G Dur", 1, {}},
    {"D Dur", 2, {}},
    {"A Dur", 3, {}},
    {"E Dur", 4, {}},
    {"H Dur", 5, {}},
    {"Fis Dur", 6, {}},
    {"Cis Dur", 7, {}},
    {"F Dur", 0, {4}},
    {"B Dur", 0, {4, 5}},
    {"Es Dur", 0, {4, 5, 6}},
    {"As Dur", 0, {4, 5, 6, 3}},
    {"Des Dur", 0, {4, 5, 6, 3, 2}},
    {"Ges Dur", 0, {4, 5, 6, 3, 2, 1}},
    {"Ces Dur", 0, {0, 1, 2, 3, 4, 5, 6}},
};

// The notes the signs mark, in the order of the signature.
const char* const kKrizkyNoty[7] = {"f2,", "c2,", "g2,", "d2,", "a1,", "e2,", "h1,"};
const char* const kBeckaNoty[7] = {"h1,", "e2,", "a1,", "d2,", "g1,", "c2,", "f1,"};

TEST_F(NotyZapisTest, EveryKeyMovesExactlyItsSignsToTheirNotes) {
    for (const auto& klic : kKlice) {
        SCOPED_TRACE(klic.stupnice);
        Uvolni();
        zapis.NastavStupnici(klic.stupnice);
        for (int k = 0; k <= 6; ++k) {
            if (k < klic.krizku) {
                EXPECT_EQ(krizky(k).Left, 1490.f + 100 * k) << "sharp " << k;
                EXPECT_EQ(krizky(k).Top, ZnamenkoTop(kKrizkyNoty[k], 110)) << "sharp " << k;
            } else {
                EXPECT_EQ(krizky(k).Left, KlidLeft(k)) << "sharp " << k;
                EXPECT_EQ(krizky(k).Top, KlidTop(k)) << "sharp " << k;
            }
        }
        std::vector<bool> pouzit(7, false);
        for (size_t j = 0; j < klic.beckoPrvky.size(); ++j) {
            const int prvek = klic.beckoPrvky[j];
            pouzit[prvek] = true;
            EXPECT_EQ(becka(prvek).Left, 1390.f + 100 * static_cast<float>(j)) << "flat " << j;
            EXPECT_EQ(becka(prvek).Top, ZnamenkoTop(kBeckaNoty[j], 140)) << "flat " << j;
        }
        for (int i = 0; i <= 6; ++i) {
            if (pouzit[i]) continue;
            EXPECT_EQ(becka(i).Left, KlidLeft(i)) << "flat element " << i;
            EXPECT_EQ(becka(i).Top, KlidTop(i)) << "flat element " << i;
        }
    }
}

TEST_F(NotyZapisTest, ExampleKeysAtTheirPlaces) {
    zapis.NastavStupnici("D Dur");
    EXPECT_EQ(krizky(0).Left, 1490.f);
    EXPECT_EQ(krizky(0).Top, 8850.f);
    EXPECT_EQ(krizky(1).Left, 1590.f);
    EXPECT_EQ(krizky(1).Top, 9030.f);
    Uvolni();
    zapis.NastavStupnici("Ces Dur");
    EXPECT_EQ(becka(0).Left, 1390.f);
    EXPECT_EQ(becka(0).Top, 9060.f);
    EXPECT_EQ(becka(6).Left, 1990.f);
    EXPECT_EQ(becka(6).Top, 9240.f);
}

TEST_F(NotyZapisTest, TextsThatAreNoSignatureMoveNothing) {
    for (const char* text : {"C Dur", "Vyberte stupnici", "", "g dur", "G DUR", "G Dur ", " G Dur", "GDur", "Gis Dur"}) {
        SCOPED_TRACE(text);
        zapis.NastavStupnici(text);
        for (int i = 0; i <= 6; ++i) {
            EXPECT_EQ(krizky(i).Left, KlidLeft(i));
            EXPECT_EQ(krizky(i).Top, KlidTop(i));
            EXPECT_EQ(becka(i).Left, KlidLeft(i));
            EXPECT_EQ(becka(i).Top, KlidTop(i));
        }
    }
}

TEST_F(NotyZapisTest, FewerFlatsWithoutReleaseLeaveTheOthersOnTheStaff) {
    zapis.NastavStupnici("Ges Dur");
    zapis.NastavStupnici("F Dur");
    // F's one flat reuses element 4; Ges's elements 5, 6, 3, 2, 1 stay put.
    const std::vector<int> ges = {4, 5, 6, 3, 2, 1};
    for (size_t j = 0; j < ges.size(); ++j) {
        EXPECT_EQ(becka(ges[j]).Left, 1390.f + 100 * static_cast<float>(j));
        EXPECT_EQ(becka(ges[j]).Top, ZnamenkoTop(kBeckaNoty[j], 140));
    }
    EXPECT_EQ(becka(0).Left, KlidLeft(0));
}

TEST_F(NotyZapisTest, SameKeyTwiceGivesTheSamePicture) {
    zapis.NastavStupnici("Fis Dur");
    std::vector<std::pair<float, float>> prvni;
    for (int i = 0; i <= 6; ++i) prvni.emplace_back(krizky(i).Left, krizky(i).Top);
    zapis.NastavStupnici("Fis Dur");
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(krizky(i).Left, prvni[i].first);
        EXPECT_EQ(krizky(i).Top, prvni[i].second);
    }
}

TEST_F(NotyZapisTest, MissingPictureElementReachesTheCaller) {
    krizky.Unload(3);
    zapis.NastavStupnici("A Dur");  // needs 0-2 only
    try {
        zapis.NastavStupnici("E Dur");
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 340);
    }
}

TEST_F(NotyZapisTest, RedNoteSlotsStartEmptyAndKeepWhatIsLet) {
    EXPECT_EQ(zapis.CervenaNota0(), "");
    EXPECT_EQ(zapis.CervenaNota1(), "");
    EXPECT_EQ(zapis.CervenaNota2(), "");
    EXPECT_EQ(zapis.CervenaNota3(), "");
    EXPECT_EQ(zapis.CervenaNota4(), "");

    zapis.CervenaNota0("49");
    zapis.CervenaNota1("1");
    zapis.CervenaNota2("není číslo");
    zapis.CervenaNota3(" 7 ");
    zapis.CervenaNota4("12");
    EXPECT_EQ(zapis.CervenaNota0(), "49");
    EXPECT_EQ(zapis.CervenaNota1(), "1");
    EXPECT_EQ(zapis.CervenaNota2(), "není číslo");
    EXPECT_EQ(zapis.CervenaNota3(), " 7 ");
    EXPECT_EQ(zapis.CervenaNota4(), "12");

    // Emptying one slot leaves the others.
    zapis.CervenaNota2("");
    EXPECT_EQ(zapis.CervenaNota2(), "");
    EXPECT_EQ(zapis.CervenaNota1(), "1");
    EXPECT_EQ(zapis.CervenaNota3(), " 7 ");

    // The slot keeps its own copy of the text.
    std::string cislo = "23";
    zapis.CervenaNota4(cislo);
    cislo = "24";
    EXPECT_EQ(zapis.CervenaNota4(), "23");

    // A fresh object starts empty again.
    clsNotyZapis dalsi{{krizky, becka}};
    EXPECT_EQ(dalsi.CervenaNota0(), "");
}

}  // namespace
