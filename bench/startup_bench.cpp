// Start-up of the program up to a shown main window (offscreen): the window
// built, its load handler with the spreadsheet started and read_only.xls
// opened, and the tone-name object made. Prints the median of repeated runs
// (the first run, which also loads the libraries, separately). Works in a
// temporary drive C and settings folder with calvira registered there.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_env.h"
#include "mainwindow/form1.h"
#include "platform/forms/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "store/module1.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 21;

// One start: returns the milliseconds to a shown window with its tone-name
// object; the window is then closed (not timed) as the user would close it.
double OneStart() {
    const auto a = Clock::now();
    Form1 okno;
    HlavniOkno = &okno;
    okno.Show(forms::vbModeless);
    okno.Klic();
    QCoreApplication::processEvents();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - a).count();
    okno.Unload();
    HlavniOkno = nullptr;
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = bench::PrepareEnvironment("belmora-startup-bench");
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    forms::ScriptedMessageBoxes zpravy;  // a box would stop a real start: counted below
    int status = 0;
    if (!bench::RegisterCalvira(programDir)) {
        std::fprintf(stderr, "libcalvira.so could not be registered from %s\n", programDir.c_str());
        status = 1;
    } else {
        const double first = OneStart();
        std::vector<double> t;
        for (int i = 0; i < kRuns; ++i) t.push_back(OneStart());
        std::sort(t.begin(), t.end());
        std::printf("start-up to a shown Form1 (read_only.xls open, Klic made), %d runs, Qt platform %s\n", kRuns,
                    qPrintable(QGuiApplication::platformName()));
        std::printf("  first run  %8.1f ms\n", first);
        std::printf("  median     %8.1f ms   (min %.1f, max %.1f; target < 300 ms)\n", t[t.size() / 2], t.front(),
                    t.back());
        bench::PrintResult({{"first_ms", first, "ms"}, {"start_ms", t[t.size() / 2], "ms"}});
        if (!zpravy.boxes().empty()) {
            std::fprintf(stderr, "%zu message boxes were shown, first: %s\n", zpravy.boxes().size(),
                         zpravy.boxes().front().prompt.c_str());
            status = 1;
        }
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
