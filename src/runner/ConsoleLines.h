// A started program's console output as a console window shows it: rows of at most a fixed number
// of columns, a CR going back to the start of the row (later output overwrites it), an LF or a
// CR LF starting the next row, a backspace moving back one column, a tab moving to the next
// multiple of eight, and a row that is full continuing on the next one.
//
// Hand-written: a terminal-emulation library (libvterm) decodes UTF-8 and ISO 2022 sets, not code
// page 932, and brings a whole screen with cursor addressing that a batch program's console does
// not need. Rows are kept as code-page-932 bytes, so that one byte is one column and a double-byte
// character two, as in a console; escape sequences are dropped rather than shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::runner {

class ConsoleLines {
public:
    explicit ConsoleLines(std::size_t columns = 80);

    // Takes the next piece of output, cut anywhere (even inside a double-byte character). The rows
    // that the cursor leaves for good go to `completed`, in order.
    void write(std::string_view bytes, std::vector<std::string>& completed);

    // The row the cursor is on, as it stands (later output may still change it).
    const std::string& currentRow() const { return m_row; }
    // The cursor's column in that row, from 0; a double-byte character is two columns wide. Equal
    // to the column count while a full row waits for its next character.
    std::size_t column() const { return m_column; }

private:
    void put(std::string_view character, std::vector<std::string>& completed);
    void startRow(std::vector<std::string>& completed);

    enum class Escape { None, Start, ControlSequence };

    std::size_t m_columns;
    std::string m_row;
    std::size_t m_column = 0;
    char m_lead = 0; // the lead byte of a double-byte character cut off at the end of a piece
    bool m_hasLead = false;
    Escape m_escape = Escape::None;
};

} // namespace zelkova::runner
