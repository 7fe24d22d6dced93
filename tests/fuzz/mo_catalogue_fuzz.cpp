// Compiled catalogues read from memory, on any bytes: a catalogue that
// breaks the format holds nothing, and every translation handed out lies
// inside the bytes and ends in a NUL there. (Lookups in a real catalogue are
// checked by the Windows tool under Wine.)

#include "messages/mo_catalogue.h"
#include "require.h"

#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tarnel::messages::MoCatalogue catalogue({data, size});
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const char* end = input.data() + input.size();
    Require(size >= 8 * catalogue.Size());
    // The header's key, a short text, and a text from the input itself.
    for (const std::string_view key : {std::string_view(), std::string_view("a"), input.substr(input.size() / 2)}) {
        if (const auto found = catalogue.Find(key)) {
            Require(*found >= input.data() && *found < end);
            Require(std::memchr(*found, 0, static_cast<std::size_t>(end - *found)) != nullptr);
        }
    }
    return 0;
}
