#pragma once

class QMouseEvent;

namespace trelvane::ui {

// Turns a control's mouse presses and releases into clicks: a click is one
// gesture from the first button going down to the last one coming up, so a
// chord of buttons counts once and a release without a press of ours
// counts not at all.
class ClickGesture {
public:
    // True when this press starts a gesture.
    bool press(const QMouseEvent& event);
    // True when this release ends a gesture that a press of ours started.
    bool release(const QMouseEvent& event);

private:
    bool m_active = false;
};

}  // namespace trelvane::ui
