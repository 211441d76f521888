#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "movie/MovieModule.h"

namespace trelvane::ui {

// What the main window keeps for its whole life, shared by every handler.
struct FormState {
    // The one movie control; made by the first step that needs it and kept
    // until the program ends.
    std::unique_ptr<movie::MovieModule> player;
    // The clip's marks, whole seconds from the start of the movie.
    std::int32_t clipBegin = 0;
    std::int32_t clipEnd = 0;
    // The path of the last file opened, exactly as the open dialog gave it.
    std::string movieFile;
};

}  // namespace trelvane::ui
