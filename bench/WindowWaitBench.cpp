// How long the window's thread goes without handling its X events while a
// movie opens and its length is asked for, as the open button does: another
// X client sends the window the desktop's ping every 10 ms, and the program's
// thread notes when it handles each. The same steps once with the window's
// wait host (as the program is wired) and once without it (every wait then
// blocks the thread). Run it under the slow medium to model a drive.
//
// usage: window_wait_bench FILE [RUNS]   (needs an X display)

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"
#include "ui/qt/QtWaitHost.h"
#include "ui/qt/ThreadWakeUp.h"

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// When the window's thread handled each client message sent to it.
class HandledPings : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type == "xcb_generic_event_t" &&
            (static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f) ==
                XCB_CLIENT_MESSAGE) {
            m_times.push_back(Clock::now());
        }
        return false;
    }
    // The longest stretch between `from` and `to` in which none was handled.
    double longestGapMs(Clock::time_point from, Clock::time_point to) const {
        double longest = 0;
        Clock::time_point last = from;
        for (const Clock::time_point at : m_times) {
            if (at > from && at < to) {
                longest = std::max(longest, msBetween(last, at));
                last = at;
            }
        }
        return std::max(longest, msBetween(last, to));
    }

private:
    std::vector<Clock::time_point> m_times;
};

// Another client pinging the window as a desktop does, much more often.
class Pinger {
public:
    explicit Pinger(xcb_window_t window) : m_thread([this, window] { run(window); }) {}
    ~Pinger() {
        m_stop = true;
        m_thread.join();
    }

private:
    static xcb_atom_t atom(xcb_connection_t* x, const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    }
    void run(xcb_window_t window) {
        xcb_connection_t* x = xcb_connect(nullptr, nullptr);
        const xcb_atom_t protocols = atom(x, "WM_PROTOCOLS");
        const xcb_atom_t ping = atom(x, "_NET_WM_PING");
        for (std::uint32_t n = 1; !m_stop; ++n) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = protocols;
            event.data.data32[0] = ping;
            event.data.data32[1] = n;
            event.data.data32[2] = window;
            xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<char*>(&event));
            xcb_flush(x);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        xcb_disconnect(x);
    }
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

struct Figures {
    double lengthAtMs = -1;  // from the open until the length is answered
    double waitedMs = 0;     // inside the commands
    double longestGapMs = 0;
    double seekGapMs = 0;  // the longest gap during a seek to 90 % of the length
};

Figures measure(const std::string& path, trelvane::mci::WaitHost* host, HandledPings& pings,
                bool askLength = true) {
    if (auto forget = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "slowMediumForget"))) {
        forget();  // the drive's head is elsewhere
    }
    trelvane::ui::ThreadWakeUp wakeUp;
    trelvane::mci::MediaService service(std::make_unique<trelvane::mci::MpvPlayerFactory>(
        trelvane::mci::PlayerOutputs{"null", "null"}, wakeUp.waker(), host));
    Figures figures;
    char answer[128] = {};
    const auto send = [&](const std::string& command) {
        const auto before = Clock::now();
        const bool ok = service.sendCommand(command.c_str(), answer, sizeof answer, 0) == 0;
        figures.waitedMs += msBetween(before, Clock::now());
        return ok;
    };
    const auto start = Clock::now();
    if (send("open \"" + path + "\" type mpegvideo alias movie") &&
        send("set movie time format ms") && askLength && send("status movie length")) {
        figures.lengthAtMs = msBetween(start, Clock::now());
    }
    figures.longestGapMs = pings.longestGapMs(start, Clock::now());
    if (askLength && figures.lengthAtMs >= 0) {
        const long long to = std::atoll(answer) * 9 / 10;
        const auto seekStart = Clock::now();
        const double waited = figures.waitedMs;
        send("seek movie to " + std::to_string(to));
        figures.waitedMs = waited;
        figures.seekGapMs = pings.longestGapMs(seekStart, Clock::now());
    }
    send("close all");
    return figures;
}

Figures median(std::vector<Figures> runs) {
    const auto middle = [&runs](double Figures::*figure) {
        std::vector<double> values;
        for (const Figures& run : runs) {
            values.push_back(run.*figure);
        }
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {middle(&Figures::lengthAtMs), middle(&Figures::waitedMs),
            middle(&Figures::longestGapMs), middle(&Figures::seekGapMs)};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_wait_bench FILE [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    QWidget window;
    window.resize(320, 240);
    window.show();
    const auto shown = Clock::now() + std::chrono::seconds(10);
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed()) &&
           Clock::now() < shown) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    HandledPings pings;
    application.installNativeEventFilter(&pings);
    const Pinger pinger(static_cast<xcb_window_t>(window.winId()));
    trelvane::ui::QtWaitHost host;
    // The first open in a process loads the decoders and output drivers;
    // that cost is the program's start, not the open of this file.
    measure(path, nullptr, pings, false);
    std::vector<Figures> hosted;
    std::vector<Figures> blocked;
    for (int run = 0; run < runs; ++run) {  // in turn, so neither gains from going second
        hosted.push_back(measure(path, &host, pings));
        blocked.push_back(measure(path, nullptr, pings));
    }
    const Figures ours = median(hosted);
    const Figures without = median(blocked);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::printf(
        "window wait on %s: length at %.0f ms, kept waiting %.2f s, longest gap in X events "
        "%.0f ms; without the host: length at %.0f ms, longest gap %.0f ms; median of %d; "
        "a seek to 90 %%: longest gap %.0f ms (without the host %.0f ms)\n",
        name.c_str(), ours.lengthAtMs, ours.waitedMs / 1000, ours.longestGapMs, without.lengthAtMs,
        without.longestGapMs, runs, ours.seekGapMs, without.seekGapMs);
    return 0;
}
