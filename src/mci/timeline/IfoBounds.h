#pragma once

#include <string>

namespace trelvane::mci::timeline {

// Whether every table that title set `titleSet`'s information files in
// `folder` list (VTS_nn_0.IFO and its backup .BUP, found as the disc
// library finds them) claims no more bytes than those files hold. The
// library sizes its buffers by these claims before it reads a table, so a
// damaged or hostile file could have it ask for gigabytes; such a set is
// refused before the library sees it. A file cut short is not refused here:
// the library fails on its reads by itself and turns to the other copy.
bool ifoTablesFit(const std::string& folder, int titleSet);

}  // namespace trelvane::mci::timeline
