// Converting a song: a 900-row song with five treble notes a row, open in the
// main window, converted from C Dur into another scale through the dialog,
// from "Provést" to the box "Hotovo" and the workbook windows brought up to
// date. The boxes are answered by a script; the median of several runs, each
// into another target scale, is the figure.
// Works in a temporary drive C and settings folder with calvira registered.
#include <QApplication>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_env.h"
#include "conversion/frmkonverze.h"
#include "mainwindow/form1.h"
#include "platform/excel/application.h"
#include "platform/forms/msgbox.h"
#include "store/module1.h"
#include "tests/support/doubles/scripted_msgbox.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRows = 900;
// Target scales of the runs (option indexes of the dialog): G, D, A, E, H, F, B, Es, As.
const int kTargets[] = {1, 2, 3, 4, 5, 8, 9, 10, 11};

void Cell(const std::string& address, const char* value) { ExcelAplikace->Range(address).Value(vb::Variant(value)); }

// Five-note grips of C Dur spread over the treble range, two basses, a
// fingering, alternating bellows and the scale on every row.
void WriteSong() {
    static const char* const chords[][5] = {
        {"c1,", "e1,", "g1,", "c2,", "e2,"}, {"d1,", "f1,", "a1,", "d2,", "f2,"}, {"e1,", "g1,", "h1,", "e2,", "g2,"},
        {"f1,", "a1,", "c2,", "f2,", "a2,"}, {"g1,", "h1,", "d2,", "g2,", "h2,"}, {"a1,", "c2,", "e2,", "a2,", "c3,"},
        {"g,", "h,", "d1,", "g1,", "h1,"},   {"a,", "c1,", "e1,", "a1,", "c2,"},
    };
    for (int r = 1; r <= kRows; ++r) {
        const std::string n = std::to_string(r);
        const auto& chord = chords[r % 8];
        Cell("A" + n, "la");
        for (int k = 0; k < 5; ++k) Cell(std::string(1, static_cast<char>('B' + k)) + n, chord[k]);
        Cell("I" + n, r % 2 ? "Tlak" : "Tah");
        Cell("M" + n, "C zákl.");
        Cell("N" + n, "C dur");
        Cell("V" + n, "l13;1\\");
        Cell("W" + n, "C Dur");
    }
}

// The offscreen platform says on every window activation that it cannot raise
// windows; that would bury the figures.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.startsWith("This plugin does not support")) return;
    qt_message_output(type, context, msg);
}

double Ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = bench::PrepareEnvironment("belmora-conversion-bench");
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");
    fs::create_directories(root / "C" / "Dokumenty" / "Dovozivuz" / "Belmora");

    qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::printf("Qt platform: %s\n", qPrintable(QGuiApplication::platformName()));
    forms::ScriptedMessageBoxes zpravy;
    int status = 0;
    std::vector<double> casy;
    if (!bench::RegisterCalvira(programDir)) {
        std::fprintf(stderr, "libcalvira.so could not be registered from %s\n", programDir.c_str());
        status = 1;
    } else {
        Form1 okno;
        HlavniOkno = &okno;
        okno.Show(forms::vbModeless);
        for (const int cil : kTargets) {
            // The song as it is recorded: open in the main window.
            xl::Workbook book = ExcelAplikace->Workbooks().Add();
            book.SaveAs({.Filename = std::string(PracovniAdresar) + "\\Bench.xls"});
            AktualniPisen = ExcelAplikace->ActiveWorkbook().Name();
            WriteSong();
            ExcelAplikace->ActiveWorkbook().Save();

            okno.mnuKonverze_Click();
            class frmKonverze& dialog = *frmKonverze;
            dialog.optStupnice(cil).Value = true;
            zpravy.Clear();
            const auto a = Clock::now();
            dialog.cmdGo_Click();
            // The workbook windows catch up with the cursor once the command is done.
            QCoreApplication::processEvents();
            casy.push_back(Ms(a));

            const auto& boxes = zpravy.boxes();
            if (boxes.empty() || boxes.back().title != "Hotovo") {
                std::fprintf(stderr, "the conversion into %s did not finish\n",
                             dialog.optStupnice(cil).Caption.get().c_str());
                status = 1;
            }
            // The result is the main window's song now; end it for the next run.
            okno.cmdEndEdit_Click();
            frmKonverze.Reset();
        }
        okno.Unload();
        HlavniOkno = nullptr;
    }

    double median = 0;
    if (!casy.empty()) {
        std::sort(casy.begin(), casy.end());
        median = casy[casy.size() / 2];
        std::printf("converting a %d-row song (5 treble notes a row) from \"Provést\" to \"Hotovo\"\n", kRows);
        std::printf("  whole song      median %8.2f ms   (min %.2f, max %.2f; %zu runs; target < 100 ms)\n", median,
                    casy.front(), casy.back(), casy.size());
        std::printf("  per note        median %8.2f us\n", median * 1000.0 / (kRows * 5));
    }
    bench::PrintResult({{"conversion_ms", median, "ms"}});
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
