#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace trelvane::ui {

// Plays the user in front of modal dialogs: each dialog that comes up is
// handed to the next step, in order. Any dialog beyond the steps is
// written down and dismissed, and so is a dialog that its step left up, so
// that a test fails instead of hanging.
class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget& modal)>;

    explicit ModalDriver(std::deque<Step> steps);

    int stepsLeft() const { return static_cast<int>(m_steps.size()); }
    // Window titles of the dialogs that no step expected.
    const QStringList& unexpected() const { return m_unexpected; }

private:
    void look();
    static void dismiss(QWidget& modal);

    std::deque<Step> m_steps;
    QPointer<QWidget> m_handled;
    QElapsedTimer m_sinceHandled;
    QStringList m_unexpected;
    QTimer m_poll;
};

}  // namespace trelvane::ui
