#pragma once

#include "WindowSuite.h"

namespace trelvane::ui {

// The slider H: which mouse actions move it and which raise its click.
class ClickSliderTest : public WindowSuite {
    Q_OBJECT

private slots:
    void trackClickPagesThenClicks_data();
    void trackClickPagesThenClicks();
    void thumbDragClicksOnceOnRelease();
    void heldThumbStaysWhileTheProgramSetsTheValue();
    void otherButtonsClickWithoutMoving();
    void keysAndTheProgramNeverClick();
    void disabledSliderRaisesNothing();
    void valueStaysInsideTheRange();
};

}  // namespace trelvane::ui
