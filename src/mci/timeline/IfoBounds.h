#pragma once

#include <string>

namespace trelvane::mci::timeline {

// Whether title set `titleSet`'s information files in `folder` (VTS_nn_0.IFO
// and its backup .BUP, found as the disc library finds them) are safe to
// hand to that library: each is a title set's file, not the disc's own
// (whose reading in the library frees a damaged table twice), and each of
// its tables claims no more bytes than the files hold (the library sizes
// its buffers by these claims before it reads a table, so a damaged or
// hostile file could have it ask for gigabytes). A file cut short passes:
// the library fails on its reads by itself and turns to the other copy.
bool ifoSafeToRead(const std::string& folder, int titleSet);

}  // namespace trelvane::mci::timeline
