#pragma once

#include <cstdint>

namespace trelvane::clip {

// The checks on the marks before a save changes anything. A begin of 0 is
// set to 1 in place, in between the two checks: byte positions start at 1,
// and the rate times 0 would be none. Returns false for a selection that
// cannot be saved; the begin is then as it was.
bool acceptSelection(std::int32_t& clipBegin, std::int32_t clipEnd);

}  // namespace trelvane::clip
