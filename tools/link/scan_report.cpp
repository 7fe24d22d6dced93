#include "scan_report.h"

#include "console.h"
#include "link/frame_text.h"
#include "link/line_timing.h"
#include "messages/messages.h"
#include "platform/terminal.h"
#include "words/site_words.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tarnel::tool {

using messages::DisplayWidth;
using messages::Fit;
using messages::Format;
using messages::Tr;

void PrintTable(const ScanResult& result)
{
    // Headings and names are padded by the columns they take, not their bytes.
    const auto right = [](const char* heading, std::size_t width) {
        const std::size_t used = DisplayWidth(heading);
        return std::string(used < width ? width - used : 0, ' ') + heading;
    };
    std::printf("%s  %s  %s  %s  %s\n", right(Tr("address"), 7).c_str(), right(Tr("baud"), 5).c_str(),
                right(Tr("ms"), 5).c_str(), Fit(Tr("reply"), 14).c_str(), Tr("answer"));
    for (const Found& f : result.found) {
        const std::string heard = Fit(Tr(words::HeardName(f.kind)), 14);
        const std::string answer = link::Hex(f.answer);
        std::printf("%7u  %5u  %5u  %s  %s\n", f.address, f.baud, f.responseMs, heard.c_str(), answer.c_str());
    }
}

void PrintJson(const ScanResult& result)
{
    using Json = nlohmann::ordered_json;
    Json controllers = Json::array();
    for (const Found& f : result.found) {
        controllers.push_back({{"address", f.address},
                               {"baud", f.baud},
                               {"reply", words::HeardName(f.kind)},
                               {"response_ms", f.responseMs},
                               {"answer", link::Hex(f.answer)}});
    }
    const Json document{{"partial", result.partial}, {"echoes", result.echoes}, {"controllers", controllers}};
    std::printf("%s\n", document.dump(2).c_str());
}

Progress::Progress(std::uint32_t probes, std::uint32_t timeoutMs)
    : columns_(platform::ErrorTerminalColumns()), probes_(probes), timeoutMs_(timeoutMs)
{
}

void Progress::Speed(std::uint32_t baud, std::uint32_t from, std::uint32_t to)
{
    if (columns_ == 0) {
        Report(Format(Tr("scanning %u..%u at %u baud"), from, to, baud));
    }
}

void Progress::Clear()
{
    if (drawn_) {
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(columns_ - 1), "");
        std::fflush(stderr);
        drawn_ = false;
    }
}

void Progress::Note(const std::string& text)
{
    Clear();
    Report(text);
}

void Progress::Probed(std::uint32_t address, std::uint32_t baud, std::size_t found)
{
    ++done_;
    if (columns_ == 0) {
        return;
    }
    const auto perProbe = std::chrono::milliseconds(timeoutMs_) + link::WireTime(8, baud);
    const auto left = std::chrono::duration_cast<std::chrono::seconds>((probes_ - done_) * perProbe);
    const std::string status = Format(Tr(" address %3u at %5u baud, %zu found, %lld s left"), address, baud, found,
                                      static_cast<long long>(left.count()));
    const auto length = static_cast<int>(DisplayWidth(status));
    // The bar takes what the status leaves of the line, less its brackets
    // and the last column, where a terminal would wrap.
    const int width = static_cast<int>(columns_) - length - 3;
    std::fputc('\r', stderr);
    if (width >= 10) {
        const int filled = static_cast<int>(static_cast<std::uint64_t>(done_) * static_cast<unsigned>(width) / probes_);
        std::fprintf(stderr, "[%s%*s]%s", std::string(static_cast<std::size_t>(filled), '#').c_str(), width - filled,
                     "", status.c_str());
    } else {
        std::fprintf(stderr, "%s", Fit(std::string_view(status).substr(1), columns_ - 1).c_str());
    }
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::Done()
{
    Clear();
}

}  // namespace tarnel::tool
