#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

struct mpv_handle;
struct mpv_event;
struct mpv_stream_cb_info;

namespace trelvane::mci {

// The core parses numbers with the C library and refuses to start under a
// locale whose decimal point may not be '.': this sets LC_NUMERIC to "C" for
// the whole process. Called once at the start of a program that makes
// players, after anything that takes the user's locale (QApplication does)
// and before any thread runs, as setlocale races with every thread that
// reads or writes a number meanwhile, such as another movie's index.
void useCoreNumberFormat();

// Sole owner of one player core. Every call reports whether the core accepted
// it; nothing here swallows a return code.
class MpvHandle {
public:
    MpvHandle();
    ~MpvHandle();
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    bool valid() const { return m_handle != nullptr; }

    bool setOption(const char* name, const std::string& value);
    bool setOption(const char* name, long long value);
    bool initialize();

    // Has the core call `wakeUp` on its own threads whenever an event is
    // queued for us and none was pending since the queue was last emptied.
    // `wakeUp` must only signal the owner's thread: no call of the core may
    // be made from it. Set once, before the events it is meant for.
    void setWakeUp(std::function<void()> wakeUp);
    // Queues an event each time the property's value changes, as a number
    // with its fraction or truncated to a whole number.
    enum class Observed { Fraction, WholeNumber };
    bool observe(const char* name, Observed as);

    // Has the core read addresses of `protocol` through `open` (libmpv's
    // stream callbacks), which it calls with `userData` on its own threads.
    using StreamOpen = int (*)(void* userData, char* url, mpv_stream_cb_info* info);
    bool addStream(const char* protocol, void* userData, StreamOpen open);

    bool command(std::initializer_list<const char*> args);
    bool setFlag(const char* name, bool value);
    bool setProperty(const char* name, const std::string& value);
    std::optional<double> getDouble(const char* name);
    std::optional<bool> getFlag(const char* name);
    std::optional<std::string> getString(const char* name);

    // Hands every event to `handle` until it returns true (then true) or the
    // deadline passes (then false).
    bool waitFor(const std::function<bool(const mpv_event&)>& handle,
                 std::chrono::milliseconds timeout);
    // Hands the events queued so far to `handle`, without waiting, until it
    // returns true (then true; later events stay queued).
    bool handleQueued(const std::function<bool(const mpv_event&)>& handle);
    // Drops the events queued so far without waiting.
    void drainEvents();

private:
    static void wakeUpFromCore(void* self);

    mpv_handle* m_handle = nullptr;
    std::function<void()> m_wakeUp;
};

}  // namespace trelvane::mci
