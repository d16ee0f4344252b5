// Recording a song: on a 500-row song, the median time of one treble press
// (lbl_Click with its note drawn on the entry staff), one head dropped on the
// staff pressing its button (OznacKnoflikNoty), and one grip of five treble
// buttons and two basses written with "> Tlak" (cmdTlak_Click), the next row
// read back. Works in a temporary drive C and settings folder with calvira
// registered there.
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
#include "store/module1.h"
#include "tests/support/doubles/scripted_msgbox.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRows = 500;
constexpr int kPresses = 2000;
constexpr int kDrops = 2000;
constexpr int kGrips = 490;

// Buttons and basses of the written grip (all natural in C Dur, no question).
constexpr int kTreble[5] = {9, 13, 16, 21, 25};
constexpr int kBasses[2] = {30, 50};

void Cell(const std::string& address, const std::string& value) {
    ExcelAplikace->Range(address).Value(vb::Variant(value));
}

// A song of three-note grips with two basses on every row, as a recorded song has them.
void WriteSong() {
    static const char* const chords[][3] = {
        {"c1,", "e1,", "g1,"}, {"d1,", "fis1,", "a1,"}, {"f1,", "a1,", "c2,"}, {"g1,", "h1,", "d2,"}};
    for (int r = 1; r <= kRows; ++r) {
        const std::string n = std::to_string(r);
        const auto& chord = chords[r % 4];
        Cell("B" + n, chord[0]);
        Cell("C" + n, chord[1]);
        Cell("D" + n, chord[2]);
        Cell("I" + n, r % 2 ? "Tlak" : "Tah");
        Cell("M" + n, "C zákl.");
        Cell("N" + n, "C dur");
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

double Median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Print(const char* what, std::vector<double> t, double target) {
    std::sort(t.begin(), t.end());
    std::printf("  %-44s median %7.3f ms   (min %.3f, 90%% %.3f, max %.3f; %zu runs; target < %.1f ms)\n", what,
                t[t.size() / 2], t.front(), t[t.size() * 9 / 10], t.back(), t.size(), target);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = bench::PrepareEnvironment("belmora-recording-bench");
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");
    fs::create_directories(root / "C" / "Dokumenty" / "Dovozivuz" / "Belmora");

    qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    forms::ScriptedMessageBoxes zpravy;  // any box means the run did not record what it should
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
        std::vector<double> pusteni;
        const float vysky[] = {9560, 9440, 9380, 9260, 9140, 8960};
        for (int i = 0; i < kDrops; ++i) {
            okno.picNota(0).Move(2250, vysky[i % 6]);
            const auto a = Clock::now();
            okno.OznacKnoflikNoty(0);
            pusteni.push_back(Ms(a));
            okno.UvolniKnoflikNoty(0);
            QCoreApplication::processEvents();
        }
        okno.cmdUvolNoty_Click();

        // Grips written row after row over the song; the next row always
        // holds a grip, so each write also reads it back.
        std::vector<double> hmaty;
        ExcelAplikace->Range("B1").Select();
        for (int i = 0; i < kGrips; ++i) {
            for (int n : kTreble) okno.lbl(n).Click();
            for (int b : kBasses) okno.ImgBas(b).Click();
            okno.cmdUvolNoty_Click();  // the heads only: a grip written afresh from the buttons
            const auto a = Clock::now();
            okno.cmdTlak_Click();
            hmaty.push_back(Ms(a));
            QCoreApplication::processEvents();
        }

        std::printf("recording on a %d-row song; Qt platform: %s\n", kRows,
                    QGuiApplication::platformName().toUtf8().constData());
        Print("one treble press (lbl_Click)", stisky, 0.5);
        Print("one head dropped (OznacKnoflikNoty)", pusteni, 0.5);
        Print("one grip with \"> Tlak\" (5 treble, 2 basses)", hmaty, 2);
        if (!zpravy.boxes().empty()) {
            std::fprintf(stderr, "%zu message boxes were shown, first: [%s] %s\n", zpravy.boxes().size(),
                         zpravy.boxes().front().title.c_str(), zpravy.boxes().front().prompt.c_str());
            status = 1;
        }
        std::printf("RESULT press=%.3f ms drop=%.3f ms grip=%.3f ms\n", Median(stisky), Median(pusteni),
                    Median(hmaty));
        okno.Unload();
        HlavniOkno = nullptr;
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
