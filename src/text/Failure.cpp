// Texts of the general error report and the errno mapping.
#include "text/Failure.h"

#include <cerrno>

namespace zelkova::text {

std::string ioErrorText(int code) {
    switch (code) {
    case error::FileNotFound:
        return "ファイルが見つかりません";
    case error::PathNotFound:
        return "不正なファイル名です";
    case error::TooManyOpenFiles:
        return "オープンしたファイルが多すぎます";
    case error::AccessDenied:
        return "ファイルへのアクセスが拒否されました";
    case error::ReadPastEnd:
        return "ファイルの末尾以降を読み込みました";
    case error::DiskFull:
        return "ディスクがいっぱいです";
    case error::NotANumber:
        return "入力値が数値ではありません";
    default:
        return "I/O エラー (" + std::to_string(code) + ")";
    }
}

int errorCodeFromErrno(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return error::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return error::PathNotFound;
    case EMFILE:
    case ENFILE:
        return error::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return error::AccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return error::DiskFull;
    default:
        return errnoValue;
    }
}

Failure ioFailure(int errnoValue) {
    return Failure(ioErrorText(errorCodeFromErrno(errnoValue)));
}

std::string cannotCreateText(std::string_view fileName) {
    return "ファイル " + std::string(fileName) + " を作成できません";
}

std::string cannotOpenText(std::string_view fileName) {
    return "ファイル " + std::string(fileName) + " は開けません";
}

} // namespace zelkova::text
