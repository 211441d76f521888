#include "ui/qt/MainWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "ui/qt/Accessibility.h"
#include "ui/qt/CaptionFrame.h"
#include "ui/qt/ClickSlider.h"
#include "ui/qt/CommonDialog.h"
#include "ui/qt/DesignFont.h"
#include "ui/qt/FaceButton.h"
#include "ui/qt/FormDesign.h"
#include "ui/qt/WindowIcon.h"

namespace trelvane::ui {
namespace {

const QColor kValueLabelBackground(224, 224, 224);
constexpr int kTimerIntervalMs = 1000;

void setBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setUpWindow();
    createTopControls();
    createButtons();
    createFrames();
    createProgress();
    orderTabs();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("T"));
    m_timer->setInterval(kTimerIntervalMs);
    m_dialog = new CommonDialog(this);
    m_dialog->setObjectName(QStringLiteral("Cdlg"));
    describeControls(*this);
}

void MainWindow::setUpWindow() {
    setObjectName(designText(kFormName));
    setWindowTitle(QStringLiteral("Trelvane 2.0"));
    setWindowIcon(loadWindowIcon());
    // A fixed layout gains nothing from a larger frame, so no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(formPixelSize());
    m_valueFont = fitValueFont(font());
    setFont(fitFixedTextFont(font()));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
}

template <class Control, class... Args>
Control* MainWindow::place(std::string_view name, Args&&... args) {
    const ControlPlace& where = controlPlace(name);
    QWidget* container = this;
    if (where.container != kFormName) {
        container = findChild<QWidget*>(designText(where.container), Qt::FindDirectChildrenOnly);
    }
    auto* control = new Control(std::forward<Args>(args)..., container);
    control->setObjectName(designText(name));
    control->setGeometry(pixelRect(where));
    return control;
}

QLabel* MainWindow::placeLabel(std::string_view name) {
    QLabel* label = place<QLabel>(name, designText(controlPlace(name).caption));
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    return label;
}

void MainWindow::placeFrame(std::string_view name) {
    place<CaptionFrame>(name, designText(controlPlace(name).caption));
}

QLabel* MainWindow::placeValueLabel(std::string_view name) {
    QLabel* label = placeLabel(name);
    label->setFont(m_valueFont);
    setBackground(*label, kValueLabelBackground);
    return label;
}

void MainWindow::createTopControls() {
    placeLabel("crd");
    m_video = place<QWidget>("P");
    setBackground(*m_video, Qt::black);
    // Only P needs a window of its own; its ancestors stay as they are.
    m_video->setAttribute(Qt::WA_DontCreateNativeAncestors);
    m_video->setAttribute(Qt::WA_NativeWindow);
    m_slider = place<ClickSlider>("H");
    m_slider->setRange(0, 10);
    m_slider->setValue(0);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
}

void MainWindow::createButtons() {
    for (const FaceDesign& design : faceDesigns()) {
        m_buttons.at(static_cast<std::size_t>(design.button)) = place<FaceButton>(
            design.name, designText(design.text), QSize(design.bitmapWidth, design.bitmapHeight));
    }
}

void MainWindow::createFrames() {
    placeFrame("Frame1");
    placeLabel("bp");
    placeLabel("ep1");
    placeLabel("ln");
    placeFrame("Frame2");
    m_valueLabels = {placeValueLabel("Label3"), placeValueLabel("Label4"),
                     placeValueLabel("Label7"), placeValueLabel("Label9")};
}

void MainWindow::createProgress() {
    m_progress = place<QProgressBar>("pb");
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
}

// Labels, frames, P and the bar take no focus and so have no place in the
// chain; Qt refuses to order them.
void MainWindow::orderTabs() {
    QWidget* previous = nullptr;
    for (const ControlPlace& where : controlPlaces()) {
        auto* control = findChild<QWidget*>(designText(where.name));
        if ((control->focusPolicy() & Qt::TabFocus) == 0) {
            continue;
        }
        if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
}

FaceButton& MainWindow::button(PictureButton button) const {
    return *m_buttons.at(static_cast<std::size_t>(button));
}

QLabel& MainWindow::valueLabel(ValueLabel label) const {
    return *m_valueLabels.at(static_cast<std::size_t>(label));
}

void MainWindow::showValue(ValueLabel label, const QString& text) {
    QLabel& shown = valueLabel(label);
    shown.setText(text);
    // A label's own text is its name only while it has none; the name says
    // what the number is, so the number goes into it.
    shown.setAccessibleName(valueLabelName(shown.objectName().toStdString(), text));
}

ClickSlider& MainWindow::slider() const {
    return *m_slider;
}

QProgressBar& MainWindow::progressBar() const {
    return *m_progress;
}

QWidget& MainWindow::videoFrame() const {
    return *m_video;
}

QTimer& MainWindow::timer() const {
    return *m_timer;
}

CommonDialog& MainWindow::commonDialog() const {
    return *m_dialog;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The unload handler ends the program itself; the window never closes
    // without it having run.
    event->ignore();
    emit closeRequested();
}

}  // namespace trelvane::ui
