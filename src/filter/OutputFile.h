// The filter's output file, written so that a failed run never damages what the user has:
//
// - a symbolic link is followed and the file it names is written (the link stays a link);
// - a folder, and a file this user may not write, are refused;
// - a device node or a FIFO is written in place, never renamed over (a FIFO that nothing reads is
//   refused rather than waited for);
// - a regular file is otherwise written to a temporary file of a short name of its own in the same
//   folder (so an output name of any length works), flushed to disk and renamed over the old one
//   only when complete, with the old file's permission bits and, where the process may, its owner
//   and group; the folder is synced after the rename;
// - a regular file with other hard links, or in a folder that takes no new file, is written in
//   place (renaming would split the links or is impossible) and read back to check it;
// - the temporary file is removed when the run fails, and when SIGINT, SIGTERM or SIGHUP ends the
//   program.
//
// Quillon shares no code with Zelkova, so it has this writer of its own. What does not depend on
// the system is in OutputFileCommon.cpp; the calls into the operating system are gathered in a few
// named functions of OutputFile.cpp (Linux) and OutputFileWindows.cpp (Windows).
#pragma once

#include "filter/Reorder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelkova::filter {

class OutputFile final : public LineSink {
public:
    // Checks `name` and prepares the write; nothing of an existing file changes yet. Throws
    // FilterFailure when the name is refused or nothing can be written there.
    explicit OutputFile(const std::filesystem::path& name);
    // Without commit(), the temporary file is removed and `name` is left as it was (a file that
    // must be written in place is only written at commit()).
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Every line ends with CR LF. Throws FilterFailure when the disk refuses the bytes.
    void writeLine(std::string_view line) override;

    // Completes the file and puts it in place of `name`. Throws FilterFailure.
    void commit();

    enum class Method { Replace, InPlace, Device };
    Method method() const { return m_method; }

private:
    // Lines are gathered to this many bytes before they go to the file.
    static constexpr std::size_t kFlushSize = 1 << 20;

    void flush();
    void writeOut(std::string_view bytes);
    void discard() noexcept;
    // All of `bytes` to `fd`; false with errno set when the system refuses them (ENOSPC when it
    // takes none). The system's own file (OutputFile.cpp, OutputFileWindows.cpp) defines it.
    static bool writeAll(int fd, std::string_view bytes);

    std::string m_displayName;
    std::string m_target; // links followed
    Method m_method = Method::Replace;
    int m_targetFd = -1;
    int m_folderFd = -1;
    int m_temporaryFd = -1;
    std::string m_temporary; // the temporary file's name within the folder
    std::string m_pending;
    // What goes to a file written in place or to a device is held here until commit(), so that a
    // run that fails before its end leaves the file as it was and sends nothing.
    std::string m_inPlaceContents;
};

} // namespace zelkova::filter
