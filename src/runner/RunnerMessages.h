// The runner's fixed texts (UTF-8) and the messages built from them. A file name follows each of
// the texts that end in "FILE=" or "ﾌｧｲﾙ名＝".
#pragma once

#include <string>
#include <string_view>

namespace zelkova::runner {

inline constexpr std::string_view kNotARunFileText = "このファイルはＥＸ文ではありません！";
inline constexpr std::string_view kSaveQuestionText = "変更を保存します";
inline constexpr std::string_view kNoProgramText = "ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙなし！\r\nFILE=";
inline constexpr std::string_view kReadSameNameText = "READ 文の行で＝の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝";
inline constexpr std::string_view kNoReadFileText = "READﾌｧｲﾙなし！\r\nFILE=";
inline constexpr std::string_view kStaleWriteNotDeletedText = "既存のWRITEﾌｧｲﾙ消去に失敗！";
inline constexpr std::string_view kNoWriteOutputText = "WRITEﾌｧｲﾙ名（＝の左側）に誤りがある！\r\n"
                                                       "あるいはデータミス等によるエラーの発生！\r\n"
                                                       "このﾌｧｲﾙは存在しない。\r\nFILE=";
inline constexpr std::string_view kWriteSameNameText = "WRITE文の行で\"＝\"の左右ﾌｧｲﾙ名同じ！\r\nﾌｧｲﾙ名＝";

// "WRITEﾌｧｲﾙ＝" name " error !" and the two paragraphs for a target the plot viewer shows.
std::string targetInViewerText(std::string_view actualName);
// The same for a target that cannot be created or emptied.
std::string targetNotWritableText(std::string_view actualName);
// A delivery that failed after the target was opened: the failure, the target, and where the
// program's output has been kept.
std::string deliveryFailedText(std::string_view failure, std::string_view actualName,
                               std::string_view unitName);

} // namespace zelkova::runner
