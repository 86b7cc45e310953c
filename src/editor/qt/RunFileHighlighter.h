// Paints a run file's line colours. The colours are worked out by the recolouring pass (TForm1's
// cmtflgchk) and handed over whole; the highlighter only paints them. A syntax highlighter's
// formats are display-only: they neither mark the document modified nor enter its undo history,
// and they leave the caret and the selection alone.
//
// Each line keeps its colour as its block state, so lines typed between two passes take the
// colour of the line they were split from (or the line above) until the next pass repaints all.
#pragma once

#include "editor/LineColouring.h"

#include <QSyntaxHighlighter>

#include <vector>

namespace zelkova::editor {

class RunFileHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit RunFileHighlighter(QObject* parent);

    // Paints `colours` (one per line from the first) onto `document` in one pass.
    void paint(QTextDocument* document, const std::vector<LineColour>& colours);

    // Removes every colour: the document shows the default text colour again.
    void clear();

protected:
    void highlightBlock(const QString& text) override;

private:
    std::vector<LineColour> m_pass;
    bool m_inPass = false;
};

} // namespace zelkova::editor
