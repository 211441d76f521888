#include "mci/timeline/IfoTimeline.h"
#include "mci/timeline/ReadOnlyFd.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "mci/timeline/IfoCells.h"
#include "mci/timeline/IfoPlace.h"
#include "mci/timeline/StretchEdges.h"

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
// Two navigation packs of one stretch may differ from the cells' times by
// this much: the times count whole frames.
constexpr double kClockSlack = 0.3;
// A stretch's first and last stamps, from the sound as much as the pictures,
// lie this close to where the cells' times put its ends.
constexpr double kEdgeSlack = 0.5;

std::uint32_t bigEndian(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = value << 8 | at[i];
    }
    return value;
}

// What the navigation pack opening a cell says of itself.
struct Navigation {
    std::uint64_t offset = 0;
    double pts = 0;  // the start of its presentation
    double scr = 0;  // its pack's clock
};

// The navigation pack at the first sector of `cell`, if it is one and names
// that sector, cell and movie as its own: a pack header, a system header, the
// presentation part of the navigation data and the search part after it.
std::optional<Navigation> navigationAt(int fd, const IfoPlace& place, const IfoCell& cell) {
    std::array<std::uint8_t, kSectorBytes> sector{};
    const std::uint64_t offset = (cell.firstSector - place.firstSector) * kSectorBytes;
    if (::pread(fd, sector.data(), sector.size(), static_cast<off_t>(offset)) !=
        static_cast<ssize_t>(sector.size())) {
        return std::nullopt;
    }
    const std::uint8_t* s = sector.data();
    const auto startCode = [s](std::size_t at, std::uint8_t id) {
        return s[at] == 0 && s[at + 1] == 0 && s[at + 2] == 1 && s[at + 3] == id;
    };
    if (!startCode(0, 0xba) || (s[4] & 0xc0) != 0x40 || !startCode(14, 0xbb) ||
        !startCode(38, 0xbf) || s[44] != 0x00 || !startCode(1024, 0xbf) || s[1030] != 0x01) {
        return std::nullopt;
    }
    const std::uint8_t* pci = s + 45;
    const std::uint8_t* dsi = s + 1031;
    if (bigEndian(pci, 4) != cell.firstSector || bigEndian(dsi + 4, 4) != cell.firstSector ||
        bigEndian(dsi + 24, 2) != cell.vobId || dsi[27] != cell.cellId) {
        return std::nullopt;
    }
    const std::uint64_t base = static_cast<std::uint64_t>((s[4] >> 3) & 0x07) << 30 |
                               static_cast<std::uint64_t>(s[4] & 0x03) << 28 |
                               static_cast<std::uint64_t>(s[5]) << 20 |
                               static_cast<std::uint64_t>((s[6] >> 3) & 0x1f) << 15 |
                               static_cast<std::uint64_t>(s[6] & 0x03) << 13 |
                               static_cast<std::uint64_t>(s[7]) << 5 | (s[8] >> 3);
    return Navigation{offset, bigEndian(pci + 12, 4) / 90000.0,
                      static_cast<double>(base) / 90000.0};
}

// Consecutive packs from `from` up to `until`, at most `most`.
std::vector<Pack> readRun(const PackReader& reader, std::uint64_t from, std::uint64_t until,
                          std::size_t most) {
    std::vector<Pack> run = reader.packsFrom(from, until, most);
    std::uint64_t offset =
        run.empty() ? from : run.back().offset + std::max<std::uint64_t>(run.back().length, 1);
    while (offset < until && run.size() < most) {
        auto pack = reader.packAt(offset);
        if (!pack || pack->offset >= until) {
            break;
        }
        offset = pack->offset + std::max<std::uint64_t>(pack->length, 1);
        run.push_back(std::move(*pack));
    }
    return run;
}

// Reads and checks one stretch: the cells `cells[from, to)`, whose clock runs
// on, cut to the part's sectors.
class StretchCheck {
public:
    StretchCheck(const PackReader& reader, int fd, const IfoPlace& place,
                 const std::vector<IfoCell>& cells)
        : m_reader(reader), m_fd(fd), m_place(place), m_cells(cells) {}

    std::optional<Segment> segment(std::size_t from, std::size_t to,
                                   const std::vector<std::size_t>& navigated) const;

private:
    const PackReader& m_reader;
    int m_fd;
    const IfoPlace& m_place;
    const std::vector<IfoCell>& m_cells;
};

std::optional<Segment> StretchCheck::segment(std::size_t from, std::size_t to,
                                             const std::vector<std::size_t>& navigated) const {
    const std::uint64_t partEnd = std::uint64_t{m_place.firstSector} + m_place.sectors;
    const std::uint64_t startSector =
        std::max<std::uint64_t>(m_place.firstSector, m_cells[from].firstSector);
    const std::uint64_t endSector =
        std::min<std::uint64_t>(partEnd, std::uint64_t{m_cells[to - 1].lastSector} + 1);
    const std::uint64_t byteStart = (startSector - m_place.firstSector) * kSectorBytes;
    const std::uint64_t byteEnd = (endSector - m_place.firstSector) * kSectorBytes;

    // Times from the start of the stretch's first cell, wherever that lies.
    std::vector<double> cellStart{0};
    for (std::size_t i = from; i < to; ++i) {
        cellStart.push_back(cellStart.back() + m_cells[i].seconds);
    }
    const double total = cellStart.back();
    // The navigation packs first: one opening the stretch is then read
    // again with the packs after it, at no seek.
    std::vector<ClockSample> samples;
    std::optional<double> anchor;  // the stamp at which the first cell starts
    for (const std::size_t index : navigated) {
        if (index < from || index >= to) {
            continue;
        }
        const auto navigation = navigationAt(m_fd, m_place, m_cells[index]);
        if (!navigation) {
            return std::nullopt;
        }
        const double at = navigation->pts - cellStart[index - from];
        if (anchor && std::fabs(at - *anchor) > kClockSlack) {
            return std::nullopt;
        }
        anchor = anchor.value_or(at);
        samples.push_back({navigation->offset, navigation->scr});
    }
    const std::vector<Pack> startRun =
        readRun(m_reader, byteStart, byteEnd, StretchEdges::kEdgePacks);
    if (startRun.empty() || startRun.front().offset != byteStart) {
        return std::nullopt;  // the stretch does not begin with a pack
    }
    const std::uint64_t tail = byteEnd > byteStart + StretchEdges::kEdgeBytes
                                   ? byteEnd - StretchEdges::kEdgeBytes
                                   : byteStart;
    const std::vector<Pack> endRun =
        readRun(m_reader, tail, byteEnd, std::numeric_limits<std::size_t>::max());
    const auto first = StretchEdges::firstStamp(startRun, byteEnd);
    const auto last = StretchEdges::endStamp(endRun);
    if (endRun.empty() || !first || !last || !(*last > *first)) {
        return std::nullopt;
    }

    samples.push_back({byteStart, startRun.front().scrSeconds});
    const bool startsWithCell = m_cells[from].firstSector >= m_place.firstSector;
    const bool endsWithCell = m_cells[to - 1].lastSector < partEnd;
    if (anchor) {
        const double begins = *first - *anchor;
        const double ends = *last - *anchor;
        const double lastCell = cellStart[to - 1 - from];
        if ((startsWithCell ? std::fabs(begins) > kEdgeSlack
                            : begins < -kEdgeSlack || begins > cellStart[1] + kEdgeSlack) ||
            (endsWithCell ? std::fabs(ends - total) > kEdgeSlack
                          : ends < lastCell - kEdgeSlack || ends > total + kEdgeSlack)) {
            return std::nullopt;
        }
    } else if (*last - *first > total + kEdgeSlack) {
        return std::nullopt;
    }
    samples.push_back({endRun.back().offset, endRun.back().scrSeconds});
    std::sort(samples.begin(), samples.end(),
              [](const ClockSample& a, const ClockSample& b) { return a.offset < b.offset; });
    Segment segment{byteStart, byteEnd, *first, *last, 0, {}};
    for (const ClockSample& sample : samples) {
        if (segment.samples.empty() || (sample.offset > segment.samples.back().offset &&
                                        sample.scrSeconds > segment.samples.back().scrSeconds)) {
            segment.samples.push_back(sample);
        }
    }
    return segment;
}

// The cells that hold the part's sectors, if they hold all of them.
std::optional<std::vector<IfoCell>> cellsOfPart(const std::vector<IfoCell>& all,
                                                const IfoPlace& place) {
    const std::uint64_t end = std::uint64_t{place.firstSector} + place.sectors;
    std::vector<IfoCell> cells;
    for (const IfoCell& cell : all) {
        if (cell.lastSector >= place.firstSector && cell.firstSector < end) {
            cells.push_back(cell);
        }
    }
    if (cells.empty() || cells.front().firstSector > place.firstSector ||
        cells.back().lastSector + std::uint64_t{1} < end) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].firstSector != cells[i - 1].lastSector + std::uint64_t{1}) {
            return std::nullopt;  // sectors of the part that no cell claims
        }
    }
    // The last part present must hold the set's last cell whole: a part cut
    // short, or a set's list of a longer movie, plays otherwise.
    if (place.lastPart && all.back().lastSector + std::uint64_t{1} != end) {
        return std::nullopt;
    }
    return cells;
}

}  // namespace

std::optional<Timeline> ifoTimeline(const std::string& path, const PackReader& reader) {
    const auto place = placeOfPart(path, reader.size());
    if (!place) {
        return std::nullopt;
    }
    const auto all = readIfoCells(place->folder, place->titleSet);
    if (!all) {
        return std::nullopt;
    }
    const auto cells = cellsOfPart(*all, *place);
    if (!cells) {
        return std::nullopt;
    }
    const ReadOnlyFd fd(path);
    if (fd.value < 0) {
        return std::nullopt;
    }
    // The stretches: a new one wherever the movie changes or a cell is marked
    // as starting its clocks afresh.
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 1; i < cells->size(); ++i) {
        if ((*cells)[i].vobId != (*cells)[i - 1].vobId || (*cells)[i].clockRestarts) {
            starts.push_back(i);
        }
    }
    starts.push_back(cells->size());
    // The navigation packs read: the first cell start inside each stretch,
    // which anchors the cells' times to its clock. Every further one would
    // cost a seek; the stretch's last stamps, which must fall within its
    // last cell's time, check the far end.
    std::vector<std::size_t> navigated;
    for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
        for (std::size_t i = starts[s]; i < starts[s + 1]; ++i) {
            if ((*cells)[i].firstSector >= place->firstSector) {
                navigated.push_back(i);
                break;
            }
        }
    }
    const StretchCheck check(reader, fd.value, *place, *cells);
    std::vector<Segment> segments;
    for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
        auto segment = check.segment(starts[s], starts[s + 1], navigated);
        if (!segment) {
            return std::nullopt;
        }
        segments.push_back(std::move(*segment));
    }
    return Timeline(std::move(segments));
}

}  // namespace trelvane::mci::timeline
