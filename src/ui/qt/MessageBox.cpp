#include "ui/qt/MessageBox.h"

#include <QMessageBox>

namespace trelvane::ui {

MessageAnswer showMessageBox(QWidget* owner, const QString& text, MessageButtons buttons,
                             const QString& title) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    QMessageBox box(QMessageBox::NoIcon, title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? MessageAnswer::Yes
                                                                       : MessageAnswer::No;
}

}  // namespace trelvane::ui
