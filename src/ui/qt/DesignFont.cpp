#include "ui/qt/DesignFont.h"

#include <QFontMetrics>
#include <initializer_list>

#include "ui/qt/CaptionFrame.h"
#include "ui/qt/FaceButton.h"
#include "ui/qt/FormDesign.h"

namespace trelvane::ui {
namespace {

constexpr qreal kSmallestPointSize = 6.5;
constexpr qreal kPointStep = 0.5;
constexpr int kSmallestPixelSize = 9;

// The desktop's own letters, a little narrower, and as narrow as still
// reads well.
constexpr int kAsTheDesktops = QFont::AnyStretch;
constexpr std::initializer_list<int> kNarrowing = {kAsTheDesktops, QFont::SemiCondensed,
                                                   QFont::Condensed};
constexpr std::initializer_list<int> kPlain = {kAsTheDesktops};

bool fitsFixedText(const QFontMetrics& metrics, const ControlPlace& place) {
    const QRect box = pixelRect(place);
    const int width = metrics.horizontalAdvance(designText(place.caption));
    switch (place.kind) {
        case ControlKind::Label:
            return width <= box.width() && metrics.ascent() <= box.height();
        case ControlKind::Frame:
            return width <= CaptionFrame::captionRoom(box.width());
        default:
            return true;
    }
}

bool fitsFace(const QFontMetrics& metrics, const FaceDesign& face) {
    const QSize room = FaceButton::textRoom(QSize(face.bitmapWidth, face.bitmapHeight));
    return metrics.horizontalAdvance(designText(face.text)) <= room.width() &&
           metrics.ascent() <= room.height();
}

bool fitsFixedTexts(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const ControlPlace& place : controlPlaces()) {
        if (!fitsFixedText(metrics, place)) {
            return false;
        }
    }
    for (const FaceDesign& face : faceDesigns()) {
        if (!fitsFace(metrics, face)) {
            return false;
        }
    }
    return true;
}

bool fitsValues(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const ControlPlace& place : controlPlaces()) {
        if (place.kind == ControlKind::ValueLabel && metrics.ascent() > pixelRect(place).height()) {
            return false;
        }
    }
    return true;
}

// One step smaller; false when the font is as small as it may get.
bool shrink(QFont& font) {
    if (font.pointSizeF() > 0) {
        if (font.pointSizeF() - kPointStep < kSmallestPointSize) {
            return false;
        }
        font.setPointSizeF(font.pointSizeF() - kPointStep);
        return true;
    }
    if (font.pixelSize() - 1 < kSmallestPixelSize) {
        return false;
    }
    font.setPixelSize(font.pixelSize() - 1);
    return true;
}

// The largest size, and at that size the widest letters, that fit; the
// smallest size, unstretched, when nothing does.
QFont fit(const QFont& desktopFont, bool (*fits)(const QFont&),
          std::initializer_list<int> stretches) {
    QFont font = desktopFont;
    do {
        for (const int stretch : stretches) {
            font.setStretch(stretch == kAsTheDesktops ? desktopFont.stretch() : stretch);
            if (fits(font)) {
                return font;
            }
        }
    } while (shrink(font));
    font.setStretch(desktopFont.stretch());
    return font;
}

}  // namespace

QFont fitFixedTextFont(const QFont& desktopFont) {
    return fit(desktopFont, fitsFixedTexts, kNarrowing);
}

QFont fitValueFont(const QFont& desktopFont) {
    return fit(desktopFont, fitsValues, kPlain);
}

}  // namespace trelvane::ui
