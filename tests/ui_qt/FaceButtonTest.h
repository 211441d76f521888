#pragma once

#include "WindowSuite.h"

namespace trelvane::ui {

// The picture buttons: their bitmaps, and that the mouse click alone
// raises their events.
class FaceButtonTest : public WindowSuite {
    Q_OBJECT

private slots:
    void bitmapsHaveTheirDesignedSizes_data();
    void bitmapsHaveTheirDesignedSizes();
    void boxShowsTheTopLeftOfItsBitmap();
    void eachButtonRaisesItsOwnClick();
    void keysNeverClickAFocusedButton();
    void releasingElsewhereTakesTheClickBack();
    void doubleClickIsTwoClicks();
    void disabledButtonRaisesNothing();
};

}  // namespace trelvane::ui
