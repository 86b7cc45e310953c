// The plot viewer's fixed texts (UTF-8), shared by the viewer window and the batch tool.
#pragma once

#include <string_view>

namespace zelkova::plot {

inline constexpr std::string_view kDefaultViewerCaption = "JW_CAD作図用出力データを用いた作図";
inline constexpr std::string_view kNoFurtherFigureText = "次の図はもうありません！";
inline constexpr std::string_view kFileNotFoundText = "指定のファイルを開けない！（名前が違う？）";
inline constexpr std::string_view kNotAPlotFileText = " これは作図ﾌｧｲﾙでない！";
inline constexpr std::string_view kCannotOpenForErrorText =
    "エラーのため指定のファイルを開くことが出来ない！";

// The image records' messages: each is followed by the image path as the record writes it.
inline constexpr std::string_view kImageMissingText = "この画像ファイルは存在しません！\r\n";
inline constexpr std::string_view kImageUnsupportedText = "本ソフトで未対応の画像ファイルです！\r\n";
// Follows the path of a greyscale JPEG, which is drawn in black and white.
inline constexpr std::string_view kGreyscaleJpegNotice =
    "\r\nﾓﾉｸﾛJPEGです。画像劣化するので、WINDOWSのｱｸｾｻﾘｰで\r\n画像ﾌｧｲﾙを白黒ﾋﾞｯﾄﾏｯﾌﾟに変えてから実行して下さ"
    "い。";

} // namespace zelkova::plot
