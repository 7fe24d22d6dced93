#include "command_line.h"

#include "decimal.h"
#include "exit_codes.h"
#include "link/protocol.h"

#include "messages.h"
#include "site_record.h"

#include <CLI/CLI.hpp>
#include <regex>

namespace tarnel::tool {
namespace {

using messages::Format;
using messages::Tr;

// The part of the help below the options.
std::string Footer()
{
    const std::string record =
        Tr("commission ends with 0 when each of --count controllers was moved, verified and (with\n"
           "--calibrate) calibrated, 4 when any was not, 1 when no free address is left, 3 when the\n"
           "adapter goes away. Its record is CSV with the header line") +
        ("\n  " + std::string(kRecordHeader) + "\n") +
        Tr("one row for each controller, on the disk before the next is asked for.");
    return messages::Paragraphs({
        Tr("Numbers are decimal: 017 is 17; 0x11, +17 and the like are refused."),
        Tr("Exit status:\n"
           "  0    done, or a controller found\n"
           "  1    nothing answered, or refused before sending (the new address is taken)\n"
           "  2    a bad command line: nothing opened, nothing sent\n"
           "  3    the port did not open\n"
           "  4    the controller answered but the job is not done (rope not in water; silent at the new "
           "address)\n"
           "  5    only corrupt or short answers\n"
           "  6    only the adapter's echo of the request\n"
           "  7    another master uses the bus: nothing more was sent (--force sends all the same)\n"
           "  8    doctor: problems found on the bus (each is named with its fix)\n"
           "  130  stopped with Ctrl-C (scan prints what it found so far, commission its summary)"),
        record,
        Tr("Environment:\n"
           "  TARNEL_PORTS  device paths separated by colons; replaces the port numbering (the first is port "
           "1)"),
        Tr("scan --json prints one object:\n"
           "  partial      boolean  true when Ctrl-C, a lost device or another master stopped the scan\n"
           "  echoes       integer  probes that only came back as the adapter's echo\n"
           "  controllers  array of objects, in the order found:\n"
           "    address      integer  0..255\n"
           "    baud         integer  the speed it answered at\n"
           "    reply        string   \"valid reply\", \"late answer\", \"corrupt answer\" or \"short answer\"\n"
           "    response_ms  integer  from the end of the probe on the wire to the first byte of the answer\n"
           "    answer       string   the answer's bytes in hex"),
    });
}

// CLI11 says what went wrong in English; the mistakes a technician makes,
// said in the user's language. Checks of values bring their own texts.
std::string Mistake(const CLI::Error& error)
{
    const std::string what = error.what();
    std::smatch match;
    std::string text = what;
    if (what == "A subcommand is required") {
        text = Tr("a command is required: ports, scan, set-address, calibrate, commission, doctor or monitor");
    } else if (std::regex_match(what, match, std::regex("(.+) is required"))) {
        text = Format(Tr("%s is required"), match.str(1).c_str());
    } else if (std::regex_match(what, match, std::regex("The following arguments? (?:was|were) not expected: (.*)"))) {
        text = Format(Tr("not expected: %s"), match.str(1).c_str());
    } else if (std::regex_match(what, match, std::regex("(.+): \\d+ required \\S+ missing"))) {
        text = Format(Tr("%s needs a value"), match.str(1).c_str());
    }
    return text + "\n" + Tr("Run with --help for more information.") + "\n";
}

// CLI11 lines the help's columns up by bytes; a Chinese character takes
// three bytes but two columns.
class ColumnFormatter : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* option, bool positional) const override
    {
        const std::string name = "  " + make_option_name(option, positional) + make_option_opts(option);
        const std::size_t width = get_column_width();
        const std::size_t used = messages::DisplayWidth(name);
        const std::string gap = used >= width ? "\n" + std::string(width, ' ') : std::string(width - used, ' ');
        return name + gap + make_option_desc(option) + "\n";
    }
};

// CLI11's own words in the help, once every command and option is added.
void Translate(CLI::App& app)
{
    const auto formatter = app.get_formatter();
    formatter->label("Usage", Tr("Usage"));
    // TRANSLATORS: in "Usage: tarnel-link scan [OPTIONS]".
    formatter->label("OPTIONS", Tr("OPTIONS"));
    formatter->label("SUBCOMMAND", Tr("COMMAND"));
    formatter->label("REQUIRED", Tr("REQUIRED"));
    // TRANSLATORS: the placeholder for an option's value, as in "--port TEXT".
    formatter->label("TEXT", Tr("TEXT"));
    formatter->label("Positionals", Tr("Positionals"));
    const auto translateOptions = [](CLI::App& command) {
        for (CLI::Option* option : command.get_options()) {
            option->group(Tr("Options"));
        }
    };
    translateOptions(app);
    for (CLI::App* command : app.get_subcommands({})) {
        command->group(Tr("Subcommands"));
        translateOptions(*command);
    }
}

// A decimal option or argument within min..max, stored in `target`.
CLI::Option* AddNumber(CLI::App& command, const std::string& name, std::uint32_t& target, std::uint32_t min,
                       std::uint32_t max, const std::string& help)
{
    return command.add_option_function<std::string>(
        name,
        [&target, name, min, max](const std::string& text) {
            const auto value = ParseDecimal(text, min, max);
            if (!value) {
                throw CLI::ValidationError(name, Format(Tr("'%s' is not a decimal number from %u to %u"), text.c_str(),
                                                       min, max));
            }
            target = *value;
        },
        help);
}

// --from and --to of a command that sweeps a range of addresses.
void AddRange(CLI::App& command, std::uint32_t& from, std::uint32_t& to)
{
    AddNumber(command, "--from", from, link::kFirstAddress, link::kLastAddress, Tr("first address (default 0)"));
    AddNumber(command, "--to", to, link::kFirstAddress, link::kLastAddress, Tr("last address (default 255)"));
}

// The options every command that opens a port takes.
struct LineOptions {
    std::string port;
    std::string baud = "9600";
    std::uint32_t timeoutMs;
    bool trace = false;
    std::uint32_t listenMs = 500;
    bool force = false;
    std::string forceHelp = Tr("send even while another master uses the bus");

    enum Speeds { OneSpeed, AllSpeeds };
    enum Traffic { Sends, ListensOnly };

    explicit LineOptions(std::uint32_t defaultTimeoutMs) : timeoutMs(defaultTimeoutMs) {}

    void AddTo(CLI::App& command, Speeds speeds, Traffic traffic)
    {
        const bool allSpeeds = speeds == AllSpeeds;
        command.add_option("--port,-p", port, Tr("port number as in the window (1..255), or a device path"))
            ->required()
            ->check([](const std::string& text) {
                const bool path = text.find_first_of("/\\") != std::string::npos;
                return path || ParseDecimal(text, 1, 255) ? std::string()
                                                          : Tr("a port is a number from 1 to 255 or a device path");
            });
        command.add_option("--baud,-b", baud,
                           allSpeeds ? Tr("1200, 2400, 4800, 9600 (default), 19200, or all")
                                     : Tr("1200, 2400, 4800, 9600 (default) or 19200"))
            ->check([allSpeeds](const std::string& text) {
                const auto indexes = BaudIndexes(text);
                return indexes && (allSpeeds || indexes->size() == 1) ? std::string()
                                                                      : Format(Tr("unknown speed %s"), text.c_str());
            });
        if (traffic == Sends) {
            AddNumber(command, "--timeout", timeoutMs, 20, 60000,
                      Format(Tr("how long the controller may take to start its answer, in ms (20..60000), counted from "
                                "the end of the request on the wire; the line's own time (8 bytes take 67 ms at "
                                "1200 baud) is added, so one value serves every speed (default %u)"),
                             timeoutMs));
            command.add_flag("--trace", trace, Tr("print each frame sent and received on standard error"));
            AddNumber(command, "--listen", listenMs, 0, 60000,
                      Format(Tr("listen this long in ms before sending, for another master on the bus (default %u; 0: "
                                "not)"),
                             listenMs));
            command.add_flag("--force", force, forceHelp);
        }
    }

    int BaudIndex() const { return BaudIndexes(baud)->front(); }

    // The fields of a command that sweeps the bus at one or every speed.
    void Fill(Sweep& sweep) const
    {
        sweep.port = {port};
        sweep.baudIndexes = *BaudIndexes(baud);
        sweep.timeoutMs = timeoutMs;
        sweep.trace = trace;
        sweep.listenMs = listenMs;
        sweep.force = force;
    }
    ExchangeOptions Exchange() const { return {{port}, BaudIndex(), timeoutMs, trace, listenMs, force}; }
};

}  // namespace

std::variant<Command, int> ParseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                            std::ostream& err)
{
    CLI::App app(Tr("Commissions leak-detection controllers on a serial bus."), "tarnel-link");
    app.formatter(std::make_shared<ColumnFormatter>());
    app.set_help_flag("-h,--help", Tr("Print this help message and exit"));
    app.require_subcommand(1);
    app.set_version_flag("--version", "tarnel-link " TARNEL_VERSION,
                         Tr("Display program version information and exit"));
    app.footer(Footer());

    CLI::App* portsCommand =
        app.add_subcommand("ports", Tr("list the serial ports, numbered as the window numbers them"));

    ScanRequest scan;
    LineOptions scanLine(250);
    CLI::App* scanCommand = app.add_subcommand("scan", Tr("find the controllers on the bus"));
    scanLine.AddTo(*scanCommand, LineOptions::AllSpeeds, LineOptions::Sends);
    AddRange(*scanCommand, scan.from, scan.to);
    scanCommand->add_flag("--all", scan.all, Tr("list every controller instead of stopping at the first"));
    scanCommand->add_flag("--json", scan.json, Tr("results as JSON (keys below)"));

    LineOptions moveLine(500);
    moveLine.forceHelp = Tr("send even while another master uses the bus, and move even when something answers at NEW");
    MoveOptions move;
    CLI::App* moveCommand = app.add_subcommand(
        "set-address", Tr("give the controller at OLD the address NEW, unless something answers at NEW already"));
    moveLine.AddTo(*moveCommand, LineOptions::OneSpeed, LineOptions::Sends);
    AddNumber(*moveCommand, "OLD", move.oldAddress, link::kFirstAddress, link::kLastAddress, Tr("its address now"))
        ->required();
    AddNumber(*moveCommand, "NEW", move.newAddress, link::kFirstAddress, link::kLastAddress, Tr("its new address"))
        ->required();
    moveCommand->add_flag("--verify", move.verify, Tr("then probe NEW: only a valid reply from NEW counts as moved"));
    AddNumber(*moveCommand, "--settle", move.settleMs, 0, 60000,
              Tr("pause in ms before the verifying probe, while the controller takes its new address (default 100)"));

    LineOptions calibrateLine(500);
    std::uint32_t calibrateAddress = 0;
    CLI::App* calibrateCommand = app.add_subcommand(
        "calibrate", Tr("zero-calibrate the rope of channel A (its first 0 to 0.3 m lying in water)"));
    calibrateLine.AddTo(*calibrateCommand, LineOptions::OneSpeed, LineOptions::Sends);
    AddNumber(*calibrateCommand, "ADDRESS", calibrateAddress, link::kFirstAddress, link::kLastAddress,
              Tr("the controller"))
        ->required();

    LineOptions commissionLine(500);
    CommissionOptions commission;
    CLI::App* commissionCommand = app.add_subcommand(
        "commission", Tr("give new controllers, connected one after another at the factory address, the next free "
                         "addresses, verified and written to a record, until Ctrl-C or --count"));
    commissionLine.AddTo(*commissionCommand, LineOptions::OneSpeed, LineOptions::Sends);
    AddNumber(*commissionCommand, "--factory", commission.factory, link::kFirstAddress, link::kLastAddress,
              Tr("the address new controllers answer at"))
        ->required();
    AddNumber(*commissionCommand, "--first", commission.first, link::kFirstAddress, link::kLastAddress,
              Tr("the first address to give out"))
        ->required();
    AddNumber(*commissionCommand, "--last", commission.last, link::kFirstAddress, link::kLastAddress,
              Tr("the last address to give out (default 255)"));
    AddNumber(*commissionCommand, "--count", commission.count, 1, 10000, Tr("stop after this many controllers"));
    commissionCommand->add_flag(
        "--calibrate", commission.calibrate,
        Tr("zero-calibrate each (on a terminal, once its rope lies in water and Enter is pressed)"));
    commissionCommand->add_option("--record", commission.record,
                                  Tr("the record, appended to and read first to go on where it ended "
                                     "(default commissioning.csv)"));

    LineOptions doctorLine(250);
    doctorLine.listenMs = 2000;
    DoctorRequest doctor;
    CLI::App* doctorCommand = app.add_subcommand(
        "doctor", Tr("listen to the bus, probe it, and say what is wrong with it and how to fix it"));
    doctorLine.AddTo(*doctorCommand, LineOptions::AllSpeeds, LineOptions::Sends);
    AddRange(*doctorCommand, doctor.from, doctor.to);
    doctorCommand->add_flag("--json", doctor.json, Tr("the diagnosis as JSON (keys in the README)"));

    LineOptions monitorLine(0);
    CLI::App* monitorCommand =
        app.add_subcommand("monitor", Tr("print every frame on the bus, sending nothing, until Ctrl-C"));
    monitorLine.AddTo(*monitorCommand, LineOptions::OneSpeed, LineOptions::ListensOnly);

    Translate(app);
    try {
        // CLI11 takes the words last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        if (scan.from > scan.to || doctor.from > doctor.to) {
            throw CLI::ValidationError("--from", Tr("must not lie above --to"));
        }
        if (commission.first > commission.last) {
            throw CLI::ValidationError("--first", Tr("must not lie above --last"));
        }
        if (moveCommand->parsed() && move.oldAddress == move.newAddress) {
            throw CLI::ValidationError("NEW", Tr("is the address the controller has already"));
        }
    } catch (const CLI::ParseError& error) {
        app.failure_message([](const CLI::App*, const CLI::Error& e) { return Mistake(e); });
        return app.exit(error, out, err) == 0 ? kSuccess : kBadCommand;
    }

    if (portsCommand->parsed()) {
        return ListPortsCommand{};
    }
    if (scanCommand->parsed()) {
        scanLine.Fill(scan);
        return scan;
    }
    if (moveCommand->parsed()) {
        move.force = moveLine.force;
        return SetAddressCommand{moveLine.Exchange(), move};
    }
    if (calibrateCommand->parsed()) {
        return CalibrateCommand{calibrateLine.Exchange(), calibrateAddress};
    }
    if (doctorCommand->parsed()) {
        doctorLine.Fill(doctor);
        return doctor;
    }
    if (commissionCommand->parsed()) {
        commission.exchange = commissionLine.Exchange();
        return commission;
    }
    return MonitorCommand{{monitorLine.port}, monitorLine.BaudIndex()};
}

}  // namespace tarnel::tool
