#include "ui/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>
#include <array>
#include <stdexcept>

#include "ui/qt/FaceButton.h"
#include "ui/qt/FormDesign.h"

namespace trelvane::ui {
namespace {

constexpr std::array kTexts{
    AccessibleText{"crd", "Orvalis Presentation", "Who presents this program"},
    AccessibleText{"P", "Video", "The picture of the open movie"},
    AccessibleText{"H", "Position", "Playing position in seconds; a click moves playback there"},
    AccessibleText{"Command1", "Play", "Plays the movie"},
    AccessibleText{"Command2", "Stop", "Stops the movie and goes back to its start"},
    AccessibleText{"Command3", "Pause", "Pauses the movie"},
    AccessibleText{"Command4", "Open", "Opens a VOB file and plays it"},
    AccessibleText{"Command7", "Save", "Saves the marked stretch as a new VOB file"},
    AccessibleText{"Command5", "Select Start", "Marks the current second as the clip's begin"},
    AccessibleText{"Command6", "Select End", "Marks the current second as the clip's end"},
    AccessibleText{"Frame1", "Clip Information", "The clip's marks and length"},
    AccessibleText{"bp", "Begin Position", "Label of the begin mark"},
    AccessibleText{"Label7", "Begin Position", "The clip's begin mark in seconds"},
    AccessibleText{"ep1", "End Position", "Label of the end mark"},
    AccessibleText{"Label9", "End Position", "The clip's end mark in seconds"},
    AccessibleText{"ln", "Length", "Label of the clip's length"},
    AccessibleText{"Label3", "Length", "The clip's length in seconds"},
    AccessibleText{"Frame2", "Current Time", "The playing position"},
    AccessibleText{"Label4", "Current Time", "The playing position in seconds"},
    AccessibleText{"Command9", "Play Selected", "Plays the marked stretch and pauses at its end"},
    AccessibleText{"Command8", "Home Page", "Opens the program's guide in the web browser"},
    AccessibleText{"pb", "Save Progress", "How much of the clip is saved"},
};

// A picture button is a plain widget to Qt; announce it as a button, with
// no action beyond taking the focus.
QAccessibleInterface* faceButtonInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(FaceButton::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Button);
    }
    return nullptr;
}

}  // namespace

std::span<const AccessibleText> accessibleTexts() {
    return kTexts;
}

const AccessibleText& accessibleText(std::string_view control) {
    const auto found =
        std::find_if(kTexts.begin(), kTexts.end(),
                     [control](const AccessibleText& t) { return t.control == control; });
    if (found == kTexts.end()) {
        throw std::out_of_range("no accessible text for that control");
    }
    return *found;
}

void describeControls(QWidget& window) {
    static const bool installed = [] {
        QAccessible::installFactory(faceButtonInterface);
        return true;
    }();
    (void)installed;
    for (const AccessibleText& text : kTexts) {
        auto* control = window.findChild<QWidget*>(designText(text.control));
        if (control == nullptr) {
            throw std::logic_error("a described control is missing from the window");
        }
        control->setAccessibleName(designText(text.name));
        control->setAccessibleDescription(designText(text.description));
    }
}

QString valueLabelName(std::string_view control, const QString& shown) {
    const QString name = designText(accessibleText(control).name);
    return shown.isEmpty() ? name : name + QStringLiteral(": ") + shown;
}

}  // namespace trelvane::ui
