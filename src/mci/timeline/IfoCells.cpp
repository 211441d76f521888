#include "mci/timeline/IfoCells.h"

#include "mci/timeline/IfoBounds.h"

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <algorithm>
#include <cstdarg>
#include <memory>

namespace trelvane::mci::timeline {
namespace {

// The library reports every damaged table on standard error; a bad file is
// an answer here, not news for the terminal of whoever started the program.
void quiet(void*, dvd_logger_level_t, const char*, va_list) {}
const dvd_logger_cb kQuiet{&quiet};

struct CloseReader {
    void operator()(dvd_reader_t* reader) const { DVDClose(reader); }
};
struct CloseIfo {
    void operator()(ifo_handle_t* ifo) const { ifoClose(ifo); }
};

std::optional<int> fromBcd(std::uint8_t value) {
    const int high = value >> 4;
    const int low = value & 0x0f;
    if (high > 9 || low > 9) {
        return std::nullopt;
    }
    return high * 10 + low;
}

// A playback time: hours, minutes, seconds and frames in BCD, the frame
// rate in the top two bits of the frames (1 for 25 a second, 3 for 30).
std::optional<double> secondsOf(const dvd_time_t& time) {
    const auto hours = fromBcd(time.hour);
    const auto minutes = fromBcd(time.minute);
    const auto seconds = fromBcd(time.second);
    const auto frames = fromBcd(time.frame_u & 0x3f);
    const int rate = time.frame_u >> 6;
    if (!hours || !minutes || !seconds || !frames || *minutes > 59 || *seconds > 59 ||
        (rate != 1 && rate != 3)) {
        return std::nullopt;
    }
    const double perSecond = rate == 1 ? 25.0 : 30000.0 / 1001.0;
    if (*frames >= (rate == 1 ? 25 : 30)) {
        return std::nullopt;
    }
    return *hours * 3600.0 + *minutes * 60.0 + *seconds + *frames / perSecond;
}

// Adds the cells of one program chain; false for one that cannot be played
// through in file order.
bool addCells(const pgc_t& pgc, std::vector<IfoCell>& cells) {
    if (pgc.nr_of_cells > 0 && (pgc.cell_playback == nullptr || pgc.cell_position == nullptr)) {
        return false;
    }
    for (int i = 0; i < pgc.nr_of_cells; ++i) {
        const cell_playback_t& playback = pgc.cell_playback[i];
        const auto seconds = secondsOf(playback.playback_time);
        if (playback.block_type == BLOCK_TYPE_ANGLE_BLOCK || playback.interleaved || !seconds ||
            playback.last_sector < playback.first_sector) {
            return false;
        }
        cells.push_back({pgc.cell_position[i].vob_id_nr, pgc.cell_position[i].cell_nr,
                         playback.first_sector, playback.last_sector, *seconds,
                         playback.stc_discontinuity != 0});
    }
    return true;
}

}  // namespace

std::optional<std::vector<IfoCell>> readIfoCells(const std::string& folder, int titleSet) {
    if (titleSet < 1 || titleSet > 99 || !ifoSafeToRead(folder, titleSet)) {
        return std::nullopt;
    }
    const std::unique_ptr<dvd_reader_t, CloseReader> reader(
        DVDOpen2(nullptr, &kQuiet, folder.c_str()));
    if (!reader) {
        return std::nullopt;
    }
    // Falls back on the backup copy by itself where the first is unreadable.
    const std::unique_ptr<ifo_handle_t, CloseIfo> ifo(ifoOpen(reader.get(), titleSet));
    if (!ifo || ifo->vtsi_mat == nullptr || ifo->vts_pgcit == nullptr ||
        ifo->vts_pgcit->pgci_srp == nullptr) {
        return std::nullopt;
    }
    std::vector<IfoCell> cells;
    const pgcit_t& chains = *ifo->vts_pgcit;
    for (int i = 0; i < chains.nr_of_pgci_srp; ++i) {
        const pgc_t* pgc = chains.pgci_srp[i].pgc;
        if (pgc == nullptr || !addCells(*pgc, cells)) {
            return std::nullopt;
        }
    }
    std::sort(cells.begin(), cells.end(),
              [](const IfoCell& a, const IfoCell& b) { return a.firstSector < b.firstSector; });
    // Titles that play the same cells list them again.
    const auto same = [](const IfoCell& a, const IfoCell& b) {
        return a.firstSector == b.firstSector && a.lastSector == b.lastSector &&
               a.vobId == b.vobId && a.cellId == b.cellId;
    };
    cells.erase(std::unique(cells.begin(), cells.end(), same), cells.end());
    if (cells.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].firstSector <= cells[i - 1].lastSector) {
            return std::nullopt;  // two cells claim one sector
        }
    }
    return cells;
}

}  // namespace trelvane::mci::timeline
