#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// The picture buttons: their bitmaps, and that the mouse click alone
// raises their events.
class FaceButtonTest : public QObject {
    Q_OBJECT

public:
    FaceButtonTest();
    ~FaceButtonTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void bitmapsHaveTheirDesignedSizes_data();
    void bitmapsHaveTheirDesignedSizes();
    void boxShowsTheTopLeftOfItsBitmap();
    void eachButtonRaisesItsOwnClick();
    void keysNeverClickAFocusedButton();
    void releasingElsewhereTakesTheClickBack();
    void doubleClickIsTwoClicks();
    void disabledButtonRaisesNothing();

private:
    std::unique_ptr<ShownWindow> m_shown;
};

}  // namespace trelvane::ui
