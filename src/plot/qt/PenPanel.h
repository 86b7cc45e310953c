// The pen panel `colorpanel`: for each of the nine pens a caption, a colour swatch with the
// colour's name under it, and a width edit with up-down arrows (0 to 20); headings on aqua and an
// OK button. It holds no settings of its own: the viewer reads the width edits when it draws and
// keeps the colour names, which the swatches' clicks change.
#pragma once

#include "plot/Colour.h"

#include <QFrame>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

namespace zelkova::plot {

class ColourLabel;

class PenPanel final : public QFrame {
    Q_OBJECT
public:
    static constexpr int kPens = 9;

    // Hidden, at the left edge of `parent`; swatches and widths at the pen defaults.
    explicit PenPanel(QWidget* parent);

    // Pens count from 1.
    ColourLabel* caption(int pen) const { return m_captions.at(index(pen)); }   // Label1 ... Label18
    ColourLabel* swatch(int pen) const { return m_swatches.at(index(pen)); }    // cllbl1 ... cllbl9
    QLabel* nameLabel(int pen) const { return m_nameLabels.at(index(pen)); }    // clnlbl1 ... clnlbl9
    QLineEdit* widthEdit(int pen) const { return m_widthEdits.at(index(pen)); } // Edtclw1 ... Edtclw9
    QPushButton* okButton() const { return Button1; }

private:
    static std::size_t index(int pen) { return static_cast<std::size_t>(pen - 1); }

    ColourLabel* Label13 = nullptr; // 線色、線幅の設定変更
    ColourLabel* Label7 = nullptr;  // 変更する色をクリック
    ColourLabel* Label10 = nullptr; // 線幅
    std::array<ColourLabel*, kPens> m_captions{};
    std::array<ColourLabel*, kPens> m_swatches{};
    std::array<QLabel*, kPens> m_nameLabels{};
    std::array<QLineEdit*, kPens> m_widthEdits{}; // pens 5 and 6: edtclw5, edtclw6
    std::array<UpDown*, kPens> m_upDowns{};       // UpDown1 ... UpDown9
    QPushButton* Button1 = nullptr;               // OK
};

} // namespace zelkova::plot
