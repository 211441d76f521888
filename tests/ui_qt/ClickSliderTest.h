#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// The slider H: which mouse actions move it and which raise its click.
class ClickSliderTest : public QObject {
    Q_OBJECT

public:
    ClickSliderTest();
    ~ClickSliderTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void trackClickPagesThenClicks_data();
    void trackClickPagesThenClicks();
    void thumbDragClicksOnceOnRelease();
    void heldThumbStaysWhileTheProgramSetsTheValue();
    void otherButtonsClickWithoutMoving();
    void keysAndTheProgramNeverClick();
    void disabledSliderRaisesNothing();
    void valueStaysInsideTheRange();

private:
    std::unique_ptr<ShownWindow> m_shown;
};

}  // namespace trelvane::ui
