#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// The toolkit's operations on the window's controls, the timer, the video
// frame, closing and ending the program.
class ToolkitControlsTest : public QObject {
    Q_OBJECT

public:
    ToolkitControlsTest();
    ~ToolkitControlsTest() override;

    // Run in a child process: writes to standard output and ends the
    // program through the toolkit.
    static constexpr const char* kEndProgramChild = "--end-program-child";
    static int runEndProgramChild();

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionsShowAtOnce();
    void progressShowsValueOverMaximum_data();
    void progressShowsValueOverMaximum();
    void progressRepaintsOnlyWhenTheBarChanges();
    void timerTicksOnlyWhileEnabled();
    void reenablingKeepsTheTimersRhythm();
    void videoHandleIsTheFramesNativeWindow();
    void closingRaisesUnloadAndLeavesTheWindowToIt();
    void endingFlushesOutputAndExitsAtOnce();

private:
    std::unique_ptr<ShownWindow> m_shown;
};

}  // namespace trelvane::ui
