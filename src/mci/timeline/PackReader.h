#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mci/timeline/MovieReader.h"
#include "mci/timeline/Pack.h"
#include "mci/timeline/PackSource.h"

namespace trelvane::mci::timeline {

// Reads packs of a program stream with positioned reads, a few kilobytes at a
// time, so that even a huge file is never held in memory.
class PackReader : public PackSource {
public:
    // A long search is read this much at a time.
    static constexpr std::uint64_t kSearchPiece = 64 * 1024;

    // What the file has been asked for so far: reads, bytes, the longest read.
    struct Tally {
        long reads = 0;
        std::uint64_t bytes = 0;
        std::uint64_t longest = 0;
    };

    PackReader() = default;
    ~PackReader() override;
    PackReader(const PackReader&) = delete;
    PackReader& operator=(const PackReader&) = delete;

    bool open(const std::string& path);
    // Reads through a movie already open, shared with its other readers.
    bool open(std::shared_ptr<const MovieReader> movie);
    std::uint64_t size() const override { return m_size; }

    // From now on every look finds nothing, at once. Safe from any thread:
    // it lets an owner call off a reading that another thread is doing.
    void stop() { m_stopped.store(true, std::memory_order_relaxed); }

    // The first pack that starts at `offset` or within `searchBytes` after it.
    // A long search is read a piece at a time, and a stop is heard between
    // pieces.
    std::optional<Pack> packAt(std::uint64_t offset,
                               std::uint64_t searchBytes = 16384) const override;
    std::vector<Pack> packsFrom(std::uint64_t offset, std::uint64_t until,
                                std::size_t most) const override;

    Tally tally() const;

private:
    std::optional<Pack> attempt(std::uint64_t offset, std::uint64_t readBytes,
                                std::uint64_t searchBytes) const;
    std::optional<Pack> parseAt(std::uint64_t offset, const std::vector<std::uint8_t>& bytes,
                                std::size_t at, bool toEnd) const;

    bool stopped() const { return m_stopped.load(std::memory_order_relaxed); }
    std::size_t readAt(std::uint8_t* into, std::size_t count, std::uint64_t offset) const;

    std::shared_ptr<const MovieReader> m_movie;
    std::uint64_t m_size = 0;
    std::atomic<bool> m_stopped = false;
    mutable std::atomic<long> m_reads = 0;
    mutable std::atomic<std::uint64_t> m_bytes = 0;
    mutable std::atomic<std::uint64_t> m_longest = 0;
};

}  // namespace trelvane::mci::timeline
