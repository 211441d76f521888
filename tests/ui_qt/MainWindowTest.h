#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// The window as the user first sees it: where each control sits, colours,
// texts, starting values and the focus order.
class MainWindowTest : public QObject {
    Q_OBJECT

public:
    MainWindowTest();
    ~MainWindowTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowHasItsFixedSizeCaptionAndIcon();
    void controlsSitWhereDesigned_data();
    void controlsSitWhereDesigned();
    void coloursAreDrawnAsDesigned();
    void textsStartAsDesigned();
    void fixedTextsFitTheirBoxes_data();
    void fixedTextsFitTheirBoxes();
    void controlsStartWithTheirDesignedValues();
    void tabGoesByTabIndex();
    void controlsHaveTheirAccessibleNames_data();
    void controlsHaveTheirAccessibleNames();

private:
    std::unique_ptr<ShownWindow> m_shown;
};

}  // namespace trelvane::ui
