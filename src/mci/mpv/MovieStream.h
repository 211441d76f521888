#pragma once

#include <memory>

#include "mci/mpv/MpvHandle.h"
#include "mci/timeline/MovieReader.h"

namespace trelvane::mci {

// The player core's reads of the movie, served by the movie's shared reader
// instead of the core's own file reading, which ends the movie at the first
// read that fails. Where the movie cannot be read the core is given zeros up
// to the next readable place, where its demuxer finds the next pack and plays
// on, as a disc player plays over a scratch; every offset stays the file's
// own, so that seeks, lengths and the time index agree with the core.
namespace movie_stream {

// The address under which the core finds the movie once installed.
inline constexpr const char* kProtocol = "trelvane-movie";
inline constexpr const char* kUrl = "trelvane-movie://movie";

// Makes the core read kUrl from `*movie`. The pointer must stay valid, and
// point to the movie to be played, for as long as the core may open kUrl.
bool install(MpvHandle& mpv, const std::shared_ptr<const timeline::MovieReader>* movie);

}  // namespace movie_stream
}  // namespace trelvane::mci
