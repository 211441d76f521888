#include "GlyphReader.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <array>
#include <cmath>

namespace trelvane::e2e {
namespace {

constexpr QRgb kColourBits = 0x00ffffff;

QRgb colourAt(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] & kColourBits;
}

// The box of the pixels that are not `background`; empty when there are none.
QRect inked(const QImage& image, const QColor& background) {
    const QRgb plain = background.rgb() & kColourBits;
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (colourAt(image, x, y) != plain) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

bool sameAt(const QImage& area, const QImage& needle, int left, int top) {
    for (int y = 0; y < needle.height(); ++y) {
        for (int x = 0; x < needle.width(); ++x) {
            if (colourAt(area, left + x, top + y) != colourAt(needle, x, y)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool sameColumns(const QImage& a, const QImage& b, int columns) {
    if (a.size() != b.size()) {
        return false;
    }
    const int width = std::min(columns, a.width());
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            if (colourAt(a, x, y) != colourAt(b, x, y)) {
                return false;
            }
        }
    }
    return true;
}

bool sameOutside(const QImage& a, const QImage& b, const QRect& area, const QRect& hole) {
    const QImage first = a.convertToFormat(QImage::Format_RGB32);
    const QImage second = b.convertToFormat(QImage::Format_RGB32);
    const QRect inside = area & first.rect() & second.rect();
    if (inside != area) {
        return false;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!hole.contains(x, y) && colourAt(first, x, y) != colourAt(second, x, y)) {
                return false;
            }
        }
    }
    return true;
}

GlyphReader::GlyphReader(const QFont& font, const QColor& text) : m_font(font), m_text(text) {}

// Painted the way the window paints its value labels: a plain-text QLabel
// filling its own background, onto an opaque image as the screen's.
QImage GlyphReader::labelImage(QSize size, const QString& text, const QColor& background) const {
    QLabel label;
    label.setFont(m_font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, m_text);
    label.setPalette(palette);
    label.setAutoFillBackground(true);
    label.setTextFormat(Qt::PlainText);
    label.resize(size);
    label.setText(text);
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    label.render(&image);
    return image;
}

// The columns left of where the last digit ends hold nothing of a digit
// that may follow it: a digit's ink starts at or right of its origin. One
// column is given up to the edge's antialiasing.
bool GlyphReader::viable(const QImage& crop, const QString& digits,
                         const QColor& background) const {
    const QImage drawn = labelImage(crop.size(), digits, background);
    const int columns =
        static_cast<int>(std::floor(QFontMetricsF(m_font).horizontalAdvance(digits))) - 1;
    return sameColumns(drawn, crop, columns);
}

std::optional<QString> GlyphReader::extend(const QImage& crop, const QString& prefix,
                                           const QColor& background) const {
    if (sameColumns(labelImage(crop.size(), prefix, background), crop, crop.width())) {
        return prefix;
    }
    if (prefix.size() >= kLongestNumber) {
        return std::nullopt;
    }
    for (char digit = '0'; digit <= '9'; ++digit) {
        const QString longer = prefix + QLatin1Char(digit);
        if (!viable(crop, longer, background)) {
            continue;
        }
        if (std::optional<QString> found = extend(crop, longer, background)) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<QString> GlyphReader::readNumber(const QImage& crop, const QColor& background) const {
    return extend(crop.convertToFormat(QImage::Format_RGB32), QString(), background);
}

// The line is drawn at each of the quarter-pixel steps at which the font
// places glyphs, as a centred line may start between two pixels.
std::optional<QPoint> GlyphReader::findLine(const QImage& area, const QString& text,
                                            const QColor& background) const {
    const QImage haystack = area.convertToFormat(QImage::Format_RGB32);
    const QFontMetricsF metrics(m_font);
    constexpr int kPad = 4;
    const QSize canvasSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + 2 * kPad,
                           static_cast<int>(std::ceil(metrics.height())) + 2 * kPad);
    for (const qreal phase : std::array{0.0, 0.25, 0.5, 0.75}) {
        QImage canvas(canvasSize, QImage::Format_RGB32);
        canvas.fill(background);
        {
            QPainter painter(&canvas);
            painter.setFont(m_font);
            painter.setPen(m_text);
            painter.drawText(QPointF(kPad + phase, kPad + std::round(metrics.ascent())), text);
        }
        const QRect ink = inked(canvas, background);
        if (ink.isEmpty()) {
            return std::nullopt;
        }
        const QImage needle = canvas.copy(ink);
        for (int top = 0; top + needle.height() <= haystack.height(); ++top) {
            for (int left = 0; left + needle.width() <= haystack.width(); ++left) {
                if (sameAt(haystack, needle, left, top)) {
                    return QPoint(left, top);
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace trelvane::e2e
