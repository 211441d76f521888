#include "ui/qt/FormDesign.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace trelvane::ui {
namespace {

constexpr double kTwipsPerPixel = 15.0;

constexpr std::array<ControlPlace, 22> kPlaces{{
    // The leading blanks are part of the design: they indent the credit.
    {ControlKind::Label, "crd", kFormName, 930, 150, 2775, 255, 0, "  Orvalis Presentation"},
    {ControlKind::PictureButton, "Command1", kFormName, 90, 4305, 855, 360, 1},
    {ControlKind::PictureButton, "Command2", kFormName, 855, 4275, 855, 375, 2},
    {ControlKind::PictureButton, "Command3", kFormName, 1650, 4275, 1005, 375, 3},
    {ControlKind::PictureButton, "Command4", kFormName, 2625, 4260, 900, 375, 4},
    {ControlKind::PictureButton, "Command7", kFormName, 3495, 4290, 900, 375, 5},
    {ControlKind::Frame, "Frame1", kFormName, 165, 5175, 2160, 1185, 6, "Clip Information"},
    {ControlKind::Label, "bp", "Frame1", 60, 285, 1125, 240, 7, "Begin Position :"},
    {ControlKind::Label, "ep1", "Frame1", 60, 570, 1005, 240, 8, "End Position :"},
    {ControlKind::Label, "ln", "Frame1", 60, 825, 585, 195, 9, "Length :"},
    {ControlKind::Frame, "Frame2", kFormName, 2400, 5175, 2070, 525, 10, "Current Time"},
    {ControlKind::PictureButton, "Command9", kFormName, 2625, 5745, 1650, 375, 11},
    {ControlKind::ProgressBar, "pb", kFormName, 135, 6525, 4395, 240, 12},
    {ControlKind::PictureButton, "Command8", kFormName, 2700, 6120, 1485, 375, 13},
    {ControlKind::ValueLabel, "Label7", "Frame1", 1185, 315, 885, 180, 14},
    {ControlKind::ValueLabel, "Label9", "Frame1", 1080, 585, 990, 180, 15},
    {ControlKind::ValueLabel, "Label3", "Frame1", 690, 855, 1380, 180, 16},
    {ControlKind::ValueLabel, "Label4", "Frame2", 90, 240, 1860, 180, 17},
    {ControlKind::PictureButton, "Command5", kFormName, 840, 4740, 1395, 375, 18},
    {ControlKind::PictureButton, "Command6", kFormName, 2220, 4725, 1365, 375, 19},
    {ControlKind::Slider, "H", kFormName, 135, 3855, 4215, 375, 20},
    {ControlKind::VideoFrame, "P", kFormName, 210, 465, 4095, 3330, 21},
}};

constexpr std::array<FaceDesign, 9> kFaces{{
    {PictureButton::Command1, "Command1", "Play", 57, 24},
    {PictureButton::Command2, "Command2", "Stop", 59, 28},
    {PictureButton::Command3, "Command3", "Pause", 69, 27},
    {PictureButton::Command4, "Command4", "Open", 61, 28},
    {PictureButton::Command5, "Command5", "Select Start", 93, 27},
    {PictureButton::Command6, "Command6", "Select End", 91, 28},
    {PictureButton::Command7, "Command7", "Save", 62, 26},
    {PictureButton::Command8, "Command8", "Home Page", 99, 26},
    {PictureButton::Command9, "Command9", "Play Selected", 112, 26},
}};

}  // namespace

QString designText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

QRect pixelRect(const ControlPlace& place) {
    return QRect(twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
                 twipsToPixels(place.height));
}

QSize formPixelSize() {
    return QSize(twipsToPixels(kFormWidthTwips), twipsToPixels(kFormHeightTwips));
}

std::span<const ControlPlace> controlPlaces() {
    return kPlaces;
}

const ControlPlace& controlPlace(std::string_view name) {
    for (const ControlPlace& place : kPlaces) {
        if (place.name == name) {
            return place;
        }
    }
    throw std::logic_error("no control named " + std::string(name));
}

std::span<const FaceDesign> faceDesigns() {
    return kFaces;
}

const FaceDesign& faceDesign(PictureButton button) {
    return kFaces.at(static_cast<std::size_t>(button));
}

}  // namespace trelvane::ui
