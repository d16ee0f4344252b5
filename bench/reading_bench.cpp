// Reading a song: on a 500-row song, the median time of one "?" step
// (cmdJakDal_Click: next row, the row read on the side it names, the strip
// marked or rebuilt) and of one rebuild of the 16-step strip. Works in a
// temporary drive C and settings folder with calvira registered there.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_window.h"

using bench::Clock;
using bench::Ms;
using bench::Print;

namespace {

constexpr int kRows = 500;
constexpr int kSteps = 1000;
constexpr int kRebuilds = 200;

}  // namespace

int main(int argc, char** argv) {
    return bench::WithSongWindow(argc, argv, "belmora-reading-bench", [](Form1& okno) {
        bench::WriteSong(kRows);
        okno.PovolOvladaniPisne();
        okno.cmdPrvni_Click();
        QCoreApplication::processEvents();

        // "?" steps through the song and round again from the first row; one
        // step in sixteen also rebuilds the strip.
        std::vector<double> kroky;
        for (int i = 0; i < kSteps; ++i) {
            if (ExcelAplikace->ActiveCell().Row() >= kRows) okno.cmdPrvni_Click();
            const auto a = Clock::now();
            okno.cmdJakDal_Click();
            kroky.push_back(Ms(a));
            QCoreApplication::processEvents();
        }

        // Rebuilds at rows spread over the song.
        std::vector<double> pasy;
        for (int i = 0; i < kRebuilds; ++i) {
            ExcelAplikace->Range(std::string("B").append(std::to_string(1 + (i * 37) % (kRows - 16)))).Select();
            const auto a = Clock::now();
            okno.ObnovNotovyPas();
            pasy.push_back(Ms(a));
            QCoreApplication::processEvents();
        }

        const bool obrazovka = QGuiApplication::platformName() != "offscreen";
        std::printf("reading a %d-row song (3 notes, 2 basses a row), Qt platform %s\n", kRows,
                    qPrintable(QGuiApplication::platformName()));
        const double krok = Print("one \"?\" step (cmdJakDal_Click)", kroky, obrazovka ? 1.5 : 1);
        const double pas = Print("one strip rebuild (ObnovNotovyPas)", pasy, 2);
        bench::PrintResult({{"step_ms", krok, "ms"}, {"strip_ms", pas, "ms"}});
    });
}
