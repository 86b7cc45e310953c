// The scale panel `Panel2`: the scale box `Edit2` (N of the scale 1/N) with its captions and an
// OK button. The viewer reads the box at the start of every figure.
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zelkova::plot {

class ScalePanel final : public QFrame {
    Q_OBJECT
public:
    // Hidden, over the figure; the box shows "1".
    explicit ScalePanel(QWidget* parent);

    QLineEdit* scaleEdit() const { return Edit2; }
    QPushButton* okButton() const { return Button2; }

private:
    QLabel* Label9 = nullptr;   // 作図ﾌｧｲﾙ読み込み時に適用する
    QLabel* Label8 = nullptr;   // 縮尺：　１／
    QLineEdit* Edit2 = nullptr; // N of 1/N
    QPushButton* Button2 = nullptr;
};

} // namespace zelkova::plot
