#pragma once

#include <QFont>

namespace trelvane::ui {

// The window's fonts: the desktop's default font, fitted to the design.
// The layout is fixed in pixels and was drawn for a smaller default font
// than today's desktops use, so at their size "Begin Position :" and its
// like would be cut off. The family always stays the desktop's, and a font
// that fits is left as it is.

// For the fixed texts of the labels, frames and picture buttons: letters
// narrower, then smaller, until every one of them fits its box, and no
// smaller than a legible minimum.
QFont fitFixedTextFont(const QFont& desktopFont);

// For the numbers in the value labels, which have room to the side but not
// above and below: smaller only if the digits would be cut off, so that
// they stay as large and plain as the desktop's.
QFont fitValueFont(const QFont& desktopFont);

}  // namespace trelvane::ui
