// The text copy with its line ends and Ctrl-Z.
#include "runner/TextCopy.h"

#include "text/Failure.h"
#include "text/Lines.h"
#include "text/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace zelkova::runner {

ByteSource::~ByteSource() = default;
ByteSink::~ByteSink() = default;

std::size_t DescriptorSource::read(char* buffer, std::size_t size) {
    const std::ptrdiff_t n = text::readSome(m_fd, buffer, size);
    if (n < 0)
        throw text::ioFailure(errno);
    return static_cast<std::size_t>(n);
}

void DescriptorSink::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::ptrdiff_t n = text::writeSome(m_fd, bytes.data(), bytes.size());
        if (n < 0)
            throw text::ioFailure(errno);
        if (n == 0)
            throw text::ioFailure(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

namespace {

// Collects small pieces of output and hands them to the sink in large ones; a large piece goes
// to the sink straight from where it lies, after whatever was collected before it.
class Output {
public:
    Output(ByteSink& sink, std::size_t capacity) : m_sink(sink), m_capacity(capacity) {
        m_data.reserve(capacity);
    }
    void append(const char* bytes, std::size_t size) {
        if (size >= m_capacity / 2) {
            flush();
            m_sink.write(std::string_view(bytes, size));
            return;
        }
        if (m_data.size() + size > m_capacity)
            flush();
        m_data.append(bytes, size);
    }
    void lineEnd() { append("\r\n", 2); }
    void flush() {
        if (!m_data.empty())
            m_sink.write(m_data);
        m_data.clear();
    }

private:
    ByteSink& m_sink;
    std::size_t m_capacity;
    std::string m_data;
};

const char* findOrEnd(const char* from, const char* end, char c) {
    const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return at ? static_cast<const char*>(at) : end;
}

} // namespace

void copyText(ByteSource& source, ByteSink& sink, std::size_t bufferSize) {
    bufferSize = std::max<std::size_t>(bufferSize, 1);
    std::vector<char> buffer(bufferSize);
    Output out(sink, std::max<std::size_t>(bufferSize, 64));
    bool lineOpen = false;  // bytes of a line have been written since the last line end
    bool crPending = false; // the previous buffer ended with a CR; an LF next belongs to it
    for (;;) {
        const std::size_t got = source.read(buffer.data(), bufferSize);
        if (got == 0)
            break;
        const char* p = buffer.data();
        const char* const filled = p + got;
        const char* const end = findOrEnd(p, filled, text::kCtrlZ);
        if (crPending && p < end && *p == '\n')
            ++p;
        crPending = false;
        // Lines that already end in CR LF are written as they stand, as one stretch of the buffer;
        // the stretch ends at a lone CR or a lone LF, which is written as CR LF.
        const char* stretch = p;
        const char* nextCr = findOrEnd(p, end, '\r');
        const char* nextLf = findOrEnd(p, end, '\n');
        while (p < end) {
            if (nextCr < p)
                nextCr = findOrEnd(p, end, '\r');
            if (nextLf < p)
                nextLf = findOrEnd(p, end, '\n');
            const char* lineEnd = std::min(nextCr, nextLf);
            if (lineEnd == end) {
                lineOpen = true; // the rest of the buffer is the start of a line
                break;
            }
            lineOpen = false;
            if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') {
                p = lineEnd + 2;
                continue;
            }
            out.append(stretch, static_cast<std::size_t>(lineEnd - stretch));
            out.lineEnd();
            p = lineEnd + 1;
            stretch = p;
            // A CR that ends the buffer may have its LF at the start of the next one.
            if (*lineEnd == '\r' && p == filled)
                crPending = true;
        }
        out.append(stretch, static_cast<std::size_t>(end - stretch));
        if (end != filled)
            break; // a Ctrl-Z ends the file
    }
    if (lineOpen)
        out.lineEnd();
    out.flush();
}

} // namespace zelkova::runner
