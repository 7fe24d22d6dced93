// Compiled catalogues read from memory. Any bytes: every translation handed
// out lies inside them and ends in a NUL there. A catalogue written from the
// input's texts: each original finds its own translation, and a text that
// is not in it finds none.

#include "mo_catalogue.h"
#include "require.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using tarnel::messages::MoCatalogue;

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A catalogue as msgfmt lays it out: header, two tables, then the texts.
std::vector<std::uint8_t> Compile(const std::map<std::string, std::string>& texts)
{
    const auto count = static_cast<std::uint32_t>(texts.size());
    std::vector<std::uint8_t> bytes(28 + 16 * count);
    Put(bytes, 0, 0x950412DE);
    Put(bytes, 8, count);
    Put(bytes, 12, 28);
    Put(bytes, 16, 28 + 8 * count);
    std::uint32_t index = 0;
    for (const auto& [original, translation] : texts) {
        for (const auto& [table, text] : {std::pair{28u, &original}, std::pair{28 + 8 * count, &translation}}) {
            Put(bytes, table + 8 * index, static_cast<std::uint32_t>(text->size()));
            Put(bytes, table + 8 * index + 4, static_cast<std::uint32_t>(bytes.size()));
            bytes.insert(bytes.end(), text->begin(), text->end());
            bytes.push_back(0);
        }
        ++index;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0) {
        const MoCatalogue catalogue({data + 1, size - 1});
        for (const std::string_view key :
             {std::string_view(), std::string_view("a"), input.substr(0, input.find('\0'))}) {
            if (const auto found = catalogue.Find(key)) {
                const char* end = input.data() + input.size();
                Require(*found >= input.data() && *found < end);
                Require(std::memchr(*found, 0, static_cast<std::size_t>(end - *found)) != nullptr);
            }
        }
        return 0;
    }
    // Texts separated by NULs, taken in pairs: an original, its translation.
    std::map<std::string, std::string> texts;
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= input.size();) {
        const std::size_t end = std::min(input.find('\0', at), input.size());
        words.emplace_back(input.substr(at, end - at));
        at = end + 1;
    }
    for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
        texts.emplace(words[i], words[i + 1]);
    }
    const std::vector<std::uint8_t> bytes = Compile(texts);
    const MoCatalogue catalogue(bytes);
    Require(catalogue.Size() == texts.size());
    for (const auto& [original, translation] : texts) {
        const auto found = catalogue.Find(original);
        Require(found && translation == *found);
    }
    if (words.size() % 2 == 1 && !texts.contains(words.back())) {
        Require(!catalogue.Find(words.back()));
    }
    return 0;
}
