// A label on a background of a colour value, as the pen panel's swatches, row captions and
// headings are. System colours show in the desktop's current colours (followed when they change);
// no colour leaves the background to the parent and, where the label has no text (a swatch), shows
// an empty frame crossed out. A left click (press and release over the label) is reported.
#pragma once

#include "plot/Colour.h"

#include <QLabel>

namespace zelkova::plot {

class ColourLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ColourLabel(const QString& text, Colour colour, QWidget* parent = nullptr);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Colour m_colour;
    bool m_pressed = false;
};

} // namespace zelkova::plot
