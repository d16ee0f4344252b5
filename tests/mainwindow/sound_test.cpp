// Automatic stepping and the sound buttons: the slider's tempo table, the
// "Automat" switch, a song stepped on the timer to its end, and the three
// sound buttons playing and stopping real small files (SDL's dummy audio
// driver) whose device is named by the full path, blanks included.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/system/mci.h"
#include "tests/mainwindow/form1_fixture.h"
#include "tests/support/sound_files.h"

namespace {

using form1_test::Form1Fixture;

const std::string kSlozka = "C:\\Dokumenty\\Dovozivuz\\Belmora\\";

class SoundTest : public Form1Fixture {
protected:
    void TearDown() override {
        sys::MciCloseAll();
        Form1Fixture::TearDown();
    }

    void Put(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(SongFolder());
        std::ofstream(SongFolder() / name, std::ios::binary) << bytes;
    }

    // Runs the event loop until `done` or the limit; true when done.
    static bool Await(const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
};

// ---- Tempo and the "Automat" switch ------------------------------------------

TEST_F(SoundTest, SliderSetsTheTimersIntervalFromTheTempoTable) {
    Form1& f = NewForm();
    const std::vector<std::pair<int, int>> tabulka = {{-5, 6000}, {-4, 5200}, {-3, 4400}, {-2, 3600},
                                                      {-1, 2800}, {0, 2000},  {1, 1620},  {2, 1240},
                                                      {3, 860},   {4, 480},   {5, 100}};
    for (const auto& [v, ms] : tabulka) {
        SCOPED_TRACE(v);
        f.Timer1.Interval = 1;     // so the value below comes from the slider's event
        f.Slider1.Value = v;       // raises Change, as the user's drag does
        EXPECT_EQ(f.Timer1.Interval, ms);
        EXPECT_FALSE(f.Timer1.Enabled) << "the slider only sets the pace";
    }
}

TEST_F(SoundTest, SliderChangesThePaceOfARunningTimerWithoutStoppingIt) {
    Form1& f = NewForm();
    f.cmdTimer.Click();
    ASSERT_TRUE(f.Timer1.Enabled);
    f.Slider1.Value = 3;
    EXPECT_TRUE(f.Timer1.Enabled);
    EXPECT_EQ(f.Timer1.Interval, 860);
}

TEST_F(SoundTest, AutomatSwitchesTheTimerOnAndOff) {
    Form1& f = NewForm();
    EXPECT_FALSE(f.Timer1.Enabled) << "designed off";
    EXPECT_EQ(f.Timer1.Interval, 2000);
    f.cmdTimer.Click();
    EXPECT_TRUE(f.Timer1.Enabled);
    f.cmdTimer.Click();
    EXPECT_FALSE(f.Timer1.Enabled);
}

TEST_F(SoundTest, ATickAfterTheSongWasClosedOnlySwitchesTheTimerOff) {
    Form1& f = Start();
    f.ZakazOvladaniPisne();  // what closing the song does to the controls
    f.Timer1.Enabled = true;
    const std::string radek = f.lblTon.Caption;

    f.Timer1_Timer();

    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_EQ(f.lblTon.Caption.get(), radek) << "no step was taken";
    EXPECT_TRUE(TakeBoxes().empty());
}

// Three grips, the cursor on the first: the timer steps to the second and
// third, then into the empty row after the song, where it says so once and
// switches itself off. Runs on the real timer at the fastest tempo.
TEST_F(SoundTest, AutoplayStopsOneRowAfterTheLastGrip) {
    Form1& f = Start();
    OpenNewSong("Automat.xls");
    struct Hmat {
        const char* nota;
        const char* smer;
    };
    const Hmat hmaty[] = {{"c1,", "Tlak"}, {"e1,", "Tah"}, {"g1,", "Tlak"}};
    for (int r = 1; r <= 3; ++r) {
        const std::string n = std::to_string(r);
        Excel().Range("B" + n).Value(hmaty[r - 1].nota);
        Excel().Range("I" + n).Value(hmaty[r - 1].smer);
        Excel().Range("W" + n).Value("C Dur");
    }
    Excel().Range("B1").Select();
    f.PovolOvladaniPisne();
    TakeBoxes();

    f.Slider1.Value = 5;
    f.cmdTimer.Click();
    ASSERT_TRUE(Await([&] { return !f.Timer1.Enabled.get(); }, 10000)) << "the timer never stopped";

    EXPECT_EQ(f.lblTon.Caption.get(), "4");
    EXPECT_EQ(Excel().ActiveCell().Row(), 4);
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Záznam neuveden.");
    EXPECT_EQ(boxes[0].title, "Neprovedeno.");

    // Stopped for good: no further ticks step on.
    Await([] { return false; }, 400);
    EXPECT_EQ(f.lblTon.Caption.get(), "4");
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- Sound buttons ---------------------------------------------------------------

TEST_F(SoundTest, EachSoundButtonPlaysAndStopsTheSongsFileUnderAPathWithBlanks) {
    Form1& f = NewForm();
    AktualniPisen = "Polka u lesa.xls";
    Put("Polka u lesa.mp3", testsupport::Mp3File(5));
    Put("Polka u lesa.mid", testsupport::MidiFile(16));
    Put("Polka u lesa.wav", testsupport::WaveFile(5));

    struct Pripad {
        std::int16_t index;
        const char* navrh;   // the designed caption
        const char* pripona;
    };
    for (const Pripad& p : {Pripad{0, "Mp3", "mp3"}, Pripad{1, "Midi", "mid"}, Pripad{2, "Wav", "wav"}}) {
        SCOPED_TRACE(p.pripona);
        const std::string soubor = kSlozka + "Polka u lesa." + p.pripona;
        EXPECT_EQ(f.cmdZvuk(p.index).Caption.get(), p.navrh);

        f.cmdZvuk(p.index).Click();
        EXPECT_EQ(f.cmdZvuk(p.index).Caption.get(), "Stop");
        EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{soubor});
        EXPECT_TRUE(sys::MciIsPlaying(soubor));

        f.cmdZvuk(p.index).Click();
        EXPECT_EQ(f.cmdZvuk(p.index).Caption.get(), p.pripona) << "the extension, in lower case";
        EXPECT_TRUE(sys::MciOpenDevices().empty());
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SoundTest, TwoSoundButtonsKeepTheirFilesOpenIndependently) {
    Form1& f = NewForm();
    AktualniPisen = "Valcik.xls";
    Put("Valcik.mp3", testsupport::Mp3File(5));
    Put("Valcik.wav", testsupport::WaveFile(5));

    f.cmdZvuk(0).Click();
    f.cmdZvuk(2).Click();
    EXPECT_EQ(sys::MciOpenDevices(), (std::vector<std::string>{kSlozka + "Valcik.mp3", kSlozka + "Valcik.wav"}));

    f.cmdZvuk(0).Click();
    EXPECT_EQ(f.cmdZvuk(0).Caption.get(), "mp3");
    EXPECT_EQ(f.cmdZvuk(2).Caption.get(), "Stop");
    EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{kSlozka + "Valcik.wav"});
}

TEST_F(SoundTest, AFileThatCannotPlayLeavesStopWithoutSoundAndNoMessage) {
    Form1& f = NewForm();
    AktualniPisen = "Bez zvuku.xls";
    Put("Bez zvuku.mid", "not a song at all");

    f.cmdZvuk(1).Click();  // a broken file
    f.cmdZvuk(2).Click();  // no file at all
    EXPECT_EQ(f.cmdZvuk(1).Caption.get(), "Stop");
    EXPECT_EQ(f.cmdZvuk(2).Caption.get(), "Stop");
    EXPECT_TRUE(sys::MciOpenDevices().empty());

    f.cmdZvuk(1).Click();
    f.cmdZvuk(2).Click();
    EXPECT_EQ(f.cmdZvuk(1).Caption.get(), "mid");
    EXPECT_EQ(f.cmdZvuk(2).Caption.get(), "wav");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(SoundTest, PlayTellsWhetherThePlayCommandSucceeded) {
    Form1& f = NewForm();
    Put("Hraje.wav", testsupport::WaveFile(2));
    const std::string hraje = kSlozka + "Hraje.wav";

    const vb::Variant ok = f.PrehrajZvuk(hraje);
    EXPECT_TRUE(vb::Equals(ok, vb::Variant(std::int16_t{0})));
    EXPECT_EQ(ok.Type(), vb::VarType::Integer);
    EXPECT_TRUE(sys::MciIsPlaying(hraje));
    EXPECT_TRUE(vb::Equals(f.PrehrajZvuk(kSlozka + "Neni.wav"), vb::Variant(std::int16_t{1})));

    f.ZastavZvuk(hraje);
    EXPECT_FALSE(sys::MciIsOpen(hraje));
}

// The button does not remember which file it started: after the song was
// closed and another opened, "Stop" stops the new song's file and the first
// one keeps sounding.
TEST_F(SoundTest, StopAfterTheSongChangedAddressesTheNewSongsFile) {
    Form1& f = NewForm();
    Put("Prvni.mp3", testsupport::Mp3File(5));
    Put("Druha.mp3", testsupport::Mp3File(5));
    AktualniPisen = "Prvni.xls";
    f.cmdZvuk(0).Click();
    ASSERT_TRUE(sys::MciIsPlaying(kSlozka + "Prvni.mp3"));

    f.ZakazOvladaniPisne();  // closing hides the buttons but stops nothing
    EXPECT_FALSE(f.cmdZvuk(0).Visible);
    EXPECT_EQ(f.cmdZvuk(0).Caption.get(), "Stop");
    AktualniPisen = "Druha.xls";

    f.cmdZvuk(0).Click();
    EXPECT_EQ(f.cmdZvuk(0).Caption.get(), "mp3");
    EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{kSlozka + "Prvni.mp3"});
    EXPECT_TRUE(sys::MciIsPlaying(kSlozka + "Prvni.mp3"));
}

}  // namespace
