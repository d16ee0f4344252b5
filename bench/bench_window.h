// What the benchmarks of the main window share: a shown window with a new,
// empty song in a fresh environment, every message box recorded (a box
// means the run did not do what it measures), the offscreen platform kept
// quiet, and the timing and printing of the figures.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTabBar>
#include <QTableView>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_env.h"
#include "mainwindow/form1.h"
#include "platform/excel/application.h"
#include "platform/excel/internal/engine.h"
#include "platform/excel/internal/workbook_window.h"
#include "store/module1.h"
#include "tests/support/doubles/scripted_msgbox.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

// Prints one line of figures: the spread of the times and the target; gives
// their median.
inline double Print(const char* what, std::vector<double> t, double target) {
    std::sort(t.begin(), t.end());
    std::printf("  %-44s median %7.3f ms   (min %.3f, 90%% %.3f, max %.3f; %zu runs; target < %.1f ms)\n", what,
                t[t.size() / 2], t.front(), t[t.size() * 9 / 10], t.back(), t.size(), target);
    return t[t.size() / 2];
}

// The offscreen platform says on every window activation that it cannot raise
// windows; that would bury the figures.
inline void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.startsWith("This plugin does not support")) return;
    qt_message_output(type, context, msg);
}

inline void Cell(const std::string& address, const std::string& value) {
    ExcelAplikace->Range(address).Value(vb::Variant(value));
}

// A song of `rows` three-note grips with a sharp or flat now and then, two basses,
// alternating bellows, a syllable and a scale on every row.
inline void WriteSong(int rows) {
    static const char* const chords[][3] = {
        {"c1,", "e1,", "g1,"}, {"d1,", "fis1,", "a1,"}, {"e1,", "gis1,", "h1,"}, {"f1,", "a1,", "c2,"},
        {"g1,", "h1,", "d2,"}, {"a1,", "cis2,", "e2,"}, {"b,", "d1,", "f1,"},    {"es1,", "g1,", "b1,"},
    };
    static const char* const basses[][2] = {
        {"C zákl.", "C dur"}, {"D zákl.", "D dur"}, {"E zákl.", "E dur"}, {"F zákl.", "F dur"},
        {"G zákl.", "G dur"}, {"A zákl.", "A dur"}, {"B zákl.", "B dur"}, {"Es zákl.", "Es dur"},
    };
    for (int r = 1; r <= rows; ++r) {
        const std::string n = std::to_string(r);
        const int k = r % 8;
        Cell("A" + n, "sla" + n);
        Cell("B" + n, chords[k][0]);
        Cell("C" + n, chords[k][1]);
        Cell("D" + n, chords[k][2]);
        Cell("I" + n, r % 2 ? "Tlak" : "Tah");
        Cell("M" + n, basses[k][0]);
        Cell("N" + n, basses[k][1]);
        Cell("W" + n, "C Dur");
    }
}

// Whether the window of the active workbook shows the engine's active sheet
// and cursor (it follows them once the event loop had its turn).
inline bool WindowFollowsEngine() {
    const xl::engine::AppData& engine = ExcelAplikace->Engine();
    auto* host = dynamic_cast<xl::window::QtWindowHost*>(engine.windows.get());
    const xl::engine::BookData* book = engine.Active();
    if (!host || !book) return false;
    const xl::window::WorkbookWindow* w = host->WindowOf(*book);
    if (!w) return false;
    const xl::engine::SheetData& sheet = *book->sheets[static_cast<std::size_t>(book->activeSheet)];
    const QModelIndex current = w->Grid()->selectionModel()->currentIndex();
    return w->Tabs()->currentIndex() == book->activeSheet && current.row() + 1 == sheet.s.activeCell.row &&
           current.column() + 1 == sheet.s.activeCell.col;
}

// Runs `measure` on the shown main window with the new song "Bench.xls" open
// (a temporary drive C with the song folder, settings folder and registry,
// calvira registered there). Returns the exit status: 1 when the set-up
// fails or a message box was shown.
template <class Measure>
int WithSongWindow(int argc, char** argv, const std::string& name, Measure measure) {
    namespace fs = std::filesystem;
    const fs::path root = PrepareEnvironment(name);
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");
    fs::create_directories(root / "C" / "Dokumenty" / "Dovozivuz" / "Belmora");

    qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    forms::ScriptedMessageBoxes zpravy;
    int status = 0;
    if (!RegisterCalvira(programDir)) {
        std::fprintf(stderr, "libcalvira.so could not be registered from %s\n", programDir.c_str());
        status = 1;
    } else {
        Form1 okno;
        HlavniOkno = &okno;
        okno.Show(forms::vbModeless);
        xl::Workbook book = ExcelAplikace->Workbooks().Add();
        book.SaveAs({.Filename = std::string(PracovniAdresar) + "\\Bench.xls"});
        AktualniPisen = ExcelAplikace->ActiveWorkbook().Name();
        measure(okno);
        if (!zpravy.boxes().empty()) {
            std::fprintf(stderr, "%zu message boxes were shown, first: [%s] %s\n", zpravy.boxes().size(),
                         zpravy.boxes().front().title.c_str(), zpravy.boxes().front().prompt.c_str());
            status = 1;
        }
        okno.Unload();
        HlavniOkno = nullptr;
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}

}  // namespace bench
