#pragma once

#include <QString>
#include <span>
#include <string_view>

class QWidget;

namespace trelvane::ui {

// What a screen reader says of a control: its name, and what it is for.
// A value label's name is followed by the number it shows.
struct AccessibleText {
    std::string_view control;
    std::string_view name;
    std::string_view description;
};

// One entry per control of the window that a person sees.
std::span<const AccessibleText> accessibleTexts();
const AccessibleText& accessibleText(std::string_view control);

// Names and describes every control under `window`, found by its design
// name, and has picture buttons announced as buttons. They offer no press
// action: like the mouse-free keyboard, a screen reader cannot click them.
void describeControls(QWidget& window);

// "Current Time: 12", or just "Current Time" while the label is empty.
QString valueLabelName(std::string_view control, const QString& shown);

}  // namespace trelvane::ui
