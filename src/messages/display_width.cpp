#include "messages/messages.h"

#include <algorithm>
#include <utility>

namespace tarnel::messages {
namespace {

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

std::string Fit(std::string_view text, std::size_t columns)
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
    return std::string(text.substr(0, at)) + std::string(columns - used, ' ');
}

}  // namespace tarnel::messages
