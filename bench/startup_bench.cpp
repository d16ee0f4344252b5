// Start-up of the program up to a shown main window, measured twice.
//
// In one process: the window built, its load handler with the spreadsheet
// started and read_only.xls opened, and the tone-name object made; the
// median of repeated runs (the first run, which also loads the libraries,
// separately).
//
// As processes (on an X display only): from exec of the program to its main
// window mapped (the MapNotify the X server sends), against a bare Qt main
// window of the same size (bench/bare_window) started the same way in the
// same run, so that loading the libraries, QApplication and the X connection
// count too; the ratio of the medians is the figure. Run it on a display
// without a window manager (bench/run_xcb.sh starts one).
//
// Works in a temporary drive C and settings folder with calvira registered there.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef BELMORA_BENCH_XCB
#include <xcb/xcb.h>
#endif

#include "bench/bench_env.h"
#include "bench/bench_window.h"
#include "mainwindow/form1.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "store/module1.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 21;
constexpr int kProcessRuns = 15;

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

double Median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

#ifdef BELMORA_BENCH_XCB

// A window of a started process as the X server saw it mapped.
struct Mapped {
    double ms = 0;  // from exec to the MapNotify
    int width = 0;
    int height = 0;
};

// Watches the X server for top-level windows being mapped, on a connection of its own.
class MapWatch {
public:
    MapWatch() {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t* err =
            xcb_request_check(c_, xcb_change_window_attributes_checked(c_, root_, XCB_CW_EVENT_MASK, &mask));
        ok_ = err == nullptr;
        std::free(err);
    }
    ~MapWatch() { xcb_disconnect(c_); }
    bool ok() const { return ok_; }

    // Starts `args` and waits until a window titled `title` is mapped (with a
    // window manager, inside the frame mapped for it); the process is then
    // ended. Nothing when it did not map one within 30 seconds.
    std::optional<Mapped> TimeStart(const std::vector<std::string>& args, const std::string& title) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) std::free(e);  // earlier windows
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const auto a = Clock::now();
        const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (spawned != 0) return std::nullopt;

        std::optional<Mapped> found;
        const auto deadline = a + std::chrono::seconds(30);
        while (!found && Clock::now() < deadline) {
            xcb_generic_event_t* e = xcb_poll_for_event(c_);
            if (!e) {
                if (xcb_connection_has_error(c_)) break;
                pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                const double ms = std::chrono::duration<double, std::milli>(Clock::now() - a).count();
                if (!m->override_redirect) {
                    if (const auto w = Titled(m->window, title)) {
                        found = Mapped{ms, 0, 0};
                        Size(*w, found->width, found->height);
                    }
                }
            }
            std::free(e);
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return found;
    }

private:
    std::string Title(xcb_window_t w) {
        xcb_get_property_reply_t* r = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
        std::string t;
        if (r) t.assign(static_cast<const char*>(xcb_get_property_value(r)),
                        static_cast<std::size_t>(xcb_get_property_value_length(r)));
        std::free(r);
        return t;
    }
    // `w` or, when a window manager framed it, its child with the title.
    std::optional<xcb_window_t> Titled(xcb_window_t w, const std::string& title) {
        if (Title(w).starts_with(title)) return w;
        xcb_query_tree_reply_t* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
        std::optional<xcb_window_t> hit;
        if (r) {
            const xcb_window_t* kids = xcb_query_tree_children(r);
            for (int i = 0; i < xcb_query_tree_children_length(r) && !hit; ++i)
                if (Title(kids[i]).starts_with(title)) hit = kids[i];
        }
        std::free(r);
        return hit;
    }
    void Size(xcb_window_t w, int& width, int& height) {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr);
        if (g) {
            width = g->width;
            height = g->height;
        }
        std::free(g);
    }

    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    bool ok_ = false;
};

// Exec to mapped of the program and of the bare window, alternately; prints
// both and their ratio and adds them to the figures. False when a start failed.
bool TimeProcesses(const std::string& programDir, std::vector<bench::Figure>& figures) {
    MapWatch watch;
    if (!watch.ok()) {
        std::printf("  as processes: skipped, no X display to watch\n");
        return true;
    }
    const std::string program = programDir + "/belmora";
    const std::string bare = (fs::read_symlink("/proc/self/exe").parent_path() / "bare_window").string();
    // A box would stop a start: it is written to standard error and answered.
    setenv("BELMORA_BOXES", "stderr", 1);

    // The first start of each loads the files from disk; the bare window takes the program's size.
    const std::optional<Mapped> first = watch.TimeStart({program}, "Belmora");
    if (!first) {
        std::fprintf(stderr, "%s mapped no main window\n", program.c_str());
        return false;
    }
    const std::vector<std::string> bareArgs = {bare, std::to_string(first->width), std::to_string(first->height),
                                               "bare_window"};
    if (!watch.TimeStart(bareArgs, "bare_window")) {
        std::fprintf(stderr, "%s mapped no window\n", bare.c_str());
        return false;
    }
    std::vector<double> real, plain;
    for (int i = 0; i < kProcessRuns; ++i) {
        const std::optional<Mapped> r = watch.TimeStart({program}, "Belmora");
        const std::optional<Mapped> b = watch.TimeStart(bareArgs, "bare_window");
        if (!r || !b) {
            std::fprintf(stderr, "a start mapped no window\n");
            return false;
        }
        real.push_back(r->ms);
        plain.push_back(b->ms);
    }
    const double m = Median(real), bm = Median(plain);
    std::printf("  as processes, exec to the main window mapped (%dx%d), %d runs each:\n", first->width,
                first->height, kProcessRuns);
    std::printf("    belmora      median %8.1f ms   (min %.1f, max %.1f)\n", m,
                *std::min_element(real.begin(), real.end()), *std::max_element(real.begin(), real.end()));
    std::printf("    bare window  median %8.1f ms   (min %.1f, max %.1f)\n", bm,
                *std::min_element(plain.begin(), plain.end()), *std::max_element(plain.begin(), plain.end()));
    std::printf("    ratio %.2fx   (target <= 1.3x)\n", m / bm);
    figures.push_back({"process_ms", m, "ms"});
    figures.push_back({"bare_ms", bm, "ms"});
    figures.push_back({"process_ratio", m / bm, "x"});
    return true;
}

#else

bool TimeProcesses(const std::string&, std::vector<bench::Figure>&) {
    std::printf("  as processes: skipped, built without xcb\n");
    return true;
}

#endif

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = bench::PrepareEnvironment("belmora-startup-bench");
    if (root.empty()) return 1;
    const std::string programDir = std::getenv("BELMORA_PROGRAM_DIR");
    fs::create_directories(root / "C" / "Dokumenty" / "Dovozivuz" / "Belmora");

    qInstallMessageHandler(bench::QuietOffscreen);
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
        std::printf("start-up to a shown Form1 (read_only.xls open, Klic made), Qt platform %s\n",
                    qPrintable(QGuiApplication::platformName()));
        std::printf("  in one process, %d runs:\n", kRuns);
        std::printf("    first run  %8.1f ms\n", first);
        std::printf("    median     %8.1f ms   (min %.1f, max %.1f; target < 300 ms)\n", t[t.size() / 2], t.front(),
                    t.back());
        if (!zpravy.boxes().empty()) {
            std::fprintf(stderr, "%zu message boxes were shown, first: %s\n", zpravy.boxes().size(),
                         zpravy.boxes().front().prompt.c_str());
            status = 1;
        }
        std::vector<bench::Figure> figures = {{"first_ms", first, "ms"}, {"start_ms", t[t.size() / 2], "ms"}};
        if (QGuiApplication::platformName() != "xcb")
            std::printf("  as processes: skipped, needs the xcb platform\n");
        else if (!TimeProcesses(programDir, figures))
            status = 1;
        bench::PrintResult(figures);
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
