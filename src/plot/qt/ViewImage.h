// The plot viewer's view image: a bitmap of the widget's size that figures are stretched onto and
// that keeps what was drawn on it until the next redisplay, shown as it is.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

} // namespace zelkova::plot
