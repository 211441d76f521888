#include "mci/timeline/CountingReader.h"

#include <algorithm>

namespace trelvane::mci::timeline {

std::optional<Pack> CountingReader::packAt(std::uint64_t offset, std::uint64_t searchBytes) const {
    auto pack = m_inner.packAt(offset, searchBytes);
    // A look that finds nothing has still read all it searched.
    note(offset,
         pack ? pack->offset + pack->length : std::min(offset + searchBytes, m_inner.size()));
    return pack;
}

std::vector<Pack> CountingReader::packsFrom(std::uint64_t offset, std::uint64_t until,
                                            std::size_t most) const {
    std::vector<Pack> packs = m_inner.packsFrom(offset, until, most);
    note(offset, packs.empty() ? offset : packs.back().offset + packs.back().length);
    return packs;
}

void CountingReader::note(std::uint64_t start, std::uint64_t end) const {
    ++m_reads;
    const auto distance = [](std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; };
    if (!m_lastEnd || distance(start, *m_lastEnd) > kNearBytes) {
        ++m_farReads;
    }
    m_bytes += end > start ? end - start : 0;
    m_lastEnd = end;
}

}  // namespace trelvane::mci::timeline
