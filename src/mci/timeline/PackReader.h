#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelvane::mci::timeline {

// What one pack holds that a timeline needs.
struct Pack {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;  // up to the next pack, or the end of what was readable
    double scrSeconds = 0;
    std::optional<double> firstPts;         // earliest sound or picture stamp in the pack
    std::optional<double> lastPts;          // latest one
    std::optional<double> pictureGroupPts;  // stamp of a picture group opening here
    std::vector<std::pair<std::uint8_t, double>> stamps;  // stream id and stamp, in order
    bool complete = false;  // read up to the next pack or the end of the file
};

// Reads packs of a program stream with positioned reads, a few kilobytes at a
// time, so that even a huge file is never held in memory.
class PackReader {
public:
    PackReader() = default;
    ~PackReader();
    PackReader(const PackReader&) = delete;
    PackReader& operator=(const PackReader&) = delete;

    // Stamps are read as the clock running on from the first pack's, across
    // a turn of the clock (see ClockWrap.h).
    bool open(const std::string& path);
    std::uint64_t size() const { return m_size; }

    // From now on every look finds nothing, at once. Safe from any thread:
    // it lets an owner call off a reading that another thread is doing.
    void stop() { m_stopped.store(true, std::memory_order_relaxed); }

    // The first pack that starts at `offset` or within `searchBytes` after it.
    std::optional<Pack> packAt(std::uint64_t offset, std::uint64_t searchBytes = 16384) const;

    // Consecutive packs from the first at or after `offset`, each starting
    // before `until`, at most `most` of them, read in one go. It may stop
    // short of both where a pack runs past what it read.
    std::vector<Pack> packsFrom(std::uint64_t offset, std::uint64_t until, std::size_t most) const;

private:
    std::optional<Pack> attempt(std::uint64_t offset, std::uint64_t readBytes,
                                std::uint64_t searchBytes) const;
    std::optional<Pack> parseAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes,
                                std::size_t at, bool toEnd) const;

    bool stopped() const { return m_stopped.load(std::memory_order_relaxed); }

    int m_fd = -1;
    std::uint64_t m_size = 0;
    double m_clockOrigin = 0;
    std::atomic<bool> m_stopped = false;
};

}  // namespace trelvane::mci::timeline
