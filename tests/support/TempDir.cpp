// Temporary folders and byte helpers for tests.
#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <random>
#include <sstream>

namespace zelkova::testing {

TempDir::TempDir() {
    std::random_device rd;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string stem = info ? std::string(info->name()) : std::string("zelkova");
    for (char& c : stem)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    m_path = std::filesystem::temp_directory_path() /
             ("zelkova-" + stem.substr(0, 40) + "-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::file(std::string_view name) const {
    return utf8Name(m_path / utf8Path(name));
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path p = m_path / utf8Path(name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return utf8Name(p);
}

std::string TempDir::copyFixture(std::string_view repoRelative, std::string_view name) const {
    return write(name, readBytes(sourceDir() / std::string(repoRelative)));
}

std::filesystem::path sourceDir() {
    if (const char* dir = std::getenv("ZELKOVA_SOURCE_DIR"))
        return dir;
#ifdef ZELKOVA_DEFAULT_SOURCE_DIR
    return ZELKOVA_DEFAULT_SOURCE_DIR;
#else
    return std::filesystem::current_path();
#endif
}

std::filesystem::path corpusDir() {
    if (const char* dir = std::getenv("ZELKOVA_CORPUS_DIR"))
        return dir;
    return sourceDir() / "tests" / "corpus";
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string readBytes(const std::string& utf8Name) {
    return readBytes(utf8Path(utf8Name));
}

std::filesystem::path utf8Path(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

::testing::AssertionResult sameBytes(std::string_view expected, std::string_view actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    auto hex = [](std::string_view s, std::size_t from) {
        std::ostringstream o;
        for (std::size_t k = from; k < s.size() && k < from + 16; ++k)
            o << std::hex << std::setw(2) << std::setfill('0')
              << static_cast<int>(static_cast<unsigned char>(s[k])) << ' ';
        return o.str();
    };
    const std::size_t from = i >= 4 ? i - 4 : 0;
    return ::testing::AssertionFailure()
           << "bytes differ at offset " << i << " (sizes " << expected.size() << " and " << actual.size()
           << ")\n  expected: " << hex(expected, from) << "\n  actual:   " << hex(actual, from);
}

} // namespace zelkova::testing
