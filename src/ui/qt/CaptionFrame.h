#pragma once

#include <QWidget>

namespace trelvane::ui {

// A frame: a rectangle that groups controls, with an optional caption set
// into its top edge. Children are placed relative to its top left corner.
class CaptionFrame : public QWidget {
    Q_OBJECT

public:
    CaptionFrame(const QString& caption, QWidget* parent);

    QString caption() const { return m_caption; }
    // The width a frame that wide leaves for its caption.
    static int captionRoom(int frameWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

}  // namespace trelvane::ui
