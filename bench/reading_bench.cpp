// Reading a song: on a 500-row song, one "?" step (cmdJakDal_Click: next row,
// the row read on the side it names, the strip marked or rebuilt) and one
// rebuild of the 16-step strip, each timed until the screen has caught up
// (the event loop drained, on X a round trip returned), with the handler
// alone and the paint events beside. Works in a temporary drive C and
// settings folder with calvira registered there.
//   reading_bench [steps]   (fewer steps for a run under valgrind)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_screen.h"
#include "bench/bench_window.h"

namespace {

constexpr int kRows = 500;
constexpr int kSteps = 1000;
constexpr int kRebuilds = 200;

}  // namespace

int main(int argc, char** argv) {
    const int steps = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : kSteps;
    const int rebuilds = std::max(1, steps * kRebuilds / kSteps);
    return bench::WithSongWindow(argc, argv, "belmora-reading-bench", [&](Form1& okno) {
        bench::EventCounter counter;
        bench::WriteSong(kRows);
        okno.PovolOvladaniPisne();
        okno.cmdPrvni_Click();
        bench::Drain(counter);

        // "?" steps through the song and round again from the first row; one
        // step in sixteen also rebuilds the strip.
        bench::Waits kroky;
        int sledovano = 0;  // steps after which the workbook window shows the engine's cursor
        for (int i = 0; i < steps; ++i) {
            if (ExcelAplikace->ActiveCell().Row() >= kRows) {
                okno.cmdPrvni_Click();
                bench::Drain(counter);
            }
            bench::TimeDrained(kroky, counter, [&] { okno.cmdJakDal_Click(); });
            if (bench::WindowFollowsEngine()) ++sledovano;
        }

        // Rebuilds at rows spread over the song.
        bench::Waits pasy;
        for (int i = 0; i < rebuilds; ++i) {
            ExcelAplikace->Range(std::string("B").append(std::to_string(1 + (i * 37) % (kRows - 16)))).Select();
            bench::Drain(counter);
            bench::TimeDrained(pasy, counter, [&] { okno.ObnovNotovyPas(); });
        }

        std::printf("reading a %d-row song (3 notes, 2 basses a row), ", kRows);
        bench::PrintPlatform();
        bench::PrintWaits("one \"?\" step (cmdJakDal_Click)", kroky, 2.5);
        bench::PrintWaits("one strip rebuild (ObnovNotovyPas)", pasy, 3);
        std::printf("  the workbook window showed the engine's cursor after %d of %d steps\n", sledovano, steps);
        bench::PrintResult({{"step_ms", bench::Median(kroky.drained), "ms"},
                            {"step_handler_ms", bench::Median(kroky.handler), "ms"},
                            {"step_paints", bench::Median(kroky.paints), "events"},
                            {"strip_ms", bench::Median(pasy.drained), "ms"},
                            {"strip_handler_ms", bench::Median(pasy.handler), "ms"},
                            {"strip_paints", bench::Median(pasy.paints), "events"}});
    });
}
