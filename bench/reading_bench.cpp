// Reading a song: on a 500-row song, the median time of one "?" step
// (cmdJakDal_Click: next row, the row read on the side it names, the strip
// marked or rebuilt) and of one rebuild of the 16-step strip. Works in a
// temporary drive C and settings folder with calvira registered there.
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
#include "mainwindow/form1.h"
#include "platform/excel/application.h"
#include "platform/forms/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "store/module1.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRows = 500;
constexpr int kSteps = 1000;
constexpr int kRebuilds = 200;

void Cell(const std::string& address, const std::string& value) {
    ExcelAplikace->Range(address).Value(vb::Variant(value));
}

// A song of three-note grips with a sharp or flat now and then, two basses,
// alternating bellows, a syllable and a scale on every row.
void WriteSong() {
    static const char* const chords[][3] = {
        {"c1,", "e1,", "g1,"}, {"d1,", "fis1,", "a1,"}, {"e1,", "gis1,", "h1,"}, {"f1,", "a1,", "c2,"},
        {"g1,", "h1,", "d2,"}, {"a1,", "cis2,", "e2,"}, {"b,", "d1,", "f1,"},    {"es1,", "g1,", "b1,"},
    };
    static const char* const basses[][2] = {
        {"C zákl.", "C dur"}, {"D zákl.", "D dur"}, {"E zákl.", "E dur"}, {"F zákl.", "F dur"},
        {"G zákl.", "G dur"}, {"A zákl.", "A dur"}, {"B zákl.", "B dur"}, {"Es zákl.", "Es dur"},
    };
    for (int r = 1; r <= kRows; ++r) {
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

// The offscreen platform says on every window activation that it cannot raise
// windows; that would bury the figures.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.startsWith("This plugin does not support")) return;
    qt_message_output(type, context, msg);
}

double Ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

// Prints the spread of the times and gives their median.
double Print(const char* what, std::vector<double> t, double target) {
    std::sort(t.begin(), t.end());
    std::printf("  %-34s median %7.3f ms   (min %.3f, 90%% %.3f, max %.3f; %zu runs; target < %.1f ms)\n", what,
                t[t.size() / 2], t.front(), t[t.size() * 9 / 10], t.back(), t.size(), target);
    return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = bench::PrepareEnvironment("belmora-reading-bench");
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");
    fs::create_directories(root / "C" / "Dokumenty" / "Dovozivuz" / "Belmora");

    qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    forms::ScriptedMessageBoxes zpravy;  // any box means the run did not read what it should
    int status = 0;
    if (!bench::RegisterCalvira(programDir)) {
        std::fprintf(stderr, "libcalvira.so could not be registered from %s\n", programDir.c_str());
        status = 1;
    } else {
        Form1 okno;
        HlavniOkno = &okno;
        okno.Show(forms::vbModeless);
        xl::Workbook book = ExcelAplikace->Workbooks().Add();
        book.SaveAs({.Filename = std::string(PracovniAdresar) + "\\Bench.xls"});
        AktualniPisen = ExcelAplikace->ActiveWorkbook().Name();
        WriteSong();
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
