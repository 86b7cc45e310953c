// The runner's text copy, used for READ copies and WRITE deliveries: the source is read line by
// line (CR LF, a lone CR and a lone LF each end a line; a Ctrl-Z ends the file) and every line is
// written followed by CR LF.
//
// Hand-written rather than built on text::LineReader because it streams hundreds of megabytes:
// it scans whole buffers with memchr and never holds a line by itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace zelkova::runner {

// Where copied bytes come from. Throws text::Failure when reading fails.
class ByteSource {
public:
    virtual ~ByteSource();
    // Reads up to `size` bytes into `buffer`; 0 at the end.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// Where copied bytes go. Throws text::Failure when writing fails.
class ByteSink {
public:
    virtual ~ByteSink();
    virtual void write(std::string_view bytes) = 0;
};

// A file descriptor, read or written with the errors of the general error report. Never owns it.
class DescriptorSource final : public ByteSource {
public:
    explicit DescriptorSource(int fd) : m_fd(fd) {}
    std::size_t read(char* buffer, std::size_t size) override;

private:
    int m_fd;
};

class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd) {}
    void write(std::string_view bytes) override;

private:
    int m_fd;
};

inline constexpr std::size_t kCopyBufferSize = 1 << 20;

// Copies `source` into `sink` by the rule above. `bufferSize` is for tests of the buffer edges.
void copyText(ByteSource& source, ByteSink& sink, std::size_t bufferSize = kCopyBufferSize);

} // namespace zelkova::runner
