// Starting the drawing program in place of zelkova-batch. It lies at a fixed place relative to
// zelkova-batch (ZELKOVA_DRAWING_PROGRAM, the same in the build tree and below an install prefix),
// so it is found from this program's own file, whatever the current folder and PATH.
#include "batch/Commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace zelkova::batch {

namespace {
std::filesystem::path drawingProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return (self.parent_path() / ZELKOVA_DRAWING_PROGRAM).lexically_normal();
}
} // namespace

int runDrawingProgram(const std::string& command, const Arguments& args, std::ostream& out,
                      std::ostream& err) {
    const std::filesystem::path program = drawingProgram();
    std::vector<std::string> words{"zelkova-batch", command};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    out.flush();
    err.flush();
    std::cout.flush();
    std::cerr.flush();
    if (!program.empty())
        ::execv(program.c_str(), argv.data());
    const int code = program.empty() ? ENOENT : errno;
    err << "zelkova-batch: cannot start the drawing program "
        << (program.empty() ? std::string(ZELKOVA_DRAWING_PROGRAM) : program.string()) << ": "
        << std::strerror(code) << '\n';
    return 1;
}

} // namespace zelkova::batch
