// The texts below the window that a user reads, in the user's language where the program that shows them has
// translations: written as they are described, with %1, %2 where names and numbers go.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tazen {

// A text and the context the translation tools file it under.
struct MarkedText
{
    const char* context;
    const char* source;
};

// The translation tools read TAZEN_TEXT as Qt's QT_TRANSLATE_NOOP, so both arguments must be literals.
#define TAZEN_TEXT(context, source) (::tazen::MarkedText{context, source})

// A text in the user's language; the window gives its translations here once, before any run.
using TextTranslation = std::string (*)(const MarkedText& text);

namespace detail {
inline std::atomic<TextTranslation> textTranslation{nullptr};
} // namespace detail

// The terminal tool and the extractor never call it, so their texts stay as they stand.
inline void TranslateTextsWith(TextTranslation translation)
{
    detail::textTranslation.store(translation);
}

// %1 to %9 in pattern replaced by the arguments in one pass, so an argument that itself holds "%2" (a file name
// can) stays as it is.
inline std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto number = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && number < arguments.size()) {
            text += *(arguments.begin() + number);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

inline std::string Text(const MarkedText& text, std::initializer_list<std::string_view> arguments = {})
{
    const TextTranslation translation = detail::textTranslation.load();
    return FillIn(translation != nullptr ? translation(text) : std::string(text.source), arguments);
}

} // namespace tazen
