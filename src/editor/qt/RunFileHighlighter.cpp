// Run-file line colours through a syntax highlighter.
#include "editor/qt/RunFileHighlighter.h"

#include <QTextDocument>

namespace zelkova::editor {

namespace {
// Block states: no colour yet, black, blue.
constexpr int kNoColour = -1;
constexpr int kBlack = 0;
constexpr int kBlue = 1;

int stateOf(LineColour colour) {
    return colour == LineColour::Black ? kBlack : kBlue;
}
} // namespace

RunFileHighlighter::RunFileHighlighter(QObject* parent) : QSyntaxHighlighter(parent) {}

void RunFileHighlighter::paint(QTextDocument* target, const std::vector<LineColour>& colours) {
    m_pass = colours;
    m_inPass = true;
    if (document() != target)
        setDocument(target);
    rehighlight();
    m_inPass = false;
    m_pass.clear();
}

void RunFileHighlighter::clear() {
    if (document())
        setDocument(nullptr);
}

void RunFileHighlighter::highlightBlock(const QString& text) {
    const auto line = static_cast<std::size_t>(currentBlock().blockNumber());
    int state = currentBlockState();
    if (m_inPass && line < m_pass.size() && m_pass[line] != LineColour::Unchanged)
        state = stateOf(m_pass[line]);
    if (state == kNoColour)
        state = previousBlockState();
    setCurrentBlockState(state);
    if (state == kNoColour || text.isEmpty())
        return;
    QTextCharFormat format;
    format.setForeground(state == kBlue ? QColor(0, 0, 255) : QColor(0, 0, 0));
    setFormat(0, static_cast<int>(text.size()), format);
}

} // namespace zelkova::editor
