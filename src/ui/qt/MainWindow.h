#pragma once

#include <QFont>
#include <QWidget>
#include <array>
#include <string_view>

#include "ui/Toolkit.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace trelvane::ui {

class CaptionFrame;
class ClickSlider;
class CommonDialog;
class FaceButton;

// The program's one window, Form1, with every control as designed: fixed
// size, white with black text, in the desktop's font fitted to the design
// (see DesignFont.h). Each control carries its design name as its object
// name. The window does not close by itself: a request to close it,
// however made, only raises closeRequested(), whose handler ends the
// program.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    FaceButton& button(PictureButton button) const;
    QLabel& valueLabel(ValueLabel label) const;
    // Shows a number in a value label, for the eye and the screen reader.
    void showValue(ValueLabel label, const QString& text);
    ClickSlider& slider() const;
    QProgressBar& progressBar() const;
    // P: a native child window for the video to be drawn into.
    QWidget& videoFrame() const;
    QTimer& timer() const;
    CommonDialog& commonDialog() const;

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <class Control, class... Args>
    Control* place(std::string_view name, Args&&... args);
    QLabel* placeLabel(std::string_view name);
    void placeFrame(std::string_view name);
    QLabel* placeValueLabel(std::string_view name);

    void setUpWindow();
    void createTopControls();
    void createButtons();
    void createFrames();
    void createProgress();
    void orderTabs();

    std::array<FaceButton*, 9> m_buttons{};
    std::array<QLabel*, 4> m_valueLabels{};
    ClickSlider* m_slider = nullptr;
    QProgressBar* m_progress = nullptr;
    QWidget* m_video = nullptr;
    QTimer* m_timer = nullptr;
    CommonDialog* m_dialog = nullptr;
    QFont m_valueFont;
};

}  // namespace trelvane::ui
