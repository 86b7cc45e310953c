// Messages of the runner that carry a file name in their middle.
#include "runner/RunnerMessages.h"

namespace zelkova::runner {

namespace {
std::string writeTargetText(std::string_view actualName, std::string_view reason, std::string_view advice) {
    std::string text = "WRITEﾌｧｲﾙ＝";
    text += actualName;
    text += " error !";
    text += "\r\n\r\n";
    text += reason;
    text += "\r\n\r\n";
    text += advice;
    return text;
}
} // namespace

std::string targetInViewerText(std::string_view actualName) {
    return writeTargetText(actualName, "このﾌｧｲﾙは現在作図画面で使用中です！",
                           "作図画面でのﾌｧｲﾙを閉じてやり直して下さい");
}

std::string targetNotWritableText(std::string_view actualName) {
    return writeTargetText(actualName, "このﾌｧｲﾙは現在使用中で書き込めない！",
                           "このﾌｧｲﾙを閉じてやり直して下さい");
}

std::string deliveryFailedText(std::string_view failure, std::string_view actualName,
                               std::string_view unitName) {
    std::string text(failure);
    text += "\r\nWRITEﾌｧｲﾙ＝";
    text += actualName;
    text += "\r\nﾌﾟﾛｸﾞﾗﾑの出力は ";
    text += unitName;
    text += " に残っています";
    return text;
}

} // namespace zelkova::runner
