#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace trelvane::mci::timeline {

// The one open handle of a movie file, read at explicit offsets by every
// reader of the movie at once (the player and the time index), from any
// thread.
//
// A scratched disc fails its reads, and a drive takes about a second to give
// up on each. A read that fails marks a stretch from there as unreadable (a
// gap) and finds where reading can go on with one more read past it, so a
// scratch costs the first failed read and rarely a second; every later read
// of a known gap, by either reader, comes back at once with nothing.
class MovieReader {
public:
    MovieReader() = default;
    ~MovieReader();
    MovieReader(const MovieReader&) = delete;
    MovieReader& operator=(const MovieReader&) = delete;

    // Opens a regular file; false for anything else or what cannot be opened.
    bool open(const std::string& path);
    std::uint64_t size() const { return m_size; }

    // Reads up to `count` bytes at `offset`: fewer where the file ends or a
    // gap begins, none at the end or inside a gap.
    std::size_t readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) const;
    // The end of the gap `offset` lies in, or 0 when it lies in none.
    std::uint64_t gapEnd(std::uint64_t offset) const;

    // Reads that failed so far.
    std::uint64_t failedReads() const { return m_failedReads.load(std::memory_order_relaxed); }

private:
    // One read at `offset`: bytes got, 0 at the end, -1 when it failed.
    long long readOnce(std::uint64_t offset, std::uint8_t* into, std::size_t count) const;
    // After a failed read at `offset`: marks the gap from there up to the
    // next place that reads.
    void markGapFrom(std::uint64_t offset) const;

    int m_fd = -1;
    std::uint64_t m_size = 0;
    mutable std::mutex m_lock;
    mutable std::map<std::uint64_t, std::uint64_t> m_gaps;  // start to end, never overlapping
    mutable std::atomic<std::uint64_t> m_failedReads = 0;
};

}  // namespace trelvane::mci::timeline
