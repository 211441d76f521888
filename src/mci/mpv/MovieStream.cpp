#include "mci/mpv/MovieStream.h"

#include <mpv/stream_cb.h>

#include <algorithm>
#include <cstring>

namespace trelvane::mci::movie_stream {
namespace {

// One opening of the movie by the core: the reader and where it stands.
struct Cursor {
    std::shared_ptr<const timeline::MovieReader> movie;
    std::uint64_t at = 0;
};

int64_t readMovie(void* cookie, char* into, uint64_t count) {
    Cursor& cursor = *static_cast<Cursor*>(cookie);
    const std::uint64_t size = cursor.movie->size();
    if (cursor.at >= size) {
        return 0;
    }
    count = std::min<std::uint64_t>(count, size - cursor.at);
    auto* bytes = reinterpret_cast<std::uint8_t*>(into);
    std::uint64_t got = cursor.movie->readAt(cursor.at, bytes, static_cast<std::size_t>(count));
    if (got == 0) {
        // Nothing read before the end: a gap, or the file cut short since
        // it was opened (then its end has come).
        const std::uint64_t gapEnd = cursor.movie->gapEnd(cursor.at);
        got = gapEnd > cursor.at ? std::min(count, gapEnd - cursor.at) : 0;
        std::memset(into, 0, static_cast<std::size_t>(got));
    }
    cursor.at += got;
    return static_cast<int64_t>(got);
}

int64_t seekMovie(void* cookie, int64_t offset) {
    if (offset < 0) {
        return MPV_ERROR_GENERIC;
    }
    static_cast<Cursor*>(cookie)->at = static_cast<std::uint64_t>(offset);
    return offset;
}

int64_t movieSize(void* cookie) {
    return static_cast<int64_t>(static_cast<Cursor*>(cookie)->movie->size());
}

void closeMovie(void* cookie) {
    delete static_cast<Cursor*>(cookie);
}

int openMovie(void* userData, char* /*url*/, mpv_stream_cb_info* info) {
    const auto& movie = *static_cast<const std::shared_ptr<const timeline::MovieReader>*>(userData);
    if (!movie) {
        return MPV_ERROR_LOADING_FAILED;
    }
    info->cookie = new Cursor{movie};
    info->read_fn = readMovie;
    info->seek_fn = seekMovie;
    info->size_fn = movieSize;
    info->close_fn = closeMovie;
    return 0;
}

}  // namespace

bool install(MpvHandle& mpv, const std::shared_ptr<const timeline::MovieReader>* movie) {
    return mpv.addStream(kProtocol, const_cast<void*>(static_cast<const void*>(movie)), openMovie);
}

}  // namespace trelvane::mci::movie_stream
