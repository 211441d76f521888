#pragma once

#include "WindowSuite.h"

namespace trelvane::ui {

// The window as the user first sees it: where each control sits, colours,
// texts, starting values and the focus order.
class MainWindowTest : public WindowSuite {
    Q_OBJECT

private slots:
    void windowHasItsFixedSizeCaptionAndIcon();
    void controlsSitWhereDesigned_data();
    void controlsSitWhereDesigned();
    void coloursAreDrawnAsDesigned();
    void textsStartAsDesigned();
    void fixedTextsFitTheirBoxes_data();
    void fixedTextsFitTheirBoxes();
    void controlsStartWithTheirDesignedValues();
    void tabGoesByTabIndex();
    void controlsHaveTheirAccessibleNames_data();
    void controlsHaveTheirAccessibleNames();
};

}  // namespace trelvane::ui
