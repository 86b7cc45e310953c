// Message boxes and questions, as windows, the runner and the batch tool ask them. The texts are
// UTF-8, with line breaks exactly as given (CR LF in the fixed texts).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelkova::platform {

// The application's title: the caption of plain boxes and of the general error report.
inline constexpr std::string_view kApplicationTitle = "Zelkova（ﾌｫｰﾄﾗﾝexe等の実行、ﾃﾞｰﾀ編集、作図用）";
inline constexpr std::string_view kConfirmationCaption = "確認";
inline constexpr std::string_view kErrorCaption = "エラー";

enum class MessageKind { Plain, Confirmation, Error };
enum class Reply { Ok, Yes, No, Cancel };

struct Message {
    MessageKind kind = MessageKind::Plain;
    std::string caption;
    std::string text;
    std::vector<Reply> buttons;
    Reply defaultReply = Reply::Ok;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes();
    virtual Reply show(const Message& message) = 0;

    // No icon, OK, the application title as caption.
    void plain(std::string_view text);
    // Question icon, caption "確認", buttons "はい(&Y)" and "いいえ(&N)"; true on Yes.
    bool confirm(std::string_view text);
    // Error icon, caption "エラー", OK.
    void error(std::string_view text);
    // The application's general error report: error icon, the application title as caption, the
    // failure's text with "." appended when its last character sorts after ".".
    void generalError(std::string_view text);
};

// The general error report's full stop rule.
std::string withFinalStop(std::string_view text);

} // namespace zelkova::platform
