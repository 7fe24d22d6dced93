#pragma once

// Texts for people, in the user's language. English is
// written in the code; a catalogue supplies the translations, and a text it
// does not hold shows in English.

#include <cstdarg>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tarnel::messages {

// Takes the language from the user's settings; called once, first in main.
void UseUserLanguage();

const char* Tr(const char* english);

// The form for `count`: English has one and many, Chinese one form.
const char* TrN(const char* one, const char* many, unsigned long count);

// Marks a text for the catalogue where it is also machine output (a JSON
// value, a record's field): Tr translates it where a person reads it.
constexpr const char* N_(const char* english)
{
    return english;
}

// Whose words a text is put in: the user's language for people, English
// for texts that machine output carries too (the doctor's JSON), Chinese
// for the window, whatever the system's language.
struct Translation {
    const char* (*Tr)(const char* english);
    const char* (*TrN)(const char* one, const char* many, unsigned long count);
};
extern const Translation kUserLanguage;
extern const Translation kEnglish;
extern const Translation kChinese;

// printf's rules, into a string: translations keep their source's
// placeholders, which the catalogue's check enforces.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

// The paragraphs of a help text, a blank line between each two.
std::string Paragraphs(std::initializer_list<std::string> paragraphs);

// Columns a terminal gives the UTF-8 `text`: two for each East Asian wide
// character, so tables line up in Chinese as in English.
std::size_t DisplayWidth(std::string_view text);

// `text` cut to at most `columns` columns, never inside a character, and
// padded with spaces to `columns`.
std::string Fit(std::string_view text, std::size_t columns);

}  // namespace tarnel::messages
