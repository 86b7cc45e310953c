// The runner: reads the run file line by line and runs each case at its program line.
//
// File names in the run file are code-page-932 text; they are decoded once, when their line is
// read, and every later step works on native names. Any failure of the file system that has no
// message of its own ends the run through the general error report.
#include "runner/Runner.h"

#include "runner/Names.h"
#include "runner/RunFileLines.h"
#include "runner/RunnerMessages.h"
#include "runner/TextCopy.h"
#include "text/Cp932.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Lines.h"
#include "text/Paths.h"
#include "text/SystemFiles.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace zelkova::runner {

namespace {

// An open file descriptor, closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            text::closeFile(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and reports what closing found (a write-back error shows here).
    void close() {
        const int fd = m_fd;
        m_fd = -1;
        if (fd >= 0 && text::closeFile(fd) != 0)
            throw text::ioFailure(errno);
    }

private:
    int m_fd;
};

// A name in a folder that does not exist is "path not found" on the platform the run files come
// from, where this system says only "no such file"; the runner reports it the former way.
text::Failure withPathNotFound(const text::Failure& failure, const std::string& name) {
    if (inMissingFolder(name))
        return text::Failure(text::ioErrorText(text::error::PathNotFound));
    return failure;
}

// Opens an input of the run: a regular file only, never waiting on a FIFO. Throws text::Failure.
Descriptor openInput(const std::string& name) {
    try {
        return Descriptor(text::openInputDescriptor(name));
    } catch (const text::Failure& failure) {
        throw withPathNotFound(failure, name);
    }
}

// Creates or empties a READ copy. A name holding a NUL byte names no file, and a FIFO in its place
// is not waited for. Throws text::Failure.
Descriptor createOrEmpty(const std::string& name) {
    if (text::holdsNulByte(name))
        throw text::Failure(text::ioErrorText(text::error::PathNotFound));
    Descriptor fd(text::createOrEmpty(name));
    if (!fd.valid())
        throw withPathNotFound(text::ioFailure(errno), name);
    return fd;
}

// Writes the copied text into the output file being replaced.
class ReplacementSink final : public ByteSink {
public:
    explicit ReplacementSink(text::FileReplacement& file) : m_file(file) {}
    void write(std::string_view bytes) override { m_file.write(bytes); }

private:
    text::FileReplacement& m_file;
};

struct Pair {
    std::string unitName;   // native, as written
    std::string actualName; // native, as written
};

struct ResolvedPair {
    std::string unit;
    std::string actual;
};

class Run {
public:
    Run(const RunRequest& request, platform::MessageBoxes& messages, platform::ProcessLauncher& processes)
        : m_request(request), m_messages(messages), m_processes(processes),
          m_openedFolder(text::folderPart(request.openedFileName)) {}

    RunOutcome run() {
        try {
            return readRunFile() ? RunOutcome::Finished : RunOutcome::Stopped;
        } catch (const text::Failure& failure) {
            m_messages.generalError(failure.what());
            return RunOutcome::Stopped;
        }
    }

private:
    // False when a case stopped the run.
    bool readRunFile() {
        text::InputFile file;
        try {
            file = text::openInputFile(m_request.runFilePath);
        } catch (const text::Failure& failure) {
            throw withPathNotFound(failure, m_request.runFilePath);
        }
        text::LineReader reader(file.get());
        CommentBlocks blocks;
        std::string line;
        while (reader.next(line)) {
            switch (blocks.classify(line)) {
            case LineKind::Read:
                m_reads.push_back(pairOf(line));
                break;
            case LineKind::Write:
                m_writes.push_back(pairOf(line));
                break;
            case LineKind::Program:
                if (!runCase(text::cp932ToUtf8(programPathOf(line))))
                    return false;
                m_reads.clear();
                m_writes.clear();
                break;
            case LineKind::Empty:
            case LineKind::CommentStart:
            case LineKind::CommentEnd:
            case LineKind::Comment:
                break;
            }
        }
        return true;
    }

    static Pair pairOf(std::string_view line) {
        const Binding binding = bindingOf(line);
        return {text::cp932ToUtf8(binding.unitName), text::cp932ToUtf8(binding.actualName)};
    }

    ResolvedPair resolve(const Pair& pair) const {
        return {resolvedName(pair.unitName, m_programFolder), resolvedName(pair.actualName, m_openedFolder)};
    }

    static bool sameName(const ResolvedPair& pair) {
        // The same file under another form of its path counts too: copying a file onto itself
        // would empty it before it is read.
        return pair.unit == pair.actual || sameFile(pair.unit, pair.actual);
    }

    bool runCase(const std::string& programPath) {
        if (!text::existsAsFile(programPath)) {
            m_messages.plain(std::string(kNoProgramText) + programPath);
            return false;
        }
        m_programFolder = text::folderPart(programPath);

        for (const Pair& read : m_reads) {
            const ResolvedPair names = resolve(read);
            if (sameName(names)) {
                m_messages.plain(std::string(kReadSameNameText) + names.unit);
                return false;
            }
            if (!text::existsAsFile(names.actual)) {
                m_messages.plain(std::string(kNoReadFileText) + names.actual);
                return false;
            }
            copyInput(names);
        }

        std::vector<ResolvedPair> outputs;
        outputs.reserve(m_writes.size());
        for (const Pair& write : m_writes) {
            outputs.push_back(resolve(write));
            const std::string& unit = outputs.back().unit;
            if (text::existsAsFile(unit) && text::removeFile(unit) != 0) {
                m_messages.error(kStaleWriteNotDeletedText);
                return false;
            }
        }

        // Whether the program started is not looked at: one that could not start leaves its
        // outputs missing, and the first of them is reported below.
        (void)m_processes.runAndWait(programPath, m_programFolder);

        for (const Pair& read : m_reads) {
            const std::string unit = resolvedName(read.unitName, m_programFolder);
            if (const int err = text::removeFile(unit); err != 0)
                throw text::ioFailure(err);
        }

        for (const ResolvedPair& output : outputs)
            if (!deliver(output))
                return false;
        return true;
    }

    void copyInput(const ResolvedPair& names) {
        Descriptor source = openInput(names.actual);
        Descriptor copy = createOrEmpty(names.unit);
        DescriptorSource from(source.get());
        DescriptorSink to(copy.get());
        copyText(from, to);
        copy.close();
    }

    std::string viewerCaption() const {
        return m_request.viewerCaption ? m_request.viewerCaption() : std::string(kViewerCaptionWithoutPlot);
    }

    bool deliver(const ResolvedPair& names) {
        if (!text::existsAsFile(names.unit)) {
            m_messages.plain(std::string(kNoWriteOutputText) + names.unit);
            return false;
        }
        if (sameName(names)) {
            m_messages.plain(std::string(kWriteSameNameText) + names.unit);
            return false;
        }
        Descriptor output = openInput(names.unit);
        const std::string caption = viewerCaption();
        if (equalIgnoringCase(names.actual, caption) || sameFile(names.actual, caption)) {
            m_messages.plain(targetInViewerText(names.actual));
            return false;
        }
        // The output goes into a new file beside the user's file, which takes its place only once
        // it holds all of it; a failure leaves the user's previous result whole (a device or a file
        // that must be written in place excepted), and the program's output where it was written.
        std::optional<text::FileReplacement> target;
        try {
            target.emplace(names.actual, text::fileSize(output.get()));
        } catch (const text::Failure&) {
            m_messages.plain(targetNotWritableText(names.actual));
            return false;
        }
        try {
            DescriptorSource from(output.get());
            ReplacementSink to(*target);
            copyText(from, to);
            target->commit();
        } catch (const text::Failure& failure) {
            m_messages.generalError(deliveryFailedText(failure.what(), names.actual, names.unit));
            return false;
        }
        output.close();
        if (const int err = text::removeFile(names.unit); err != 0)
            throw text::ioFailure(err);
        return true;
    }

    const RunRequest& m_request;
    platform::MessageBoxes& m_messages;
    platform::ProcessLauncher& m_processes;
    const std::string m_openedFolder;
    std::string m_programFolder; // kept from one case to the next until the next program line
    std::vector<Pair> m_reads;   // grow as the run file asks; no fixed limit
    std::vector<Pair> m_writes;
};

} // namespace

RunOutcome runRunFile(const RunRequest& request, platform::MessageBoxes& messages,
                      platform::ProcessLauncher& processes) {
    return Run(request, messages, processes).run();
}

} // namespace zelkova::runner
