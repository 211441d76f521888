#pragma once

#include <string>

#include "mci/Status.h"

namespace trelvane::mci::movieFile {

// Checked before a player is created, so that a bad path is reported by the
// same statuses whatever player is in use: FileNotFound when nothing is
// there, InvalidFile when it is not a regular file we can read.
Status check(const std::string& path);

// Players may run with another working directory than ours; they get a
// path that does not depend on it. The bytes of the name are kept as given.
std::string absolute(const std::string& path);

}  // namespace trelvane::mci::movieFile
