#include "ui/qt/CommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "core/Failure.h"
#include "ui/qt/DialogFilter.h"
#include "ui/qt/FileNameDialog.h"

namespace trelvane::ui {

CommonDialog::CommonDialog(QWidget* owner) : QObject(owner), m_owner(owner) {}

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
    // With no name to offer, start where the last chosen file was, as the
    // desktop's own dialogs do.
    if (!m_lastDirectory.isEmpty()) {
        dialog.setDirectory(m_lastDirectory);
    }
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
