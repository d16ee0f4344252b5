// A song recorded from start to end on the real engine and a temporary drive
// C: created, four grips recorded (button clicks, a key, a second label,
// heads dropped on the staff, fingering, push and pull, basses, a grip of
// basses only), ended; the saved file read by LibreOffice, where it is
// installed; then opened again and read grip by grip on the keyboards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "store/module1.h"
#include "tests/mainwindow/recording/recording_fixture.h"
#include "tests/support/doubles/scripted_file_dialog.h"
#include "tests/support/soffice.h"

namespace {

namespace fs = std::filesystem;
using namespace recording_test;

// The grips as recorded: treble names from B, bellows, basses from M,
// fingering, and the buttons pressed for them.
struct Hmat {
    std::vector<std::string> diskant;
    std::string smer;
    std::vector<std::string> basy;
    std::string prstoklad;
    std::set<int> knofliky;
    std::set<int> basoveKnofliky;
};

const std::vector<Hmat> kHmaty = {
    {{"g1,", "h1,", "d2,"}, "Tlak", {"G dur", "G zákl."}, "l16;1\\s20;3\\", {16, 20, 23}, {31, 51}},
    {{"fis1,", "a1,", "d2,"}, "Tah", {"D zákl."}, "", {15, 18, 23}, {32}},
    {{"f1,", "a1,"}, "Tah", {}, "l18;2\\", {14, 18}, {}},
    {{}, "Tlak", {"C dur", "C zákl."}, "", {}, {30, 50}},
};

// One CSV record per line; fields separated by commas, quoted when needed.
std::vector<std::vector<std::string>> CtiCsv(const fs::path& soubor) {
    std::ifstream in(soubor, std::ios::binary);
    std::vector<std::vector<std::string>> radky;
    std::string radek;
    while (std::getline(in, radek)) {
        if (!radek.empty() && radek.back() == '\r') radek.pop_back();
        std::vector<std::string> pole(1);
        bool uvozovky = false;
        for (std::size_t i = 0; i < radek.size(); ++i) {
            const char c = radek[i];
            if (uvozovky) {
                if (c == '"' && i + 1 < radek.size() && radek[i + 1] == '"') pole.back() += '"', ++i;
                else if (c == '"') uvozovky = false;
                else pole.back() += c;
            } else if (c == '"') {
                uvozovky = true;
            } else if (c == ',') {
                pole.emplace_back();
            } else {
                pole.back() += c;
            }
        }
        radky.push_back(pole);
    }
    return radky;
}

class EndToEndTest : public RecordingFixture {
protected:
    static std::set<int> Prectene(Form1& f, bool tlak) {
        std::set<int> n;
        for (int i = 1; i <= 49; ++i)
            if (f.imgDiskant(i).Picture.get() == (tlak ? f.imgKnofTlak : f.imgKnofTah).Picture.get()) n.insert(i);
        return n;
    }
    static std::set<int> PrecteneBasy(Form1& f) {
        std::set<int> n;
        for (int b = 1; b <= 120; ++b) {
            const forms::Picture& p = f.ImgBas(b).Picture.get();
            if (p == f.imgBaVol.Picture.get() || p == f.imgBaVolC.Picture.get() || p == f.imgBaVolMriz.Picture.get())
                continue;
            n.insert(b);
        }
        return n;
    }
};

TEST_F(EndToEndTest, ASongRecordedIsSavedAndReadBack) {
    Form1& f = Start();
    fs::create_directories(SongFolder());

    Boxes().AnswerInput(std::string("Pisnicka"));
    f.cmdNovaSkladba.PerformClick();
    ASSERT_EQ(AktualniPisen, "Pisnicka.xls");
    VolbyStupnice({"G Dur"});
    f.cmdStupnice.PerformClick();
    ASSERT_EQ(f.cmdStupnice.Caption.get(), "G Dur");

    // 1: clicks on labels, a piano key and a second label; fingering; push.
    f.lbl(16).Click();
    Boxes().AnswerInput(std::string("1"));
    f.lbl(16).DblClick();
    f.cmdKlavesa(23).Click();
    f.lblSynchro(20).Click();
    Boxes().AnswerInput(std::string("3"));
    f.lblSynchro(20).DblClick();
    f.ImgBas(31).Click();
    f.ImgBas(51).Click();
    f.cmdTlak.PerformClick();

    // 2: three heads dragged onto the staff (f1 reads as fis1 in G Dur), pull.
    f.cmdUvolKnofl.PerformClick();
    for (auto [hlava, top] : {std::pair{0, 9375.f}, std::pair{1, 9262.f}, std::pair{2, 9085.f}}) {
        Pusti(2000, top);
        f.picNota(hlava).MouseDown(forms::vbLeftButton, 0, 0, 0);
    }
    EXPECT_EQ(Stisknute(f), (std::vector<int>{15, 18, 23}));
    f.ImgBas(32).Click();
    f.cmdTahNoty.PerformClick();

    // 3: f1 outside G Dur, drawn with a natural sign; pull.
    f.cmdUvolKnofl.PerformClick();
    Boxes().Answer(forms::vbYes);
    f.lbl(14).Click();
    f.lbl(18).Click();
    Boxes().AnswerInput(std::string("2"));
    f.lbl(18).DblClick();
    f.cmdTah.PerformClick();

    // 4: basses only, push.
    f.cmdUvolKnofl.PerformClick();
    f.ImgBas(30).Click();
    f.ImgBas(50).Click();
    f.cmdTlak.PerformClick();

    for (const Box& b : TakeBoxes())
        EXPECT_TRUE(b.flags == -1 || b.title == "Nota je mimo stupnici.") << b.title << ": " << b.prompt;
    f.cmdEndEdit.PerformClick();
    ASSERT_TRUE(AktualniPisen.empty());
    const fs::path soubor = SongFolder() / "Pisnicka.xls";
    ASSERT_TRUE(fs::exists(soubor));

    // The saved file as LibreOffice reads it: every cell the writers wrote.
    if (testsupport::HaveSoffice()) {
        const fs::path prace = Root() / "lo";
        fs::create_directories(prace / "csv");
        ASSERT_TRUE(testsupport::SofficeConvert(prace, "csv:Text - txt - csv (StarCalc):44,34,76,1", {soubor.string()},
                                                prace / "csv"))
            << "see " << testsupport::SofficeLog(prace);
        const auto radky = CtiCsv(prace / "csv" / "Pisnicka.csv");
        ASSERT_GE(radky.size(), kHmaty.size());
        for (std::size_t r = 0; r < kHmaty.size(); ++r) {
            SCOPED_TRACE("row " + std::to_string(r + 1));
            std::vector<std::string> bunky = radky[r];
            bunky.resize(23);
            const Hmat& h = kHmaty[r];
            for (int c = 0; c < 7; ++c)  // B..H
                EXPECT_EQ(bunky[1 + c], c < static_cast<int>(h.diskant.size()) ? h.diskant[c] : "") << c;
            EXPECT_EQ(bunky[8], h.smer);   // I
            for (int c = 0; c < 7; ++c)    // M..S
                EXPECT_EQ(bunky[12 + c], c < static_cast<int>(h.basy.size()) ? h.basy[c] : "") << c;
            EXPECT_EQ(bunky[21], h.prstoklad);  // V
            EXPECT_EQ(bunky[22], "G Dur");      // W
        }
        // Below the song nothing, down to the hidden creation stamp (row 32341).
        for (std::size_t r = kHmaty.size(); r < radky.size() && r < 32340; ++r)
            for (const std::string& bunka : radky[r]) EXPECT_EQ(bunka, "") << "row " << r + 1;
    }

    // Opened again and read grip by grip: the same buttons as recorded.
    xl::ScriptedFileDialogs dialogy;
    dialogy.Answer(soubor.string());
    f.cmdEdit.PerformClick();
    ASSERT_EQ(AktualniPisen, "Pisnicka.xls");
    f.cmdPrvni.PerformClick();
    for (std::size_t r = 0; r < kHmaty.size(); ++r) {
        SCOPED_TRACE("grip " + std::to_string(r + 1));
        if (r > 0) f.cmdDalsi.PerformClick();
        const bool tlak = kHmaty[r].smer == "Tlak";
        (tlak ? f.cmdReadTlak : f.cmdReadTah).PerformClick();
        EXPECT_EQ(Prectene(f, tlak), kHmaty[r].knofliky);
        EXPECT_EQ(PrecteneBasy(f), kHmaty[r].basoveKnofliky);
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

}  // namespace
