// Find and replace over the editor's text: a forward search by characters, with or without letter
// case, and the texts the search boxes show.
//
// The text is searched as the text area holds it, one code unit per character of code page 932,
// so a search text never matches half of a double-byte character (the trail byte of "ア" is "A",
// and "A" does not find it). Ignoring case folds only the letters whose case code page 932 users
// type: ASCII A-Z and the full-width Ａ-Ｚ. Greek, Cyrillic and every other letter match exactly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkova::editor {

enum class LetterCase { Match, Ignore };

// Search and replacement texts hold at most this many bytes of code page 932.
inline constexpr std::size_t kSearchTextBytes = 255;

// The first occurrence of `pattern` in `text` at or after `from`, or nothing. An empty pattern
// never matches. An occurrence never starts or ends between the two halves of a surrogate pair.
std::optional<std::size_t> findForward(std::u16string_view text, std::size_t from,
                                       std::u16string_view pattern, LetterCase letterCase);

// Every occurrence from `from` on as Replace All meets them: each further search starts where the
// previous occurrence ended, so occurrences never overlap.
std::vector<std::size_t> occurrencesFrom(std::u16string_view text, std::size_t from,
                                         std::u16string_view pattern, LetterCase letterCase);

// The number of code units at the start of `text` whose code page 932 form fits in `maxBytes`
// bytes, never cutting a character in two.
std::size_t prefixWithinCp932Bytes(std::u16string_view text, std::size_t maxBytes);

// The boxes' texts (UTF-8): "\"TEXT\"なし。" and "\"TEXT\"既になし。\r\n\r\nNヶ置き換えました。".
std::string notFoundText(std::string_view searchTextUtf8);
std::string noLongerFoundText(std::string_view searchTextUtf8, std::size_t replacements);

} // namespace zelkova::editor
