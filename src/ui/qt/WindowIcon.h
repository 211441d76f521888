#pragma once

#include <QIcon>

namespace trelvane::ui {

// The program's 32 × 32 icon: a strip of film with a cut across it.
QIcon drawWindowIcon();

}  // namespace trelvane::ui
