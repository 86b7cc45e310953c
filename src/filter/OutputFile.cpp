// Writing the output file beside its final name and renaming it into place.
#include "filter/OutputFile.h"

#include "filter/Failure.h"

#include <cerrno>
#include <random>
#include <system_error>

namespace zelkova::filter {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

// Opens a new file for writing, failing when the name is taken.
std::FILE* createNew(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Opens a file that exists for writing at its end, which changes nothing in it.
std::FILE* openExisting(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"ab");
#else
    return std::fopen(path.c_str(), "ab");
#endif
}

} // namespace

OutputFile::OutputFile(const std::filesystem::path& name) : m_displayName(name.string()), m_target(name) {
    std::error_code ec;
    if (std::filesystem::is_symlink(m_target, ec))
        m_target = std::filesystem::weakly_canonical(m_target, ec);
    if (std::filesystem::is_directory(m_target, ec))
        throw FilterFailure("Cannot write " + m_displayName + ": it is a folder, not a file");

    // Renaming over a file ignores its own permissions; a file the user may not write stays as it is.
    if (std::filesystem::exists(m_target, ec)) {
        std::FILE* probe = openExisting(m_target);
        if (!probe)
            throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
        std::fclose(probe);
    }

    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    std::random_device random;
    int error = 0;
    for (int attempt = 0; attempt < 16 && !m_file; ++attempt) {
        m_temporary = folder / ("." + m_target.filename().string() + ".quillon-" + std::to_string(random()));
        m_file = createNew(m_temporary);
        error = errno;
        if (!m_file && error != EEXIST)
            break;
    }
    if (!m_file)
        throw FilterFailure(fileFailureText("Cannot create", m_displayName, error));

    // A replaced file keeps its permissions.
    if (std::filesystem::exists(m_target, ec))
        std::filesystem::permissions(m_temporary, std::filesystem::status(m_target, ec).permissions(),
                                     std::filesystem::perm_options::replace, ec);
    m_pending.reserve(kFlushSize + 2 * kLineLength);
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::writeLine(std::string_view line) {
    m_pending.append(line);
    m_pending.append("\r\n");
    if (m_pending.size() >= kFlushSize)
        flush();
}

void OutputFile::flush() {
    if (m_pending.empty())
        return;
    if (std::fwrite(m_pending.data(), 1, m_pending.size(), m_file) != m_pending.size())
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
    m_pending.clear();
}

void OutputFile::commit() {
    flush();
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fflush(file) != 0 || std::ferror(file)) {
        const int error = errno;
        std::fclose(file);
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, error));
    }
    if (std::fclose(file) != 0)
        throw FilterFailure(fileFailureText("Cannot write", m_displayName, errno));
    std::error_code ec;
    std::filesystem::rename(m_temporary, m_target, ec);
    if (ec)
        throw FilterFailure("Cannot replace " + m_displayName + ": " + ec.message());
    m_temporary.clear();
}

void OutputFile::discard() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
        std::error_code ec;
        std::filesystem::remove(m_temporary, ec);
        m_temporary.clear();
    }
}

} // namespace zelkova::filter
