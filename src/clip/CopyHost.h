#pragma once

#include <cstdint>

namespace trelvane::clip {

// What the copy needs of the program around it, so that it runs without any
// window: the movie's length, the progress bar, and a turn of the event loop.
// Any of them may fail with trelvane::Failure; yield() may also run any other
// handler, the one that ends the program included.
class CopyHost {
public:
    virtual ~CopyHost() = default;

    virtual std::int32_t movieLengthInSec() = 0;
    virtual void setProgressMaximum(float maximum) = 0;
    virtual float progressValue() = 0;
    virtual void setProgressValue(float value) = 0;
    // Handles every pending event, then returns.
    virtual void yield() = 0;
};

}  // namespace trelvane::clip
