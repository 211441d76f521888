#pragma once

#include <QTimer>

#include "movie/EventPass.h"

namespace trelvane::ui {

// One pass of the Qt event loop for handlers that wait inside a click.
// Handles everything pending; when nothing was pending it waits a few
// milliseconds for the next event instead of returning at once, so that a
// handler polling in a loop does not keep a core busy.
class QtEventPass : public movie::EventPass {
public:
    QtEventPass();
    void runOnePass() override;

private:
    QTimer m_wakeUp;
};

}  // namespace trelvane::ui
