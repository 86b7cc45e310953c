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
#include "text/Lines.h"
#include "text/Paths.h"
#include "text/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <memory>
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

Descriptor openForReading(const std::string& name) {
    return Descriptor(text::openForReading(name));
}

Descriptor createOrEmpty(const std::string& name) {
    return Descriptor(text::createOrEmpty(name));
}

// The failure of opening `name`, a name in a folder that does not exist being "path not found".
text::Failure openFailure(const std::string& name, int errnoValue) {
    if (errnoValue == ENOENT && inMissingFolder(name))
        return text::Failure(text::ioErrorText(text::error::PathNotFound));
    return text::ioFailure(errnoValue);
}

struct Pair {
    std::string unitName;   // native, as written
    std::string actualName; // native, as written
};

struct ResolvedPair {
    std::string unit;
    std::string actual;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
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
        std::unique_ptr<std::FILE, FileCloser> file(text::openStream(m_request.runFilePath));
        if (!file)
            throw openFailure(m_request.runFilePath, errno);
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
        Descriptor source = openForReading(names.actual);
        if (!source.valid())
            throw text::ioFailure(errno);
        Descriptor copy = createOrEmpty(names.unit);
        if (!copy.valid())
            throw openFailure(names.unit, errno);
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
        Descriptor output = openForReading(names.unit);
        if (!output.valid())
            throw text::ioFailure(errno);
        const std::string caption = viewerCaption();
        if (equalIgnoringCase(names.actual, caption) || sameFile(names.actual, caption)) {
            m_messages.plain(targetInViewerText(names.actual));
            return false;
        }
        Descriptor target = createOrEmpty(names.actual);
        if (!target.valid()) {
            m_messages.plain(targetNotWritableText(names.actual));
            return false;
        }
        // The program's output is removed only once the target holds all of it; until then it
        // stays where the program wrote it.
        try {
            DescriptorSource from(output.get());
            DescriptorSink to(target.get());
            copyText(from, to);
            target.close();
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
