// The parts of the output file that do not depend on the operating system: gathering the lines
// and handing them on.
#include "filter/OutputFile.h"

#include "filter/Failure.h"

#include <cerrno>

namespace zelkova::filter {

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::writeLine(std::string_view line) {
    m_pending.append(line);
    m_pending.append("\r\n");
    if (m_pending.size() >= kFlushSize)
        flush();
}

void OutputFile::writeOut(std::string_view bytes) {
    if (m_method != Method::Replace) {
        m_inPlaceContents.append(bytes);
        return;
    }
    if (!writeAll(m_temporaryFd, bytes))
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
}

void OutputFile::flush() {
    writeOut(m_pending);
    m_pending.clear();
}

} // namespace zelkova::filter
