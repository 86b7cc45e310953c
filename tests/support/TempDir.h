// A per-test temporary folder, removed with everything in it when the test ends; fixture copies
// and byte helpers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace zelkova::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The UTF-8 name of `name` (UTF-8) inside the folder.
    std::string file(std::string_view name) const;
    // Writes `bytes` to `name` (creating folders on the way) and returns its UTF-8 name.
    std::string write(std::string_view name, std::string_view bytes) const;
    // Copies a file of the repository (relative to its root) into the folder.
    std::string copyFixture(std::string_view repoRelative, std::string_view name) const;

private:
    std::filesystem::path m_path;
};

// The repository's root, from ZELKOVA_SOURCE_DIR (set by CTest) or the build-time default.
std::filesystem::path sourceDir();
// The folder of the shared sample corpus (plot files and listings), beside the repository.
std::filesystem::path corpusDir();

std::string readBytes(const std::filesystem::path& path);
std::string readBytes(const std::string& utf8Name);

// A path from a UTF-8 name, and a path's UTF-8 name: the form every name of the core takes. (On
// Windows a std::string handed to std::filesystem::path is taken in the system's ANSI code page.)
std::filesystem::path utf8Path(std::string_view name);
std::string utf8Name(const std::filesystem::path& path);

// Makes `path` the current directory until the end of the scope.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& path) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~CurrentDirectory() { std::filesystem::current_path(m_old); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path m_old;
};

// Equal byte strings, or a failure that shows the first difference in hexadecimal.
::testing::AssertionResult sameBytes(std::string_view expected, std::string_view actual);

} // namespace zelkova::testing
