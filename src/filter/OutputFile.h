// The filter's output file. It is written under a temporary name in the same folder and put in
// place only when complete, so a failed run never leaves the user's old file half overwritten.
#pragma once

#include "filter/Reorder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelkova::filter {

class OutputFile final : public LineSink {
public:
    // Starts the file that will replace `name` (a link is followed to the file it names). Throws
    // FilterFailure when `name` is a folder or its folder cannot take a new file.
    explicit OutputFile(const std::filesystem::path& name);
    // Without commit(), the temporary file is removed and `name` is left as it was.
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Every line ends with CR LF. Throws FilterFailure when the disk refuses the bytes.
    void writeLine(std::string_view line) override;

    // Completes the file and puts it in place of `name`. Throws FilterFailure.
    void commit();

private:
    void flush();
    void discard();

    std::string m_displayName;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::FILE* m_file = nullptr;
    std::string m_pending;
};

} // namespace zelkova::filter
