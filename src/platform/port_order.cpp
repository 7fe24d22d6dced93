#include "platform/port_order.h"

#include <algorithm>
#include <string_view>

namespace tarnel::platform {
namespace {

// The names <prefix>N, in the order of N.
std::vector<std::string> Numbered(std::span<const std::string> names, std::string_view prefix)
{
    std::vector<std::pair<unsigned long, std::string>> found;
    for (const std::string& name : names) {
        const std::string_view digits = std::string_view(name).substr(std::min(prefix.size(), name.size()));
        if (name.starts_with(prefix) && !digits.empty() && digits.size() <= 9 &&
            std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) {
            found.emplace_back(std::stoul(std::string(digits)), name);
        }
    }
    std::ranges::sort(found);
    std::vector<std::string> ordered;
    for (auto& [number, name] : found) {
        ordered.push_back(std::move(name));
    }
    return ordered;
}

}  // namespace

std::vector<std::string> PortOrder(std::span<const std::string> names,
                                   const std::function<bool(const std::string&)>& present)
{
    std::vector<std::string> ordered = Numbered(names, "ttyUSB");
    std::ranges::move(Numbered(names, "ttyACM"), std::back_inserter(ordered));
    std::ranges::copy_if(Numbered(names, "ttyS"), std::back_inserter(ordered), present);
    return ordered;
}

}  // namespace tarnel::platform
