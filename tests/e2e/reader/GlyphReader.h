#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

namespace trelvane::e2e {

// Reads text off screenshots by rendering candidates with the same font and
// the same painting code as the window under test, and comparing every
// pixel. A reading is either exact or there is none: a crop that a rendering
// of the claimed text does not reproduce pixel for pixel is unreadable.
class GlyphReader {
public:
    GlyphReader(const QFont& font, const QColor& text);

    // The digits a plain label of the crop's size shows on `background`
    // ("" for an empty label), when one string of up to `kLongestNumber`
    // digits renders exactly as the crop; none otherwise.
    std::optional<QString> readNumber(const QImage& crop, const QColor& background) const;

    // Where in `area` the line `text` is drawn in whole, on `background`:
    // the top left corner of its inked pixels, or none.
    std::optional<QPoint> findLine(const QImage& area, const QString& text,
                                   const QColor& background) const;

    // The crop a plain label of `size` showing `text` on `background` paints.
    QImage labelImage(QSize size, const QString& text, const QColor& background) const;

    static constexpr int kLongestNumber = 7;

private:
    bool viable(const QImage& crop, const QString& digits, const QColor& background) const;
    std::optional<QString> extend(const QImage& crop, const QString& prefix,
                                  const QColor& background) const;

    QFont m_font;
    QColor m_text;
};

// Two images of one size agree on every pixel of columns [0, columns).
bool sameColumns(const QImage& a, const QImage& b, int columns);

// Two images agree on every pixel of `area` that lies outside `hole`.
bool sameOutside(const QImage& a, const QImage& b, const QRect& area, const QRect& hole);

}  // namespace trelvane::e2e
