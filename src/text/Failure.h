// The failure that ends a command and reaches the application's general error report, and the
// operating system's file errors mapped onto the report's numbered texts.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelkova::text {

// A failure whose what() is the UTF-8 text the user sees, without the final full stop that the
// general error report adds.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& text) : std::runtime_error(text) {}
};

// Error numbers of the general error report.
namespace error {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadPastEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int NotANumber = 106;
} // namespace error

// A file written in place that, read back, does not hold what was written.
inline constexpr std::string_view kContentsDifferText = "書き込んだ内容を読み返すと一致しません";

// A line longer than a reader keeps (see LineReader).
inline constexpr std::string_view kLineTooLongText = "1行が長すぎて読めません（1行は64 MiBまで）";

// The text of error number `code`: the seven fixed texts, else "I/O エラー (code)".
std::string ioErrorText(int code);

// Maps an errno value onto the report's numbers (ENOENT 2, ENOTDIR 3, EMFILE/ENFILE 4,
// EACCES/EPERM/EISDIR/EROFS/ETXTBSY/EBUSY 5, ENOSPC/EDQUOT 101); any other value keeps its number.
int errorCodeFromErrno(int errnoValue);

// A Failure for errno `errnoValue`, texts as above.
Failure ioFailure(int errnoValue);

// "ファイル %s を作成できません" and "ファイル %s は開けません" with the name (UTF-8) in place of %s.
std::string cannotCreateText(std::string_view fileName);
std::string cannotOpenText(std::string_view fileName);

} // namespace zelkova::text
