// Forward search by characters and the search boxes' texts.
#include "editor/TextSearch.h"

#include "editor/EditorTexts.h"
#include "text/Cp932.h"

#include <algorithm>

namespace zelkova::editor {

namespace {

constexpr char16_t foldedLetter(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + (u'a' - u'A'));
    if (c >= u'Ａ' && c <= u'Ｚ')
        return static_cast<char16_t>(c + (u'ａ' - u'Ａ'));
    return c;
}

constexpr bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// True when an occurrence of `length` units at `at` would cut a surrogate pair at either end.
bool cutsAPair(std::u16string_view text, std::size_t at, std::size_t length) {
    if (at > 0 && isLowSurrogate(text[at]) && isHighSurrogate(text[at - 1]))
        return true;
    const std::size_t end = at + length;
    return end < text.size() && isLowSurrogate(text[end]) && isHighSurrogate(text[end - 1]);
}

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return foldedLetter(x) == foldedLetter(y); });
}

std::optional<std::size_t> findMatchingCase(std::u16string_view text, std::size_t from,
                                            std::u16string_view pattern) {
    for (std::size_t at = text.find(pattern, from); at != std::u16string_view::npos;
         at = text.find(pattern, at + 1)) {
        if (!cutsAPair(text, at, pattern.size()))
            return at;
    }
    return std::nullopt;
}

std::optional<std::size_t> findIgnoringCase(std::u16string_view text, std::size_t from,
                                            std::u16string_view pattern) {
    const char16_t first = foldedLetter(pattern.front());
    const std::u16string_view rest = pattern.substr(1);
    const std::size_t last = text.size() - pattern.size();
    for (std::size_t at = from; at <= last; ++at) {
        if (foldedLetter(text[at]) == first && sameIgnoringCase(text.substr(at + 1, rest.size()), rest) &&
            !cutsAPair(text, at, pattern.size()))
            return at;
    }
    return std::nullopt;
}

std::string quoted(std::string_view searchTextUtf8) {
    std::string out = "\"";
    out += searchTextUtf8;
    out += '"';
    return out;
}

} // namespace

std::optional<std::size_t> findForward(std::u16string_view text, std::size_t from,
                                       std::u16string_view pattern, LetterCase letterCase) {
    if (pattern.empty() || from > text.size() || text.size() - from < pattern.size())
        return std::nullopt;
    return letterCase == LetterCase::Match ? findMatchingCase(text, from, pattern)
                                           : findIgnoringCase(text, from, pattern);
}

std::vector<std::size_t> occurrencesFrom(std::u16string_view text, std::size_t from,
                                         std::u16string_view pattern, LetterCase letterCase) {
    std::vector<std::size_t> found;
    for (auto at = findForward(text, from, pattern, letterCase); at;
         at = findForward(text, *at + pattern.size(), pattern, letterCase))
        found.push_back(*at);
    return found;
}

std::size_t prefixWithinCp932Bytes(std::u16string_view text, std::size_t maxBytes) {
    std::size_t units = 0;
    std::size_t bytes = 0;
    while (units < text.size()) {
        const std::size_t length =
            isHighSurrogate(text[units]) && units + 1 < text.size() && isLowSurrogate(text[units + 1]) ? 2
                                                                                                       : 1;
        const std::size_t size = text::encodeCp932(text.substr(units, length)).size();
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        units += length;
    }
    return units;
}

std::string notFoundText(std::string_view searchTextUtf8) {
    return quoted(searchTextUtf8) + std::string(kNotFoundSuffix);
}

std::string noLongerFoundText(std::string_view searchTextUtf8, std::size_t replacements) {
    return quoted(searchTextUtf8) + std::string(kNoLongerFoundSuffix) + "\r\n\r\n" +
           std::to_string(replacements) + std::string(kReplacedSuffix);
}

} // namespace zelkova::editor
