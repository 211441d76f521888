#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <span>
#include <string_view>

#include "ui/Toolkit.h"

namespace trelvane::ui {

enum class ControlKind { Label, ValueLabel, Frame, PictureButton, Slider, ProgressBar, VideoFrame };

// The main window as designed, in twips: 15 twips make one pixel. A control
// inside a frame is placed relative to that frame's top left corner. The
// caption is the fixed text of a label or frame.
struct ControlPlace {
    ControlKind kind;
    std::string_view name;
    std::string_view container;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    std::string_view caption = {};
};

// A picture button's face: the text drawn into its bitmap and the bitmap's
// size in pixels, which need not match the box that shows it.
struct FaceDesign {
    PictureButton button;
    std::string_view name;
    std::string_view text;
    int bitmapWidth;
    int bitmapHeight;
};

inline constexpr std::string_view kFormName = "Form1";
inline constexpr int kFormWidthTwips = 4575;
inline constexpr int kFormHeightTwips = 6855;

QString designText(std::string_view text);
int twipsToPixels(int twips);
QRect pixelRect(const ControlPlace& place);
QSize formPixelSize();

// In tab order.
std::span<const ControlPlace> controlPlaces();
const ControlPlace& controlPlace(std::string_view name);

// In the order of the PictureButton enumeration.
std::span<const FaceDesign> faceDesigns();
const FaceDesign& faceDesign(PictureButton button);

}  // namespace trelvane::ui
