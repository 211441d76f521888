#pragma once

namespace trelvane::mci::timeline {

// The stamps of a program stream count 90 kHz ticks in 33 bits: the clock
// turns over every 26 h 30 m 43.7 s, and a recording that runs across that
// moment carries on from zero.
inline constexpr double kClockTurnSeconds = 8589934592.0 / 90000.0;

// `seconds` as the clock running on from `origin` reads it: moved on by whole
// turns until it lies no more than half a turn before `origin`. Stamps that
// truly step back (a restart) stay as they are: only a clock close to its
// turn restarts by more than half a turn.
inline double unwrapped(double seconds, double origin) {
    while (seconds < origin - kClockTurnSeconds / 2) {
        seconds += kClockTurnSeconds;
    }
    return seconds;
}

// `seconds` moved by whole turns of the clock to lie nearest `reference`:
// how a stamp compares with one of the same stretch, whichever way the
// demuxer has counted the turns (it counts one on at a restart it takes for
// a wrap).
inline double nearestTurn(double seconds, double reference) {
    while (seconds - reference > kClockTurnSeconds / 2) {
        seconds -= kClockTurnSeconds;
    }
    while (reference - seconds > kClockTurnSeconds / 2) {
        seconds += kClockTurnSeconds;
    }
    return seconds;
}

}  // namespace trelvane::mci::timeline
