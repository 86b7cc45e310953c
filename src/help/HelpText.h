// The help window's fixed text: a table of contents, then one section for each of the seven topics,
// under the headings the table lists. UTF-8, lines separated by "\n".
#pragma once

#include <string_view>

namespace zelkova::help {

std::string_view helpText();

} // namespace zelkova::help
