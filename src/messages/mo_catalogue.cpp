#include "messages/mo_catalogue.h"

#include <algorithm>

namespace tarnel::messages {
namespace {

constexpr std::uint32_t kMagic = 0x950412DE;
constexpr std::uint32_t kSwappedMagic = 0xDE120495;
constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kEntrySize = 8;  // a text's length, then its offset

}  // namespace

MoCatalogue::MoCatalogue(std::span<const std::uint8_t> bytes) : bytes_(bytes)
{
    if (bytes.size() < kHeaderSize) {
        bytes_ = {};
        return;
    }
    const std::uint32_t magic = Word(0);
    if (magic != kMagic && magic != kSwappedMagic) {
        bytes_ = {};
        return;
    }
    bigEndian_ = magic == kSwappedMagic;
    const std::uint32_t count = Word(8);
    originals_ = Word(12);
    translations_ = Word(16);
    const auto tableFits = [&](std::uint64_t table) {
        return table + std::uint64_t{count} * kEntrySize <= bytes.size();
    };
    if (!tableFits(originals_) || !tableFits(translations_)) {
        bytes_ = {};
        return;
    }
    // Every text must end in a NUL inside the bytes before one is handed out.
    for (std::uint32_t index = 0; index < count; ++index) {
        for (const std::uint32_t table : {originals_, translations_}) {
            const std::uint64_t length = Word(table + index * kEntrySize);
            const std::uint64_t offset = Word(table + index * kEntrySize + 4);
            if (offset + length >= bytes.size() || bytes[offset + length] != 0) {
                bytes_ = {};
                return;
            }
        }
    }
    count_ = count;
}

std::uint32_t MoCatalogue::Word(std::size_t offset) const
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t byte = bytes_[offset + (bigEndian_ ? i : 3 - i)];
        value = value << 8 | byte;
    }
    return value;
}

std::string_view MoCatalogue::Text(std::uint32_t table, std::uint32_t index) const
{
    const std::size_t entry = table + std::size_t{index} * kEntrySize;
    const auto* start = reinterpret_cast<const char*>(bytes_.data()) + Word(entry + 4);
    // A plural's original holds both forms, NUL between: the first is its key.
    return {start, std::find(start, start + Word(entry), '\0')};
}

std::optional<const char*> MoCatalogue::Find(std::string_view english) const
{
    // msgfmt writes the originals in byte order.
    std::uint32_t low = 0;
    std::uint32_t high = count_;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const std::string_view original = Text(originals_, middle);
        if (original == english) {
            return Text(translations_, middle).data();
        }
        if (original < english) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return std::nullopt;
}

}  // namespace tarnel::messages
