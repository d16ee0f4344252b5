// Recording a song: on a 500-row song, one treble press (lbl_Click with its
// note drawn on the entry staff), one head dropped on the staff pressing its
// button (OznacKnoflikNoty), and one grip of five treble buttons and two
// basses written with "> Tlak" (cmdTlak_Click), the next row read back. Each
// is timed until the screen has caught up (the event loop drained, on X a
// round trip returned), with the handler alone and the paint events beside.
// Works in a temporary drive C and settings folder with calvira registered
// there.
//   recording_bench [grips]   (fewer runs for a run under valgrind)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_screen.h"
#include "bench/bench_window.h"

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
    const int grips = argc > 1 && std::atoi(argv[1]) > 0 ? std::min(std::atoi(argv[1]), kGrips) : kGrips;
    const int presses = std::max(1, grips * kPresses / kGrips), drops = std::max(1, grips * kDrops / kGrips);
    return bench::WithSongWindow(argc, argv, "belmora-recording-bench", [&](Form1& okno) {
        bench::EventCounter counter;
        bench::WriteSong(kRows);
        okno.PovolOvladaniPisne();
        okno.cmdStupnice.Caption = "C Dur";
        okno.cmdPrvni_Click();
        bench::Drain(counter);

        // A press of buttons over the whole keyboard that need no question in
        // C Dur; each is released again outside the measurement.
        bench::Waits stisky;
        for (int i = 0; i < presses; ++i) {
            const auto n = static_cast<std::int16_t>(kTreble[i % 5] + 12 * ((i / 5) % 2));
            bench::TimeDrained(stisky, counter, [&] { okno.lbl_Click(n); });
            okno.lbl_Click(n);
            bench::Drain(counter);
        }

        // A head at heights over the staff, its button pressed from the note it shows.
        bench::Waits pusteniHlav;
        const float vysky[] = {9560, 9440, 9380, 9260, 9140, 8960};
        for (int i = 0; i < drops; ++i) {
            okno.picNota(0).Move(2250, vysky[i % 6]);
            bench::Drain(counter);
            bench::TimeDrained(pusteniHlav, counter, [&] { okno.OznacKnoflikNoty(0); });
            okno.UvolniKnoflikNoty(0);
            bench::Drain(counter);
        }
        okno.cmdUvolNoty_Click();

        // Grips written row after row over the song; the next row always
        // holds a grip, so each write also reads it back (and lets go of the
        // buttons, which the next grip presses again).
        bench::Waits hmaty;
        ExcelAplikace->Range("B1").Select();
        for (int i = 0; i < grips; ++i) {
            for (int n : kTreble) okno.lbl(n).Click();
            for (int b : kBasses) okno.ImgBas(b).Click();
            bench::Drain(counter);
            bench::TimeDrained(hmaty, counter, [&] { okno.cmdTlak_Click(); });
        }

        std::printf("recording on a %d-row song, ", kRows);
        bench::PrintPlatform();
        bench::PrintWaits("one treble press (lbl_Click)", stisky, 3);
        bench::PrintWaits("one head dropped (OznacKnoflikNoty)", pusteniHlav, 3);
        bench::PrintWaits("one grip with \"> Tlak\" (5 treble, 2 basses)", hmaty, 3);
        bench::PrintResult({{"press_ms", bench::Median(stisky.drained), "ms"},
                            {"press_handler_ms", bench::Median(stisky.handler), "ms"},
                            {"press_paints", bench::Median(stisky.paints), "events"},
                            {"drop_ms", bench::Median(pusteniHlav.drained), "ms"},
                            {"drop_handler_ms", bench::Median(pusteniHlav.handler), "ms"},
                            {"drop_paints", bench::Median(pusteniHlav.paints), "events"},
                            {"grip_ms", bench::Median(hmaty.drained), "ms"},
                            {"grip_handler_ms", bench::Median(hmaty.handler), "ms"},
                            {"grip_paints", bench::Median(hmaty.paints), "events"}});
    });
}
