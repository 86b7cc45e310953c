// The editor's own modeless find and replace dialogs (Qt has no standard ones). Each holds a
// search text, for replacing a replacement text, and a match-case box; there is no whole-word and
// no up/down choice, since searching always runs forward. Both texts hold at most 255 bytes of
// code page 932 and are cut there without splitting a character.
//
// The dialog only asks: its buttons announce Find Next and Replace, and the editor window does the
// searching. Replace and Replace All are one request, told apart by the replace option.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zelkova::editor {

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };
    enum class ReplaceOption { Replace, ReplaceAll };

    SearchDialog(Kind kind, QWidget* parent);

    QString findText() const;
    // Takes `text` as the search text, cut at 255 bytes.
    void setFindText(const QString& text);
    QString replaceText() const;
    bool matchCase() const;
    void setMatchCase(bool on);

    ReplaceOption replaceOption() const { return m_replaceOption; }
    void setReplaceOption(ReplaceOption option) { m_replaceOption = option; }

signals:
    void findNextRequested();
    // Replace or Replace All, as replaceOption() says.
    void replaceRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void keepWithinLimit(QLineEdit* edit);
    void updateButtons();

    QLineEdit* m_findText = nullptr;
    QLineEdit* m_replaceText = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
    ReplaceOption m_replaceOption = ReplaceOption::Replace;
};

} // namespace zelkova::editor
