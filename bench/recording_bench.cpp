// Recording a song: on a 500-row song, the median time of one treble press
// (lbl_Click with its note drawn on the entry staff), one head dropped on the
// staff pressing its button (OznacKnoflikNoty), and one grip of five treble
// buttons and two basses written with "> Tlak" (cmdTlak_Click), the next row
// read back. Works in a temporary drive C and settings folder with calvira
// registered there.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_window.h"

using bench::Clock;
using bench::Ms;
using bench::Print;

namespace {

constexpr int kRows = 500;
constexpr int kPresses = 2000;
constexpr int kDrops = 2000;
constexpr int kGrips = 490;

// Buttons and basses of the written grip (all natural in C Dur, no question).
constexpr int kTreble[5] = {9, 13, 16, 21, 25};
constexpr int kBasses[2] = {30, 50};

}  // namespace

int main(int argc, char** argv) {
    return bench::WithSongWindow(argc, argv, "belmora-recording-bench", [](Form1& okno) {
        bench::WriteSong(kRows);
        okno.PovolOvladaniPisne();
        okno.cmdStupnice.Caption = "C Dur";
        okno.cmdPrvni_Click();
        QCoreApplication::processEvents();

        // A press of buttons over the whole keyboard that need no question in
        // C Dur; each is released again outside the measurement.
        std::vector<double> stisky;
        for (int i = 0; i < kPresses; ++i) {
            const auto n = static_cast<std::int16_t>(kTreble[i % 5] + 12 * ((i / 5) % 2));
            const auto a = Clock::now();
            okno.lbl_Click(n);
            stisky.push_back(Ms(a));
            okno.lbl_Click(n);
            QCoreApplication::processEvents();
        }

        // A head at heights over the staff, its button pressed from the note it shows.
        std::vector<double> pusteniHlav;
        const float vysky[] = {9560, 9440, 9380, 9260, 9140, 8960};
        for (int i = 0; i < kDrops; ++i) {
            okno.picNota(0).Move(2250, vysky[i % 6]);
            const auto a = Clock::now();
            okno.OznacKnoflikNoty(0);
            pusteniHlav.push_back(Ms(a));
            okno.UvolniKnoflikNoty(0);
            QCoreApplication::processEvents();
        }
        okno.cmdUvolNoty_Click();

        // Grips written row after row over the song; the next row always
        // holds a grip, so each write also reads it back (and lets go of the
        // buttons, which the next grip presses again).
        std::vector<double> hmaty;
        ExcelAplikace->Range("B1").Select();
        for (int i = 0; i < kGrips; ++i) {
            for (int n : kTreble) okno.lbl(n).Click();
            for (int b : kBasses) okno.ImgBas(b).Click();
            const auto a = Clock::now();
            okno.cmdTlak_Click();
            hmaty.push_back(Ms(a));
            QCoreApplication::processEvents();
        }

        std::printf("recording on a %d-row song, Qt platform %s\n", kRows,
                    qPrintable(QGuiApplication::platformName()));
        const double stisk = Print("one treble press (lbl_Click)", stisky, 0.5);
        const double pusteni = Print("one head dropped (OznacKnoflikNoty)", pusteniHlav, 0.5);
        const double hmat = Print("one grip with \"> Tlak\" (5 treble, 2 basses)", hmaty, 2);
        bench::PrintResult({{"press_ms", stisk, "ms"}, {"drop_ms", pusteni, "ms"}, {"grip_ms", hmat, "ms"}});
    });
}
