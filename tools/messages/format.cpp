#include "messages.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace tarnel::messages {

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

namespace {

bool inEnglish = false;

// The columns of the character that starts at `text[at]`, and its length.
std::pair<std::size_t, std::size_t> Character(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    // Every three- and four-byte character the tools print (Han, fullwidth
    // punctuation) is wide; two-byte ones are Latin, Greek and the like.
    return {length >= 3 ? 2 : 1, std::min(length, text.size() - at)};
}

}  // namespace

InEnglish::InEnglish() : outer_(inEnglish)
{
    inEnglish = true;
}

InEnglish::~InEnglish()
{
    inEnglish = outer_;
}

bool InEnglish::Active()
{
    return inEnglish;
}

std::size_t DisplayWidth(std::string_view text)
{
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto [width, length] = Character(text, at);
        columns += width;
        at += length;
    }
    return columns;
}

std::string Fit(std::string_view text, std::size_t columns, bool pad)
{
    std::size_t used = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto [width, length] = Character(text, at);
        if (used + width > columns) {
            break;
        }
        used += width;
        at += length;
    }
    std::string fitted(text.substr(0, at));
    if (pad) {
        fitted.append(columns - used, ' ');
    }
    return fitted;
}

}  // namespace tarnel::messages
