#pragma once

#include <cstdint>
#include <functional>

#include "clip/CopyHost.h"
#include "ui/Toolkit.h"

namespace trelvane::ui {

// The copy of a save as the window serves it: the progress bar pb, a pass of
// the window's event loop per turn, and the movie's length from the movie
// control, asked for only when the copy needs it.
class FormCopyHost : public clip::CopyHost {
public:
    FormCopyHost(Toolkit& toolkit, std::function<std::int32_t()> movieLengthInSec)
        : m_toolkit(toolkit), m_movieLengthInSec(std::move(movieLengthInSec)) {}

    std::int32_t movieLengthInSec() override { return m_movieLengthInSec(); }
    void setProgressMaximum(float maximum) override { m_toolkit.setProgressMaximum(maximum); }
    float progressValue() override { return m_toolkit.progressValue(); }
    void setProgressValue(float value) override { m_toolkit.setProgressValue(value); }
    // The copy works between its turns; waiting for an event on each would
    // slow it to a crawl.
    void yield() override { m_toolkit.handlePendingEvents(); }

private:
    Toolkit& m_toolkit;
    std::function<std::int32_t()> m_movieLengthInSec;
};

}  // namespace trelvane::ui
