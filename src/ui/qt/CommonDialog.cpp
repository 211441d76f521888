#include "ui/qt/CommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "core/Failure.h"
#include "ui/qt/DialogFilter.h"
#include "ui/qt/FileNameDialog.h"

namespace trelvane::ui {

namespace {

// Qt's file dialog keeps its history, sidebar and last folder in the user's
// configuration folder when it goes, and reads them back when it comes up
// again. The program keeps no settings, so neither may the dialog: its
// settings go to a folder that no one can make, below a file that is not
// one, which every read finds empty and every write fails in (root too).
void keepNoDialogSettings() {
    static const bool once = [] {
        const QString nowhere = QStringLiteral("/dev/null");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, nowhere);
        return true;
    }();
    (void)once;
}

}  // namespace

CommonDialog::CommonDialog(QWidget* owner) : QObject(owner), m_owner(owner) {
    keepNoDialogSettings();
}

void CommonDialog::setFilter(const QString& filter) {
    m_nameFilters = toNameFilters(filter);
}

void CommonDialog::showOpen() {
    FileNameDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepare(dialog);
    run(dialog);
}

void CommonDialog::showSave() {
    FileNameDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    prepare(dialog);
    run(dialog);
}

void CommonDialog::prepare(QFileDialog& dialog) const {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!m_title.isEmpty()) {
        dialog.setWindowTitle(m_title);
    }
    if (!m_nameFilters.isEmpty()) {
        dialog.setNameFilters(m_nameFilters);
    }
    // Start where the last chosen file was, as the desktop's own dialogs do,
    // and before any choice in the working folder: never where Qt last
    // looked, which may be a folder browsed in a dialog that was cancelled.
    dialog.setDirectory(m_lastDirectory.isEmpty() ? QDir::currentPath() : m_lastDirectory);
    if (!m_fileName.isEmpty()) {
        dialog.selectFile(m_fileName);
    }
}

void CommonDialog::run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        throw Failure(failureNumber::CancelSelected, "Cancel was selected.");
    }
    const QStringList chosen = dialog.selectedFiles();
    m_fileName = chosen.isEmpty() ? QString() : chosen.first();
    if (!m_fileName.isEmpty()) {
        m_lastDirectory = QFileInfo(m_fileName).absolutePath();
    }
}

}  // namespace trelvane::ui
