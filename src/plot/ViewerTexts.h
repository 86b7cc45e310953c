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

} // namespace zelkova::plot
