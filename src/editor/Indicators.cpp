// Caret indicator texts.
#include "editor/Indicators.h"

namespace zelkova::editor {

std::string positionText(std::size_t line, std::size_t column) {
    return " " + std::to_string(line) + " 行、" + std::to_string(column) + " ｶﾗﾑ";
}

std::string pageText(std::int32_t page) {
    return "    現在のｶｰｿﾙは " + std::to_string(page) + " ﾍﾟｰｼﾞです。";
}

} // namespace zelkova::editor
