#pragma once

#include <QString>

#include "ui/Toolkit.h"

class QWidget;

namespace trelvane::ui {

// The program's message box: modal over `owner`, with the given title, no
// icon, and OK or Yes and No, Yes being the default. Closing it without a
// button answers No to a question.
MessageAnswer showMessageBox(QWidget* owner, const QString& text, MessageButtons buttons,
                             const QString& title);

}  // namespace trelvane::ui
