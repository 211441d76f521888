#pragma once

#include <QIcon>

namespace trelvane::ui {

// The program's icon, the one the menu and the task bar show: a strip of
// film cut in two between brackets, at every size drawn from its SVG at
// build time.
QIcon loadWindowIcon();

}  // namespace trelvane::ui
