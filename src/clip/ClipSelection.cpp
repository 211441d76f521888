#include "clip/ClipSelection.h"

namespace trelvane::clip {

bool acceptSelection(std::int32_t& clipBegin, std::int32_t clipEnd) {
    if (clipBegin >= clipEnd) {
        return false;
    }
    if (clipBegin == 0) {
        clipBegin = 1;
    }
    // Only a negative begin gets here with an end of 0.
    return clipEnd != 0;
}

}  // namespace trelvane::clip
