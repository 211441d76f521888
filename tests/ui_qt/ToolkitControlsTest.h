#pragma once

#include "WindowSuite.h"

namespace trelvane::ui {

// The toolkit's operations on the window's controls, the timer, the video
// frame, closing and ending the program.
class ToolkitControlsTest : public WindowSuite {
    Q_OBJECT

public:
    // Run in a child process: writes to standard output and ends the
    // program through the toolkit.
    static constexpr const char* kEndProgramChild = "--end-program-child";
    static int runEndProgramChild();

private slots:
    void captionsShowAtOnce();
    void progressShowsValueOverMaximum_data();
    void progressShowsValueOverMaximum();
    void progressRepaintsOnlyWhenTheBarChanges();
    void timerTicksOnlyWhileEnabled();
    void reenablingKeepsTheTimersRhythm();
    void videoHandleIsTheFramesNativeWindow();
    void closingRaisesUnloadAndLeavesTheWindowToIt();
    void endingFlushesOutputAndExitsAtOnce();
};

}  // namespace trelvane::ui
