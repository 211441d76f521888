#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace trelvane::ui {

// The common dialog Cdlg: one object that shows the open and the save
// dialog and keeps its filter, title and file name from one showing to the
// next. It uses Qt's own dialog rather than the desktop's, so it behaves
// the same everywhere. A cancel throws trelvane::Failure.
class CommonDialog : public QObject {
    Q_OBJECT

public:
    explicit CommonDialog(QWidget* owner);

    // "description|pattern" pairs; see toNameFilters.
    void setFilter(const QString& filter);
    QStringList nameFilters() const { return m_nameFilters; }

    // An empty title lets the dialog name itself after what it does.
    void setTitle(const QString& title) { m_title = title; }
    QString title() const { return m_title; }

    // A full path after a showing; the name set here is offered next time.
    void setFileName(const QString& fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }

    // Modal. The open dialog takes existing files only; the save dialog
    // does not ask about overwriting, its caller does.
    void showOpen();
    void showSave();

private:
    void prepare(QFileDialog& dialog) const;
    void run(QFileDialog& dialog);

    QWidget* m_owner;
    QStringList m_nameFilters;
    QString m_title;
    QString m_fileName;
    QString m_lastDirectory;
};

}  // namespace trelvane::ui
