// A pair of arrow buttons beside a numeric edit that step the edit's number by one within a range,
// without wrapping around (the listing window's character and line counts, the pen panel's widths).
// The edit stays the value: a typed number outside the range is kept as typed until an arrow is
// used, and whoever reads the setting reads the edit's text. The two arrows share the control's
// height, 16 by 22 pixels unless it is placed otherwise.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {16, 22}; }

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

public slots:
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* m_associate;
    int m_minimum;
    int m_maximum;
    int m_position;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};
