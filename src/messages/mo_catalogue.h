#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tarnel::messages {

// A compiled gettext catalogue (msgfmt's .mo) read from memory, for a
// system without gettext. Bytes that break the format make an empty
// catalogue: every text then stays in English.
class MoCatalogue {
public:
    MoCatalogue() = default;
    explicit MoCatalogue(std::span<const std::uint8_t> bytes);

    std::size_t Size() const { return count_; }

    // The translation of `english` (a plural's first form), which ends in a
    // NUL inside the bytes; none when the catalogue has no such text.
    std::optional<const char*> Find(std::string_view english) const;

private:
    std::uint32_t Word(std::size_t offset) const;
    // Entry `index` of the table at `table`, without its NUL.
    std::string_view Text(std::uint32_t table, std::uint32_t index) const;

    std::span<const std::uint8_t> bytes_;
    bool bigEndian_ = false;
    std::uint32_t count_ = 0;
    std::uint32_t originals_ = 0;
    std::uint32_t translations_ = 0;
};

}  // namespace tarnel::messages
