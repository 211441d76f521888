#pragma once

namespace trelvane::ui {

// The twelve events the main window answers, as the toolkit delivers them.
// Each call runs the whole handler, including any passes of the event loop
// it asks for, and never lets a failure out.
class FormEvents {
public:
    virtual ~FormEvents() = default;

    virtual void command1Click() = 0;  // Play
    virtual void command2Click() = 0;  // Stop
    virtual void command3Click() = 0;  // Pause
    virtual void command4Click() = 0;  // Open
    virtual void command5Click() = 0;  // Select Start
    virtual void command6Click() = 0;  // Select End
    virtual void command7Click() = 0;  // Save
    virtual void command8Click() = 0;  // Home Page
    virtual void command9Click() = 0;  // Play Selected
    virtual void formUnload() = 0;     // the window is being closed
    virtual void sliderClick() = 0;    // H, after the mouse action moved its value
    virtual void timerTick() = 0;      // T
};

}  // namespace trelvane::ui
