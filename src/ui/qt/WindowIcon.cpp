#include "ui/qt/WindowIcon.h"

#include <QDirIterator>

namespace trelvane::ui {

QIcon loadWindowIcon() {
    // Built into the program, so a window run from its build folder has the
    // same icon as the installed menu entry.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        icon.addFile(sizes.next());
    }
    return icon;
}

}  // namespace trelvane::ui
