#include "trace.h"

#include "frame_decoding.h"
#include "link/frame_text.h"
#include "messages/messages.h"
#include "words/site_words.h"

#include <cstdio>

namespace tarnel::tool {

using messages::Tr;

void Trace::Sent(link::TimePoint at, std::span<const std::uint8_t> frame) const
{
    Print(at, "->", frame, nullptr);
}

void Trace::Heard(link::TimePoint at, std::span<const std::uint8_t> frame, site::Heard kind) const
{
    // A short, corrupt or echoed frame says so; a reply's decoding says the rest.
    const bool named = kind != site::Heard::Reply && kind != site::Heard::Late && kind != site::Heard::Stray;
    Print(at, "<-", frame, named ? Tr(words::HeardName(kind)) : nullptr);
}

void Trace::Print(link::TimePoint at, const char* direction, std::span<const std::uint8_t> bytes,
                  const char* name) const
{
    if (!on_ || bytes.empty()) {
        return;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at - start_);
    std::fprintf(stderr, "%8lld ms %s %s  (%s%s%s)\n", static_cast<long long>(ms.count()), direction,
                 link::Hex(bytes).c_str(), name ? name : "", name ? ": " : "", Decode(bytes).c_str());
    std::fflush(stderr);
}

}  // namespace tarnel::tool
