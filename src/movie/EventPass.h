#pragma once

namespace trelvane::movie {

// One pass of the window's event loop: handles the events that are pending
// and returns. Any handler of the window may run inside it.
class EventPass {
public:
    virtual ~EventPass() = default;
    virtual void runOnePass() = 0;
};

}  // namespace trelvane::movie
