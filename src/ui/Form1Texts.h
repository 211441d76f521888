#pragma once

#include <string_view>

namespace trelvane::ui::texts {

// The window's caption, and the title of every message box it shows.
inline constexpr std::string_view kTitle = "Trelvane 2.0";
inline constexpr std::string_view kVobFilter = "VOB Files (*.vob)|*.vob";
inline constexpr std::string_view kInvalidSelection = "Invalid Selection";
// The save's texts. The save dialog keeps the title "Open", like the dialog
// it shares with opening.
inline constexpr std::string_view kSaving = "Saving";
inline constexpr std::string_view kClipFilter = "VOB Files(*.vob)|*.vob";
inline constexpr std::string_view kSaveDialogTitle = "Open";
inline constexpr std::string_view kFileInUse = "Cannot overwrite file in use...";
inline constexpr std::string_view kOverwriteQuestion = "File already exist.Overwrite?";
inline constexpr std::string_view kClipSaved = "Clip Saved";
// Followed by the reason, e.g. "disk full".
inline constexpr std::string_view kClipNotSaved = "Clip not saved: ";
// The video is drawn as a child window of the frame P.
inline constexpr std::string_view kVideoWindowStyle = "child";

}  // namespace trelvane::ui::texts
