#include "platform/system/mci.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/sound_files.h"
#include "tests/support/temp_env.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ScopedEnv;
using testsupport::TempDir;

const std::string kFolder = "C:\\Dokumenty\\Dovozivuz\\Belmora\\";

class MciTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", home.str());
        env.Set("BELMORA_DRIVE_C", drive.str());
        env.Set("SDL_AUDIODRIVER", "dummy");
        songs = drive.path() / "Dokumenty" / "Dovozivuz" / "Belmora";
        fs::create_directories(songs);
    }
    void TearDown() override { sys::MciCloseAll(); }

    std::string Put(const std::string& name, const std::string& bytes) {
        testsupport::WriteFile(songs / name, bytes);
        return kFolder + name;
    }
    // The two halves of the sound buttons' work: open + play, stop + close.
    static int PlaySong(const std::string& path) {
        sys::mciSendString("open " + path + " type sequencer");
        return sys::mciSendString("play " + path);
    }
    static void StopSong(const std::string& path) {
        sys::mciSendString("stop " + path);
        sys::mciSendString("close " + path);
    }
    static bool WaitUntilSilent(const std::string& device, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (sys::MciIsPlaying(device)) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    TempDir home, drive;
    fs::path songs;
    ScopedEnv env;
};

TEST_F(MciTest, EachKindOpensPlaysStopsAndClosesUnderAPathWithBlanks) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"Moje polka.wav", testsupport::WaveFile(3.0)},
        {"Moje polka.mid", testsupport::MidiFile(8)},
        {"Moje polka.mp3", testsupport::Mp3File(3.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Put(c.name, c.bytes);
        EXPECT_EQ(sys::mciSendString("open " + path + " type sequencer"), 0);
        EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{path});
        EXPECT_FALSE(sys::MciIsPlaying(path));

        EXPECT_EQ(sys::mciSendString("play " + path), 0);
        EXPECT_TRUE(sys::MciIsPlaying(path));
        EXPECT_EQ(sys::mciSendString("play " + path), 0);  // again: keeps sounding
        EXPECT_TRUE(sys::MciIsPlaying(path));

        EXPECT_EQ(sys::mciSendString("stop " + path), 0);
        EXPECT_FALSE(sys::MciIsPlaying(path));
        EXPECT_TRUE(sys::MciIsOpen(path));
        EXPECT_EQ(sys::mciSendString("close " + path), 0);
        EXPECT_FALSE(sys::MciIsOpen(path));
        EXPECT_TRUE(sys::MciOpenDevices().empty());
    }
}

TEST_F(MciTest, TwoDevicesStayOpenAndTheLaterOneSounds) {
    const std::string wav = Put("Polka.wav", testsupport::WaveFile(3.0));
    const std::string mp3 = Put("Polka.mp3", testsupport::Mp3File(3.0));
    EXPECT_EQ(PlaySong(wav), 0);
    EXPECT_EQ(PlaySong(mp3), 0);
    EXPECT_EQ(sys::MciOpenDevices(), (std::vector<std::string>{wav, mp3}));
    EXPECT_TRUE(sys::MciIsPlaying(mp3));
    EXPECT_FALSE(sys::MciIsPlaying(wav));

    // Stopping the silent one leaves the other sounding.
    StopSong(wav);
    EXPECT_TRUE(sys::MciIsPlaying(mp3));
    EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{mp3});
    StopSong(mp3);
    EXPECT_TRUE(sys::MciOpenDevices().empty());
}

TEST_F(MciTest, PlayOpensADeviceThatIsNotOpen) {
    const std::string path = Put("Bez open.wav", testsupport::WaveFile(2.0));
    EXPECT_EQ(sys::mciSendString("play " + path), 0);
    EXPECT_TRUE(sys::MciIsOpen(path));
    EXPECT_TRUE(sys::MciIsPlaying(path));
    StopSong(path);
    EXPECT_FALSE(sys::MciIsOpen(path));
}

TEST_F(MciTest, AFileThatPlayedToItsEndIsSilentButOpen) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"Kratka.wav", testsupport::WaveFile(0.2)},
        {"Kratka.mid", testsupport::MidiFile(1)},
        {"Kratka.mp3", testsupport::Mp3File(0.2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Put(c.name, c.bytes);
        EXPECT_EQ(PlaySong(path), 0);
        EXPECT_TRUE(sys::MciIsPlaying(path));
        // FluidSynth lets the last note ring out: a half-second song ends after about 3 s.
        EXPECT_TRUE(WaitUntilSilent(path, std::chrono::seconds(10)));
        EXPECT_TRUE(sys::MciIsOpen(path));
        // Played again from its start.
        EXPECT_EQ(sys::mciSendString("play " + path), 0);
        EXPECT_TRUE(sys::MciIsPlaying(path));
        StopSong(path);
    }
}

TEST_F(MciTest, FailuresGiveErrorCodesAndOpenNothing) {
    const std::string good = Put("Dobra.wav", testsupport::WaveFile(1.0));
    const std::string bad = Put("Rozbita.wav", "tohle neni zvuk");
    const std::string badMidi = Put("Rozbita.mid", "MThd nic");
    const std::string textMidi = Put("Text.mid", "tohle neni zvuk ani midi");
    const std::string textMp3 = Put("Text.mp3", "tohle neni zvuk ani mp3");
    ASSERT_EQ(sys::mciSendString("open " + good + " type sequencer"), 0);
    struct Case {
        std::string command;
        int code;
    } cases[] = {
        {"", sys::mci::kMissingCommand},
        {"   ", sys::mci::kMissingCommand},
        {"pause " + good, sys::mci::kUnrecognizedCommand},
        {"playx " + good, sys::mci::kUnrecognizedCommand},
        {"play", sys::mci::kMissingDeviceName},
        {"open  type sequencer", sys::mci::kMissingDeviceName},
        {"open " + kFolder + "Chybi.mp3 type sequencer", sys::mci::kFileNotFound},
        {"play " + kFolder + "Chybi.mp3", sys::mci::kFileNotFound},
        {"open Q:\\Polka.mid type sequencer", sys::mci::kFileNotFound},
        {"open " + kFolder + " type sequencer", sys::mci::kFileNotFound},  // a folder, not a file
        {"open " + bad + " type sequencer", sys::mci::kInvalidFile},
        {"open " + badMidi + " type sequencer", sys::mci::kInvalidFile},
        {"open " + textMidi + " type sequencer", sys::mci::kInvalidFile},
        {"open " + textMp3 + " type sequencer", sys::mci::kInvalidFile},
        {"open " + good + " type sequencer", sys::mci::kDeviceAlreadyOpen},
        {"stop " + kFolder + "Chybi.mp3", sys::mci::kDeviceNotOpen},
        {"close " + kFolder + "Chybi.mp3", sys::mci::kDeviceNotOpen},
        // A path that only differs by its tail names another device.
        {"stop " + good + " ", sys::mci::kDeviceNotOpen},
    };
    for (const auto& c : cases) EXPECT_EQ(sys::mciSendString(c.command), c.code) << "'" << c.command << "'";
    EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{good});
}

TEST_F(MciTest, CommandWordsIgnoreCaseButTheDeviceNameIsTakenWhole) {
    const std::string path = Put("Type sequencer.wav", testsupport::WaveFile(2.0));
    EXPECT_EQ(sys::mciSendString("OPEN " + path + " TYPE SEQUENCER"), 0);
    EXPECT_EQ(sys::MciOpenDevices(), std::vector<std::string>{path});
    EXPECT_EQ(sys::mciSendString("Play " + path), 0);
    EXPECT_TRUE(sys::MciIsPlaying(path));
    EXPECT_EQ(sys::mciSendString("close " + path), 0);
    // A file named after shell syntax is just a file.
    const std::string odd = Put("a;b $(x) `y` & z.wav", testsupport::WaveFile(1.0));
    EXPECT_EQ(PlaySong(odd), 0);
    EXPECT_TRUE(sys::MciIsPlaying(odd));
}

}  // namespace
