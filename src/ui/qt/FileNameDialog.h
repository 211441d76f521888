#pragma once

#include <QFileDialog>

namespace trelvane::ui {

// Qt's own file dialog, refusing a file name with a double quote. Qt reads
// the name field as a list of quoted names ("a" "b"), so a typed name such
// as clip"movie.vob would come back as movie.vob, another file that may
// exist; and a movie's path is passed inside double quotes in the open
// command, which cannot hold one. The dialog stays up after the warning.
class FileNameDialog : public QFileDialog {
    Q_OBJECT

public:
    static constexpr const char* kDoubleQuoteRefusal =
        "File names with a double quote (\") cannot be used.";

    explicit FileNameDialog(QWidget* owner);

    void accept() override;
};

}  // namespace trelvane::ui
