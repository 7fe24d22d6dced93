#include "options.h"

#include "link/protocol.h"
#include "messages/messages.h"

#include <algorithm>
#include <cstdint>
#include <charconv>
#include <string_view>

namespace tarnel::sim {

using messages::Format;
using messages::Tr;

std::string Usage()
{
    // The synopsis stays in English: it is all names to type, and the package
    // check looks for its first line.
    return messages::Paragraphs({
               "usage: tarnel-sim [--device PATH] [--baud RATE] [--line-time] [--echo] [--master ADDRESS,MS] "
               "[--noise MS]\n"
               "                  CONTROLLER...",
               Tr("Simulates leak-detection controllers sharing one serial bus. Without\n"
                  "--device it makes a pseudo-terminal and prints the path to use."),
               // TRANSLATORS: the options (wet, delay=MS, ...) and the words in capitals are typed as they are.
               Tr("CONTROLLER is ADDRESS[,OPTION...], ADDRESS from 0 to 255; OPTION is one of\n"
                  "  wet          the rope lies in water, so zero calibration succeeds\n"
                  "  delay=MS     answer MS milliseconds late\n"
                  "  silent       never answer\n"
                  "  bad-crc      answer with a wrong frame check\n"
                  "  short        answer with only the first 5 bytes\n"
                  "  baud=RATE    answer only when the line runs at RATE (on a pseudo-terminal,\n"
                  "               the speed the service tool set)"),
               Tr("Two controllers at one address, as new ones from the factory are, both act\n"
                  "on a request and answer together, so their answers collide on the line."),
               // TRANSLATORS: "add" and "remove" are typed as they are.
               Tr("While it runs, lines on standard input connect and disconnect controllers:\n"
                  "  add CONTROLLER    connect one more controller\n"
                  "  remove ADDRESS    disconnect every controller at ADDRESS"),
               // TRANSLATORS: the options and the words in capitals are typed as they are.
               Tr("Options:\n"
                  "  --device PATH  serve a real serial device instead of a pseudo-terminal\n"
                  "  --baud RATE    line speed of a real device: 1200, 2400, 4800, 9600 or 19200\n"
                  "  --line-time    keep a real line's pace at the speed set: answer only once\n"
                  "                 the request would have arrived, send the answer at that\n"
                  "                 speed, and ignore a request that begins less than 3.5\n"
                  "                 characters after the last traffic\n"
                  "  --master ADDRESS,MS\n"
                  "                 another master on the bus: it probes ADDRESS every MS\n"
                  "                 milliseconds, and its requests and the answers are on the line\n"
                  "  --noise MS     a few random bytes on the idle line about every MS\n"
                  "                 milliseconds, as a bus without termination or bias picks up\n"
                  "  --echo         send every byte straight back, as an RS-485 adapter that\n"
                  "                 hears itself does"),
               Tr("example: tarnel-sim 5 17,wet 200,delay=100"),
           }) +
           "\n";
}

namespace {

std::optional<unsigned> Number(std::string_view text, unsigned max)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

// One of the controllers' line speeds.
std::optional<unsigned> KnownBaud(std::string_view text)
{
    const auto baud = Number(text, UINT32_MAX);
    if (!baud || std::ranges::find(link::kBaudRates, *baud, &link::BaudRate::rate) == link::kBaudRates.end()) {
        return std::nullopt;
    }
    return baud;
}

}  // namespace

std::optional<unsigned> ParseAddress(std::string_view text, std::string& error)
{
    const auto address = Number(text, link::kLastAddress);
    if (!address) {
        error = Format(Tr("not an address from 0 to 255: %s"), std::string(text).c_str());
    }
    return address;
}

std::optional<Controller> ParseController(std::string_view text, std::string& error)
{
    Controller controller;
    const auto comma = text.find(',');
    const auto address = ParseAddress(text.substr(0, comma), error);
    if (!address) {
        return std::nullopt;
    }
    controller.address = *address;
    std::string_view rest = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    while (!rest.empty()) {
        const auto next = rest.find(',');
        const std::string_view option = rest.substr(0, next);
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
        if (option == "wet") {
            controller.ropeInWater = true;
        } else if (option == "silent") {
            controller.fault = Fault::Silent;
        } else if (option == "bad-crc") {
            controller.fault = Fault::BadCheck;
        } else if (option == "short") {
            controller.fault = Fault::ShortReply;
        } else if (option.starts_with("baud=")) {
            const auto baud = KnownBaud(option.substr(5));
            if (!baud) {
                error = Format(Tr("unsupported baud rate: %s"), std::string(option.substr(5)).c_str());
                return std::nullopt;
            }
            controller.baud = *baud;
        } else if (option.starts_with("delay=") && Number(option.substr(6), 60000)) {
            controller.delayMs = *Number(option.substr(6), 60000);
        } else {
            error = Format(Tr("unknown controller option: %s"), std::string(option).c_str());
            return std::nullopt;
        }
    }
    return controller;
}

std::string Describe(const Controller& controller)
{
    std::string text;
    switch (controller.fault) {
    case Fault::Silent: text = Tr("never answers"); break;
    case Fault::BadCheck: text = Tr("answers with a wrong frame check"); break;
    case Fault::ShortReply: text = Tr("answers with 5 bytes only"); break;
    case Fault::None:
        // TRANSLATORS: what a simulated controller does, a verb; longer descriptions wrap it as %s.
        text = Tr("answers");
        break;
    }
    // Each step wraps the whole phrase so far, which a translation may place.
    if (controller.delayMs) {
        // TRANSLATORS: %s is how a simulated controller answers ("answers", "never answers", ...); %u milliseconds.
        text = Format(Tr("%s after %u ms"), text.c_str(), controller.delayMs);
    }
    if (controller.baud) {
        // TRANSLATORS: %s is how a simulated controller answers, perhaps with a delay; %u is a line speed.
        text = Format(Tr("%s at %u baud only"), text.c_str(), controller.baud);
    }
    if (controller.ropeInWater) {
        // TRANSLATORS: %s is how a simulated controller answers; the rope is its leak sensor.
        return Format(Tr("%s, rope in water"), text.c_str());
    }
    // TRANSLATORS: %s is how a simulated controller answers; the rope is its leak sensor.
    return Format(Tr("%s, rope dry"), text.c_str());
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--device" || arg == "--baud" || arg == "--master" || arg == "--noise") && i + 1 == args.size()) {
            // TRANSLATORS: %s is an option, such as --baud.
            error = Format(Tr("%s needs a value"), arg.c_str());
            return std::nullopt;
        }
        if (arg == "--line-time") {
            options.lineTime = true;
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--device") {
            options.device = args[++i];
        } else if (arg == "--baud") {
            const auto baud = KnownBaud(args[++i]);
            if (!baud) {
                error = Format(Tr("unsupported baud rate: %s"), args[i].c_str());
                return std::nullopt;
            }
            options.baud = *baud;
        } else if (arg == "--noise") {
            const auto period = Number(args[++i], 60000);
            if (!period || *period < 10) {
                error = Format(Tr("--noise takes MS from 10 to 60000: %s"), args[i].c_str());
                return std::nullopt;
            }
            options.noiseMs = *period;
        } else if (arg == "--master") {
            const std::string& value = args[++i];
            const auto comma = value.find(',');
            const auto address = ParseAddress(value.substr(0, comma), error);
            const auto period = comma == std::string::npos ? std::nullopt : Number(value.substr(comma + 1), 60000);
            if (!address || !period || *period < 10) {
                error = Format(Tr("--master takes ADDRESS,MS with MS from 10 to 60000: %s"), value.c_str());
                return std::nullopt;
            }
            options.master = Options::OtherMaster{*address, *period};
        } else if (arg.starts_with("-")) {
            error = Format(Tr("unknown option: %s"), arg.c_str());
            return std::nullopt;
        } else {
            auto controller = ParseController(arg, error);
            if (!controller) {
                return std::nullopt;
            }
            options.controllers.push_back(*controller);
        }
    }
    if (options.controllers.empty()) {
        error = Tr("no controller given");
        return std::nullopt;
    }
    return options;
}

}  // namespace tarnel::sim
