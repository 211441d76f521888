#pragma once

#include <QFileDialog>

namespace trelvane::ui {

// Qt's own file dialog, refusing a chosen path with a double quote anywhere
// in it, its folders included. Qt reads the name field as a list of quoted
// names ("a" "b"), so a typed name such as clip"movie.vob would come back as
// movie.vob, another file that may exist; and a movie's path is passed
// inside double quotes in the open command, which cannot hold one. The
// refusal is the program's own message box; the dialog stays up after it.
class FileNameDialog : public QFileDialog {
    Q_OBJECT

public:
    static constexpr const char* kDoubleQuoteRefusal =
        "File names with a double quote (\") cannot be used.";

    explicit FileNameDialog(QWidget* owner);

    void accept() override;

private:
    bool choosesADoubleQuote() const;
};

}  // namespace trelvane::ui
