// The plot viewer's view image: a bitmap of the widget's size that figures are stretched onto and
// that keeps what was drawn on it until the next redisplay, shown as it is. It reports the mouse
// (a press, the moves while a button is held, wherever the mouse goes then, and the release), the
// wheel and the navigation keys, and draws the selection frame by inverting the pixels of its
// outline.
#pragma once

#include <QImage>
#include <QWidget>

namespace zelkova::plot {

class ViewImage final : public QWidget {
    Q_OBJECT
public:
    ViewImage(int width, int height, QWidget* parent = nullptr);

    // The pixels; call update() after drawing on them.
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

    // Clears the whole image to white.
    void clear();

    // Draws the frame between two corners in not-xor mode with a black one-pixel pen and a white
    // brush: every pixel of the outline is inverted once and the inside is left as it is, so that
    // drawing the same frame again restores the image. The outline runs round the pixels from the
    // smaller x to the larger x − 1 and from the smaller y to the larger y − 1 (a rectangle's right
    // and bottom edges lie outside it); a frame without width or height draws nothing. Pixels
    // outside the image are left out.
    void invertFrame(int x1, int y1, int x2, int y2);

signals:
    // Positions in view-image pixels; they may lie outside the image while a button is held.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Whole wheel notches at (x, y): positive turned away from the user.
    void wheelTurned(int notches, int x, int y);
    // An arrow key, Page Up, Page Down or Home.
    void navigationKey(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage m_image;
    int m_wheelAngle = 0; // eighths of a degree not yet turned into notches
};

} // namespace zelkova::plot
