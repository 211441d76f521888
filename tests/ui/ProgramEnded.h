#pragma once

namespace trelvane::ui::testing {

// Thrown by the fake toolkit's endProgram(): it unwinds whatever handler was
// running, the way a real end of the program leaves it unfinished. Not a
// trelvane::Failure and not a std::exception, so that no failure rule and no
// catch-all for errors can take it for one.
struct ProgramEnded {};

}  // namespace trelvane::ui::testing
