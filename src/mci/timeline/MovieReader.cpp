#include "mci/timeline/MovieReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace trelvane::mci::timeline {
namespace {

constexpr std::uint64_t kSectorBytes = 2048;
// How far past a failed read the next try goes, four times as far each time
// that one fails too. Most scratches span less than a megabyte, so most cost
// one failed read; the price is up to a megabyte of readable movie taken for
// unreadable past a small one, which a player skips over as a disc player
// does, and which the time index treats as the gap it anyway reads around.
constexpr std::uint64_t kFirstLeap = 1 << 20;

}  // namespace

MovieReader::~MovieReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool MovieReader::open(const std::string& path) {
    // Non-blocking only for the open itself: a named pipe would otherwise
    // wait for a writer. Regular files, the only ones kept, ignore it.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

long long MovieReader::readOnce(std::uint64_t offset, std::uint8_t* into, std::size_t count) const {
    for (;;) {
        const ssize_t got = ::pread(m_fd, into, count, static_cast<off_t>(offset));
        if (got >= 0) {
            return got;
        }
        if (errno != EINTR) {
            m_failedReads.fetch_add(1, std::memory_order_relaxed);
            return -1;
        }
    }
}

std::size_t MovieReader::readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) const {
    if (m_fd < 0 || offset >= m_size) {
        return 0;
    }
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_size - offset));
    std::size_t done = 0;
    while (done < count) {
        const std::uint64_t at = offset + done;
        std::size_t want = count - done;
        {
            const std::lock_guard lock(m_lock);
            auto next = m_gaps.upper_bound(at);
            if (next != m_gaps.begin() && at < std::prev(next)->second) {
                break;  // inside a known gap
            }
            if (next != m_gaps.end()) {
                want = static_cast<std::size_t>(std::min<std::uint64_t>(want, next->first - at));
            }
        }
        const long long got = readOnce(at, into + done, want);
        if (got < 0) {
            markGapFrom(at);
            break;
        }
        if (got == 0) {
            break;  // the file was cut short meanwhile
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void MovieReader::markGapFrom(std::uint64_t offset) const {
    std::uint64_t end = m_size;
    std::uint8_t probe[kSectorBytes];
    for (std::uint64_t leap = kFirstLeap; offset + leap < m_size; leap *= 4) {
        const std::uint64_t at = (offset + leap) / kSectorBytes * kSectorBytes;
        if (const std::uint64_t known = gapEnd(at); known != 0) {
            end = known;  // the scratch runs into one found before
            break;
        }
        const long long got = readOnce(at, probe, sizeof probe);
        if (got > 0) {
            end = at;
            break;
        }
        if (got == 0) {
            break;
        }
    }
    const std::lock_guard lock(m_lock);
    std::uint64_t from = offset;
    // Gaps found by two readers at once may overlap: they become one.
    auto it = m_gaps.upper_bound(end);
    while (it != m_gaps.begin() && std::prev(it)->second >= from) {
        --it;
        from = std::min(from, it->first);
        end = std::max(end, it->second);
        it = m_gaps.erase(it);
    }
    m_gaps.emplace(from, end);
}

std::uint64_t MovieReader::gapEnd(std::uint64_t offset) const {
    const std::lock_guard lock(m_lock);
    auto next = m_gaps.upper_bound(offset);
    if (next == m_gaps.begin() || offset >= std::prev(next)->second) {
        return 0;
    }
    return std::prev(next)->second;
}

}  // namespace trelvane::mci::timeline
