#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>

namespace trelvane::ui {
namespace {

// A step that has not closed its dialog by then never will.
constexpr qint64 kStepDeadlineMs = 10000;

}  // namespace

ModalDriver::ModalDriver(std::deque<Step> steps) : m_steps(std::move(steps)) {
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &ModalDriver::look);
    m_poll.start();
}

void ModalDriver::look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    if (modal == m_handled) {
        if (m_sinceHandled.hasExpired(kStepDeadlineMs)) {
            m_unexpected << QStringLiteral("left up: ") + modal->windowTitle();
            dismiss(*modal);
        }
        return;
    }
    m_handled = modal;
    m_sinceHandled.start();
    if (!m_steps.empty()) {
        // Run outside this timer's slot: a step may bring up a dialog of
        // its own, and Qt does not fire a timer again while its slot runs.
        QMetaObject::invokeMethod(
            this,
            [step = std::move(m_steps.front()), modal = QPointer<QWidget>(modal)] {
                if (modal != nullptr) {
                    step(*modal);
                }
            },
            Qt::QueuedConnection);
        m_steps.pop_front();
        return;
    }
    m_unexpected << modal->windowTitle();
    dismiss(*modal);
}

void ModalDriver::dismiss(QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
        dialog->reject();
    } else {
        modal.close();
    }
}

}  // namespace trelvane::ui
