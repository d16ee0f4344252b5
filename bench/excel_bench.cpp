// Speed of the spreadsheet engine on a song of 900 rows in 5 sheets: open,
// save, and Find over B1:B500 (the song) and F1:F121 (the bass names of the
// lookup table). Prints medians. Works in a temporary drive C.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/excel/engine/engine.h"
#include "platform/vb/conversions.h"

using namespace xl;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kNotes[] = {"c,", "cis,", "d,", "dis,", "e,", "f,", "fis,", "g,", "gis,", "a,", "ais,", "h,"};

// Note names of four octaves: "c,", "cis1,", ... (the octave digit before the comma).
std::string Note(int i) {
    std::string name = kNotes[i % 12];
    if (const int octave = i / 12 % 4; octave > 0) name.insert(name.size() - 1, std::to_string(octave));
    return name;
}

template <class F>
double MedianMicros(int runs, F&& f) {
    std::vector<double> t;
    t.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        f(i);
        t.push_back(std::chrono::duration<double, std::micro>(Clock::now() - a).count());
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[static_cast<std::size_t>(runs / 2)];
}

void FillSong(Application& app) {
    for (int s = 1; s <= 5; ++s) {
        app.Sheets(s).Select();
        for (int r = 1; r <= 900; ++r) {
            const std::string row = std::to_string(r);
            app.Range("A" + row).Value("la" + row);
            for (int k = 0; k < 4; ++k) app.Range(engine::ColumnName(2 + k) + row).Value(Note(r * 3 + k * 4 + s));
            app.Range("I" + row).Value(r % 2 ? "Tlak" : "Tah");
            for (int k = 0; k < 3; ++k) app.Range(engine::ColumnName(13 + k) + row).Value("Bas" + std::to_string((r + k) % 120 + 1));
            app.Range("V" + row).Value("l" + std::to_string(r % 49 + 1) + ";2\\");
            app.Range("W" + row).Value("C Dur");
        }
    }
    app.Sheets(1).Select();
}

}  // namespace

int main() {
    char pattern[] = "/tmp/belmora-excel-bench-XXXXXX";
    const fs::path root = mkdtemp(pattern);
    fs::create_directories(root / "c" / "Belmora");
    setenv("BELMORA_DRIVE_C", (root / "c").c_str(), 1);
    setenv("BELMORA_SETTINGS_DIR", (root / "settings").c_str(), 1);
    {
        auto app = CreateExcelApplication();

        // The lookup table: bass names in F2:F121.
        app->Workbooks().Add();
        app->Range("F1").Value("Tlak");
        for (int b = 1; b <= 120; ++b) app->Range("F" + std::to_string(b + 1)).Value("Bas" + std::to_string(b));
        const std::string lookup = app->ActiveWorkbook().Name();

        // The song: 5 sheets of 900 rows.
        Workbook song = app->Workbooks().Add();
        engine::InsertSheet(*engine::FindBook(app->Engine(), song.Name()), 3);
        engine::InsertSheet(*engine::FindBook(app->Engine(), song.Name()), 4);
        FillSong(*app);
        app->Range("B12").Select();
        const std::string path = "C:\\Belmora\\Bench.xls";
        song.SaveAs({.Filename = path});

        const double save = MedianMicros(31, [&](int) { app->ActiveWorkbook().Save(); });
        const double open = MedianMicros(31, [&](int) {
            app->ActiveWorkbook().Close(false);
            app->Workbooks().Open(path);
        });
        std::printf("song: 900 rows x 5 sheets, %ju bytes\n", static_cast<std::uintmax_t>(fs::file_size(root / "c" / "Belmora" / "Bench.xls")));
        std::printf("open  median %8.2f ms  (target < 20 ms)\n", open / 1000);
        std::printf("save  median %8.2f ms  (target < 20 ms)\n", save / 1000);

        // Finds as the readers make them: select the range, search after the active cell.
        std::mt19937 rng(7);
        app->Range("B1:B500").Select();
        std::vector<std::string> keys;
        for (int i = 0; i < 1000; ++i) keys.push_back(vb::CStr(app->Range("B" + std::to_string(rng() % 500 + 1)).Value()));
        FindArgs args{.What = {}, .After = {}, .LookIn = xlFormulas, .LookAt = xlPart, .SearchOrder = xlByRows,
                      .SearchDirection = xlNext, .MatchCase = false};
        Range sel = app->Selection();
        args.After = app->ActiveCell();
        const double findB = MedianMicros(1000, [&](int i) {
            args.What = keys[static_cast<std::size_t>(i)];
            if (sel.Find(args).IsNothing()) std::abort();
        });
        args.What = "his4,";  // a key that is not there: the whole range is compared
        const double findAbsent = MedianMicros(1000, [&](int) { sel.Find(args); });
        args.What = "";  // the last-grip search: no empty cell in B1:B500 of a long song
        const double findEmpty = MedianMicros(1000, [&](int) { sel.Find(args); });

        // The last-grip search right after a grip was written into the row.
        const double findAfterWrite = MedianMicros(200, [&](int i) {
            app->Range("B" + std::to_string(i + 1)).Value(keys[static_cast<std::size_t>(i)]);
            sel.Find(args);
        });
        std::printf("write B<n> + Find \"\"       median %6.2f us\n", findAfterWrite);

        app->Windows(lookup).Activate();
        app->Range("F1:F121").Select();
        sel = app->Selection();
        args.After = app->ActiveCell();
        const double findF = MedianMicros(1000, [&](int i) {
            args.What = "Bas" + std::to_string(static_cast<unsigned>(i) * 7919u % 120 + 1);
            if (sel.Find(args).IsNothing()) std::abort();
        });
        std::printf("Find over B1:B500 (note)    median %6.2f us  (target < 20 us)\n", findB);
        std::printf("Find over B1:B500 (absent)  median %6.2f us  (target < 20 us)\n", findAbsent);
        std::printf("Find over B1:B500 (\"\")      median %6.2f us  (target < 20 us)\n", findEmpty);
        std::printf("Find over F1:F121 (bass)    median %6.2f us  (target < 20 us)\n", findF);
        app->Windows("Bench.xls").Activate();
        app->ActiveWorkbook().Close(false);
        app->Windows(lookup).Activate();
        app->ActiveWorkbook().Close(false);
        app->Quit();
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}
