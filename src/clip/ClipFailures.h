#pragma once

#include <string>

#include "core/Failure.h"

// The failures of a save that are not plain overflows, numbered the way the
// rest of the program numbers its failures.
namespace trelvane::clip::failures {

// A file operation that failed with the system error `error` (an errno value).
Failure ofSystemError(int error);
// A read or write asked for at a position below 1.
Failure badPosition();
// A path that names a pipe, a device or a folder rather than a file.
Failure notARegularFile();
// The movie reports a length of 0 seconds, so no byte rate can be had.
Failure noMovieLength();

// Why a failure stopped a save, as the end of a sentence: "disk full".
std::string reason(const Failure& failure);

}  // namespace trelvane::clip::failures
