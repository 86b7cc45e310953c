// The find and replace dialogs' controls.
#include "editor/qt/SearchDialog.h"

#include "editor/TextSearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkova::editor {

namespace {

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

std::u16string_view utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString withinLimit(const QString& text) {
    return text.left(static_cast<qsizetype>(prefixWithinCp932Bytes(utf16Of(text), kSearchTextBytes)));
}

} // namespace

SearchDialog::SearchDialog(Kind kind, QWidget* parent) : QDialog(parent) {
    const bool replacing = kind == Kind::Replace;
    setObjectName(replacing ? QStringLiteral("ReplaceDialog1") : QStringLiteral("finddialog1"));
    setWindowTitle(replacing ? QStringLiteral("置換") : QStringLiteral("検索"));
    setModal(false);

    auto* fields = new QGridLayout;
    m_findText = named(new QLineEdit(this), "FindText");
    auto* findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    findLabel->setBuddy(m_findText);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findText, 0, 1);
    if (replacing) {
        m_replaceText = named(new QLineEdit(this), "ReplaceText");
        auto* replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
        replaceLabel->setBuddy(m_replaceText);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replaceText, 1, 1);
    }
    m_matchCase = named(new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this), "MatchCase");
    fields->addWidget(m_matchCase, 2, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    m_findNext = named(new QPushButton(QStringLiteral("次を検索(&F)"), this), "FindNextButton");
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, &SearchDialog::findNextRequested);
    if (replacing) {
        m_replace = named(new QPushButton(QStringLiteral("置換(&R)"), this), "ReplaceButton");
        m_replaceAll = named(new QPushButton(QStringLiteral("すべて置換(&A)"), this), "ReplaceAllButton");
        buttons->addWidget(m_replace);
        buttons->addWidget(m_replaceAll);
        connect(m_replace, &QPushButton::clicked, this, [this] {
            m_replaceOption = ReplaceOption::Replace;
            emit replaceRequested();
        });
        connect(m_replaceAll, &QPushButton::clicked, this, [this] {
            m_replaceOption = ReplaceOption::ReplaceAll;
            emit replaceRequested();
        });
    }
    auto* cancel = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelButton");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0);
    layout->addLayout(buttons, 0, 1);

    for (QLineEdit* edit : {m_findText, m_replaceText}) {
        if (edit)
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { keepWithinLimit(edit); });
    }
    updateButtons();
}

// Opened, the dialog waits for a search text: typing replaces the one it shows.
void SearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_findText->setFocus();
    m_findText->selectAll();
}

QString SearchDialog::findText() const {
    return m_findText->text();
}

void SearchDialog::setFindText(const QString& text) {
    m_findText->setText(withinLimit(text));
}

QString SearchDialog::replaceText() const {
    return m_replaceText ? m_replaceText->text() : QString();
}

bool SearchDialog::matchCase() const {
    return m_matchCase->isChecked();
}

void SearchDialog::setMatchCase(bool on) {
    m_matchCase->setChecked(on);
}

void SearchDialog::keepWithinLimit(QLineEdit* edit) {
    const QString text = edit->text();
    const QString kept = withinLimit(text);
    if (kept.size() != text.size()) {
        const int cursor = std::min(edit->cursorPosition(), static_cast<int>(kept.size()));
        edit->setText(kept);
        edit->setCursorPosition(cursor);
    }
    updateButtons();
}

// Nothing to look for: the buttons that search wait for a search text.
void SearchDialog::updateButtons() {
    const bool hasText = !m_findText->text().isEmpty();
    for (QPushButton* button : {m_findNext, m_replace, m_replaceAll}) {
        if (button)
            button->setEnabled(hasText);
    }
}

} // namespace zelkova::editor
