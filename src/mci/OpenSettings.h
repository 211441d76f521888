#pragma once

#include <string>

#include "mci/ParsedCommand.h"
#include "mci/PlayerDevice.h"
#include "mci/Status.h"

namespace trelvane::mci {

// What an open command asks for, once its option values have been accepted.
struct OpenSettings {
    std::string alias;  // as written; the file name when no alias is given
    OpenRequest request;

    // Checks the words of the options (not the file): Ok, or why not.
    static Status read(const ParsedCommand& command, OpenSettings& settings);
};

}  // namespace trelvane::mci
