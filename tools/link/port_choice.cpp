#include "port_choice.h"

#include "console.h"
#include "link/protocol.h"
#include "link/serial_port.h"
#include "messages/messages.h"
#include "platform/error_text.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

std::string Reason(const platform::OpenFailure& failure)
{
    switch (platform::ProblemOf(failure.error)) {
    case platform::OpenProblem::NoSuchDevice: return Tr("no such device");
    case platform::OpenProblem::InUse: return Tr("in use by another program");
    case platform::OpenProblem::NoPermission:
        return Tr("no permission; join the dialout group (sudo usermod -aG dialout $USER) and log in again");
    case platform::OpenProblem::Other: break;
    }
    return platform::ErrorText(failure.error);
}

}  // namespace

platform::SerialLine PortChoice::Open(int baudIndex) const
{
    platform::OpenFailure failure;
    const bool number = !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
    platform::SerialLine port = number ? link::OpenPort(static_cast<unsigned>(std::stoul(text)), baudIndex, &failure)
                                   : link::OpenPort(text, baudIndex, &failure);
    if (!port.IsOpen()) {
        if (failure.device.empty()) {
            Report("tarnel-link: " +
                   Format(Tr("port %s names no serial device (see tarnel-link ports)"), text.c_str()));
        } else {
            Report("tarnel-link: " +
                   Format(Tr("cannot open %s: %s"), failure.device.c_str(), Reason(failure).c_str()));
        }
    }
    return port;
}

std::optional<std::vector<int>> BaudIndexes(const std::string& text)
{
    if (text == "all") {
        return std::vector<int>(link::kCommonSpeedsFirst.begin(), link::kCommonSpeedsFirst.end());
    }
    for (std::size_t i = 0; i < link::kBaudRates.size(); ++i) {
        if (text == std::to_string(link::kBaudRates[i].rate)) {
            return std::vector<int>{static_cast<int>(i)};
        }
    }
    return std::nullopt;
}

}  // namespace tarnel::tool
