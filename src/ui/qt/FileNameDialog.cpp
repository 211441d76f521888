#include "ui/qt/FileNameDialog.h"

#include <QLineEdit>
#include <QMessageBox>

namespace trelvane::ui {

FileNameDialog::FileNameDialog(QWidget* owner) : QFileDialog(owner) {}

void FileNameDialog::accept() {
    // The field holds what was typed, or the name of the file picked in the
    // list; only Qt's own dialog has it, and CommonDialog always uses that.
    const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (field != nullptr && field->text().contains(u'"')) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(kDoubleQuoteRefusal));
        return;
    }
    QFileDialog::accept();
}

}  // namespace trelvane::ui
