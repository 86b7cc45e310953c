// The texts of the two caret indicators: line and column in the status bar, listing page on the
// menu bar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zelkova::editor {

// " L 行、C ｶﾗﾑ": the caret's line and its character offset in that line, both counted from 1.
std::string positionText(std::size_t line, std::size_t column);

// "    現在のｶｰｿﾙは N ﾍﾟｰｼﾞです。" for listing page N.
std::string pageText(std::int32_t page);

} // namespace zelkova::editor
