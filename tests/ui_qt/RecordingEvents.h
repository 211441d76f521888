#pragma once

#include <QStringList>

#include "ui/FormEvents.h"
#include "ui/Toolkit.h"

namespace trelvane::ui {

// Writes down each event it is given, in order; a slider click together
// with the slider's value at that moment ("sliderClick 5").
class RecordingEvents : public FormEvents {
public:
    explicit RecordingEvents(Toolkit& toolkit) : m_toolkit(toolkit) {}

    const QStringList& events() const { return m_events; }
    void clear() { m_events.clear(); }

    void command1Click() override { m_events << QStringLiteral("command1Click"); }
    void command2Click() override { m_events << QStringLiteral("command2Click"); }
    void command3Click() override { m_events << QStringLiteral("command3Click"); }
    void command4Click() override { m_events << QStringLiteral("command4Click"); }
    void command5Click() override { m_events << QStringLiteral("command5Click"); }
    void command6Click() override { m_events << QStringLiteral("command6Click"); }
    void command7Click() override { m_events << QStringLiteral("command7Click"); }
    void command8Click() override { m_events << QStringLiteral("command8Click"); }
    void command9Click() override { m_events << QStringLiteral("command9Click"); }
    void formUnload() override { m_events << QStringLiteral("formUnload"); }
    void sliderClick() override;
    void timerTick() override { m_events << QStringLiteral("timerTick"); }

private:
    Toolkit& m_toolkit;
    QStringList m_events;
};

}  // namespace trelvane::ui
