// Automatic stepping on the timer at the slider's tempo, and the sound
// buttons that play and stop the open song's recording.
#include <algorithm>
#include <cstdint>
#include <string>

#include "mainwindow/form1.h"
#include "platform/system/mci.h"
#include "platform/vb/strings.h"
#include "store/module1.h"

namespace {

// What each sound button plays; also its caption once it has been stopped.
const char* const kPripony[3] = {"mp3", "mid", "wav"};

}  // namespace

void Form1::ConnectSoundEvents() {
    cmdTimer.Click = [this] { cmdTimer_Click(); };
    Timer1.OnTimer = [this] { Timer1_Timer(); };
    Slider1.Change = [this] { Slider1_Change(); };
    for (std::int16_t i = 0; i <= 2; ++i) cmdZvuk(i).Click = [this, i] { cmdZvuk_Click(i); };
}

void Form1::cmdTimer_Click() { Timer1.Enabled = !Timer1.Enabled; }

// One automatic step, as the "?" button takes it. Once the song is closed
// its controls are disabled, and the next tick only switches itself off.
void Form1::Timer1_Timer() {
    if (cmdTimer.Enabled) {
        cmdJakDal_Click();
    } else {
        Timer1.Enabled = false;
    }
}

// Faster to the right in steps of 380 ms (down to 100 ms), slower to the
// left in steps of 800 ms (up to 6 s). Only the pace changes: a stopped
// timer stays stopped.
void Form1::Slider1_Change() {
    const int v = Slider1.Value;
    if (v > 0) {
        Timer1.Interval = 2000 - 380 * v;
    } else {
        Timer1.Interval = 2000 - 800 * v;
    }
}

// "Stop" on the button means its file was started; anything else means the
// next click starts it. The file is the song's name with the button's
// extension, in the songs folder.
void Form1::cmdZvuk_Click(std::int16_t Index) {
    const std::string pripona = kPripony[Index];
    const long delka = vb::Len(AktualniPisen);
    const std::string soubor =
        std::string(PracovniAdresar) + "\\" + vb::Left(AktualniPisen, std::max(0L, delka - 3)) + pripona;

    if (cmdZvuk(Index).Caption.get() != "Stop") {
        PrehrajZvuk(soubor);
        cmdZvuk(Index).Caption = "Stop";
    } else {
        ZastavZvuk(soubor);
        cmdZvuk(Index).Caption = pripona;
    }
}

// The file's full path is also the name of its device. A file that cannot be
// opened simply does not sound; the caller does not look at the result. Each
// command is tried on its own: a failed "open" still lets "play" try, since
// playing a file that is not open opens it first.
vb::Variant Form1::PrehrajZvuk(const std::string& soubor) {
    std::int16_t vysledek = 1;
    try {
        sys::mciSendString("open " + soubor + " type sequencer");
    } catch (...) {
    }
    try {
        if (sys::mciSendString("play " + soubor) == 0) vysledek = 0;
    } catch (...) {
    }
    return vb::Variant(vysledek);
}

void Form1::ZastavZvuk(const std::string& soubor) {
    sys::mciSendString("stop " + soubor);
    sys::mciSendString("close " + soubor);
}
