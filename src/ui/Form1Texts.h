#pragma once

#include <string_view>

namespace trelvane::ui::texts {

// The window's caption, and the title of every message box it shows.
inline constexpr std::string_view kTitle = "Trelvane 2.0";
inline constexpr std::string_view kVobFilter = "VOB Files (*.vob)|*.vob";
inline constexpr std::string_view kInvalidSelection = "Invalid Selection";
// The maker's page, handed to the desktop's default browser.
inline constexpr std::string_view kHomePageCommand = "xdg-open https://orvalis.example/trelvane";
// The video is drawn as a child window of the frame P.
inline constexpr std::string_view kVideoWindowStyle = "child";

}  // namespace trelvane::ui::texts
