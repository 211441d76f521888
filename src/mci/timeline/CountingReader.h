#pragma once

#include <cstdint>
#include <optional>

#include "mci/timeline/PackSource.h"

namespace trelvane::mci::timeline {

// Passes every look on to another source and counts what it would cost a
// drive: the looks, those that start far from where the one before ended
// (a seek on a disk or disc), and the bytes they cover.
class CountingReader : public PackSource {
public:
    // A read that starts further than this from where the one before ended
    // costs a seek.
    static constexpr std::uint64_t kNearBytes = 256 * 1024;

    explicit CountingReader(const PackSource& inner) : m_inner(inner) {}

    std::uint64_t size() const override { return m_inner.size(); }
    std::optional<Pack> packAt(std::uint64_t offset, std::uint64_t searchBytes) const override;
    std::vector<Pack> packsFrom(std::uint64_t offset, std::uint64_t until,
                                std::size_t most) const override;

    int reads() const { return m_reads; }
    int farReads() const { return m_farReads; }
    std::uint64_t bytes() const { return m_bytes; }

private:
    void note(std::uint64_t start, std::uint64_t end) const;

    const PackSource& m_inner;
    mutable int m_reads = 0;
    mutable int m_farReads = 0;
    mutable std::uint64_t m_bytes = 0;
    mutable std::optional<std::uint64_t> m_lastEnd;
};

}  // namespace trelvane::mci::timeline
