// What a window benchmark waits for after a command: the screen caught up.
// A handler returns long before the user sees its result; the deferred
// updates of the workbook windows and every paint run afterwards in the
// event loop, and on X the server still has to draw what was sent to it.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Under valgrind --tool=callgrind --collect-atstart=no only the measured
// commands are counted; outside valgrind the marks cost nothing.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

#ifdef BELMORA_BENCH_XCB
#include <xcb/xcb.h>

#include <qguiapplication_platform.h>
#endif

namespace bench {

// Counts the events the application delivers, and the paint events among them.
class EventCounter : public QObject {
public:
    EventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~EventCounter() override {
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    }
    std::uint64_t events = 0;
    std::uint64_t paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        ++events;
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A request to the X server that is answered only once the server has
// handled every request sent before it (the pictures painted so far). False
// when the application does not draw on an X server.
inline bool XRoundTrip() {
#ifdef BELMORA_BENCH_XCB
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* c = x11->connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return true;
#else
    return false;
#endif
}

// Until the screen has caught up: posted events sent and events processed
// until a pass delivers none, then (on X) a round trip; whatever the server
// sent back meanwhile is processed the same way.
// A timer that fires on every pass would keep the loop busy for ever: the
// passes are bounded.
inline void Drain(const EventCounter& counter) {
    for (int rounds = 0; rounds < 100; ++rounds) {
        std::uint64_t before = 0;
        int passes = 0;
        do {
            before = counter.events;
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        } while (counter.events != before && ++passes < 1000);
        if (!XRoundTrip()) return;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (counter.events == before) return;
    }
}

// One measured command: the time until its handler returned, the time until
// the screen caught up, and the paint events on the way.
struct Waits {
    std::vector<double> handler;
    std::vector<double> drained;
    std::vector<double> paints;
};

// Runs `command` and drains; its times and paints join `w`.
template <class Command>
void TimeDrained(Waits& w, const EventCounter& counter, Command&& command) {
    using Clock = std::chrono::steady_clock;
    const std::uint64_t paints = counter.paints;
    CALLGRIND_TOGGLE_COLLECT;
    const auto a = Clock::now();
    command();
    const auto b = Clock::now();
    Drain(counter);
    const auto c = Clock::now();
    CALLGRIND_TOGGLE_COLLECT;
    w.handler.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    w.drained.push_back(std::chrono::duration<double, std::milli>(c - a).count());
    w.paints.push_back(static_cast<double>(counter.paints - paints));
}

inline double Median(std::vector<double> t) {
    if (t.empty()) return 0;
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Prints the figures of one command: the wait until the screen caught up with
// its spread and target, and beside it the handler alone and the paints.
inline void PrintWaits(const char* what, const Waits& w, double target) {
    std::vector<double> t = w.drained;
    std::sort(t.begin(), t.end());
    if (t.empty()) return;
    std::printf("  %-44s median %7.3f ms   (min %.3f, 90%% %.3f, max %.3f; %zu runs; target <= %.1f ms)\n", what,
                t[t.size() / 2], t.front(), t[t.size() * 9 / 10], t.back(), t.size(), target);
    std::printf("  %-44s handler only %.3f ms, paint events %.0f (median)\n", "", Median(w.handler),
                Median(w.paints));
}

// The platform the figures were taken on, and whether the X round trip is part of them.
inline void PrintPlatform() {
    std::printf("Qt platform %s%s\n", qPrintable(QGuiApplication::platformName()),
                XRoundTrip() ? ", each wait ends with an X round trip" : "");
}

}  // namespace bench
