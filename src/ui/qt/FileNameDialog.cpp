#include "ui/qt/FileNameDialog.h"

#include <QLineEdit>

#include <algorithm>

#include "ui/Form1Texts.h"
#include "ui/qt/MessageBox.h"

namespace trelvane::ui {

FileNameDialog::FileNameDialog(QWidget* owner) : QFileDialog(owner) {}

void FileNameDialog::accept() {
    if (choosesADoubleQuote()) {
        showMessageBox(this, QString::fromUtf8(kDoubleQuoteRefusal), MessageButtons::Ok,
                       QString::fromUtf8(texts::kTitle.data(), texts::kTitle.size()));
        return;
    }
    QFileDialog::accept();
}

bool FileNameDialog::choosesADoubleQuote() const {
    // The field holds what was typed, or the name of the file picked in the
    // list; only Qt's own dialog has it, and CommonDialog always uses that.
    // What it says is read before Qt splits it as a list of quoted names.
    const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (field != nullptr && field->text().contains(u'"')) {
        return true;
    }
    // The whole path the dialog would hand back: a name typed inside a
    // folder whose own name has a quote carries it too.
    const QStringList chosen = selectedFiles();
    return std::any_of(chosen.begin(), chosen.end(),
                       [](const QString& path) { return path.contains(u'"'); });
}

}  // namespace trelvane::ui
