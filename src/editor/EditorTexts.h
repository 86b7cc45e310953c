// The editor window's own texts: its first caption, the new-file name, its questions and messages,
// and the fixed pieces of the two caret indicators. UTF-8, line breaks CR LF as the boxes show them.
#pragma once

#include <string_view>

namespace zelkova::editor {

// The opening full-width parenthesis has no closing one; the caption has always read this way.
inline constexpr std::string_view kInitialCaption =
    "Zelkova　（FortranのEXEの実行用エディター　第19版 2003.7.19";

// New names the document with this relative name; Save then writes it to the current directory.
inline constexpr std::string_view kNewFileName = "新規ファイル.txt";

inline constexpr std::string_view kSaveChangesQuestion = "変更を保存します";
inline constexpr std::string_view kReplaceFileQuestion = "ファイルを置き換えます。";
inline constexpr std::string_view kCannotOpenMessage =
    "開くことが出来ない！\r\nもしかすると、他の処理の作業中\r\n一旦Zelkovaを終了して開き直して下さい。";
inline constexpr std::string_view kCannotWriteMessage =
    "書き込み出来ない！\r\n一旦Zelkovaを終了して開き直して下さい。";
inline constexpr std::string_view kNothingToPrintMessage = "印刷したいﾌｧｲﾙが開かれていない！";
inline constexpr std::string_view kNotRunFileMessage = "このファイルはＥＸ文ではありません！";

// The pieces of the find and replace boxes: the search text in ASCII double quotes, then one of
// these (the replace box adds "\r\n\r\n", the count, and the last piece).
inline constexpr std::string_view kNotFoundSuffix = "なし。";
inline constexpr std::string_view kNoLongerFoundSuffix = "既になし。";
inline constexpr std::string_view kReplacedSuffix = "ヶ置き換えました。";

// The page indicator's caption before its first update (one full-width space) and its one item.
inline constexpr std::string_view kBlankPageCaption = "　";
inline constexpr std::string_view kPageNoteCaption = "上記ﾍﾟｰｼﾞはﾌｫｰﾄﾗﾝ出力印刷用ﾍﾟｰｼﾞです。";

} // namespace zelkova::editor
