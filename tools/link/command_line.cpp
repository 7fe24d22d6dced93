#include "command_line.h"

#include "exit_codes.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "site/decimal.h"
#include "site/record.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
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
        ("\n  " + std::string(site::kRecordHeader) + "\n") +
        Tr("one row for each controller, on the disk before the next is asked for.");
    return messages::Paragraphs({
        Tr("Numbers are decimal: 017 is 17; 0x11, +17 and the like are refused."),
        Tr("Exit status:\n"
           "  0    done, or a controller found\n"
           "  1    nothing answered, or refused before sending (the new address is taken)\n"
           "  2    a bad command line: nothing opened, nothing sent; report: the record or the output file\n"
           "       refused, nothing written\n"
           "  3    the port did not open, or the adapter went away (commission, doctor)\n"
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
        text = Tr("a command is required: ports, scan, set-address, calibrate, commission, report, doctor or "
                  "monitor");
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

// A decimal option or argument within min..max, stored in `target`; the
// help shows it as `type` (MS, ADDRESS, N).
CLI::Option* AddNumber(CLI::App& command, const std::string& name, std::uint32_t& target, std::uint32_t min,
                       std::uint32_t max, const char* type, const std::string& help)
{
    return command
        .add_option_function<std::string>(
            name,
            [&target, name, min, max](const std::string& text) {
                const auto value = site::ParseDecimal(text, min, max);
                if (!value) {
                    throw CLI::ValidationError(
                        name, Format(Tr("'%s' is not a decimal number from %u to %u"), text.c_str(), min, max));
                }
                target = *value;
            },
            help)
        ->type_name(type);
}

CLI::Option* AddAddress(CLI::App& command, const std::string& name, std::uint32_t& target, const std::string& help)
{
    return AddNumber(command, name, target, link::kFirstAddress, link::kLastAddress, "ADDRESS", help);
}

// --from and --to of a command that sweeps a range of addresses.
void AddRange(CLI::App& command, std::uint32_t& from, std::uint32_t& to)
{
    AddAddress(command, "--from", from, Tr("first address (default 0)"));
    AddAddress(command, "--to", to, Tr("last address (default 255)"));
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
        command.add_option("--port,-p", port, Tr("port number as in the window (1..255), or a device path"))
            ->required()
            ->type_name("PORT")
            ->check([](const std::string& text) {
                const bool path = text.find_first_of("/\\") != std::string::npos;
                return path || site::ParseDecimal(text, 1, 255)
                           ? std::string()
                           : Tr("a port is a number from 1 to 255 or a device path");
            });
        AddSpeed(command, speeds == AllSpeeds);
        if (traffic == Sends) {
            AddNumber(command, "--timeout", timeoutMs, 20, 60000, "MS",
                      Format(Tr("how long the controller may take to start its answer, in ms (20..60000), counted from "
                                "the end of the request on the wire; the line's own time (8 bytes take 67 ms at "
                                "1200 baud) is added, so one value serves every speed (default %u)"),
                             timeoutMs));
            command.add_flag("--trace", trace, Tr("print each frame sent and received on standard error"));
            AddNumber(command, "--listen", listenMs, 0, 60000, "MS",
                      Format(Tr("listen this long in ms before sending, for another master on the bus (default %u; 0: "
                                "not)"),
                             listenMs));
            command.add_flag("--force", force, forceHelp);
        }
    }

    void AddSpeed(CLI::App& command, bool allSpeeds)
    {
        command
            .add_option("--baud,-b", baud,
                        allSpeeds ? Tr("1200, 2400, 4800, 9600 (default), 19200, or all")
                                  : Tr("1200, 2400, 4800, 9600 (default) or 19200"))
            ->type_name("RATE")
            ->check([allSpeeds](const std::string& text) {
                const auto indexes = BaudIndexes(text);
                return indexes && (allSpeeds || indexes->size() == 1) ? std::string()
                                                                      : Format(Tr("unknown speed %s"), text.c_str());
            });
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

// A command of the tool: what it asks for once parsed, and its own checks
// of the whole command line (throwing CLI::ValidationError).
struct Subcommand {
    CLI::App* app;
    std::function<Command()> command;
    std::function<void()> check = [] {};
};

// A command that sweeps a range of addresses at one speed or each in turn:
// `request` gets the range and the line's options, and `more` adds the rest.
template <class Request>
Subcommand AddSweep(CLI::App& app, const char* name, const std::string& help, LineOptions line,
                    const std::function<void(CLI::App&, Request&)>& more)
{
    struct State {
        Request request;
        LineOptions line;
    };
    const auto state = std::make_shared<State>(State{{}, std::move(line)});
    CLI::App* command = app.add_subcommand(name, help);
    state->line.AddTo(*command, LineOptions::AllSpeeds, LineOptions::Sends);
    AddRange(*command, state->request.from, state->request.to);
    more(*command, state->request);
    return {command,
            [state] {
                state->line.Fill(state->request);
                return Command(state->request);
            },
            [state] {
                if (state->request.from > state->request.to) {
                    throw CLI::ValidationError("--from", Tr("must not lie above --to"));
                }
            }};
}

Subcommand AddScan(CLI::App& app)
{
    return AddSweep<ScanRequest>(app, "scan", Tr("find the controllers on the bus"), LineOptions(250),
                                 [](CLI::App& command, ScanRequest& scan) {
                                     command.add_flag("--all", scan.all,
                                                      Tr("list every controller instead of stopping at the first"));
                                     command.add_flag("--json", scan.json, Tr("results as JSON (keys below)"));
                                 });
}

Subcommand AddSetAddress(CLI::App& app)
{
    struct State {
        MoveOptions move;
        LineOptions line{500};
    };
    const auto state = std::make_shared<State>();
    state->line.forceHelp =
        Tr("send even while another master uses the bus, and move even when something answers at NEW");
    CLI::App* command = app.add_subcommand(
        "set-address", Tr("give the controller at OLD the address NEW, unless something answers at NEW already"));
    state->line.AddTo(*command, LineOptions::OneSpeed, LineOptions::Sends);
    MoveOptions& move = state->move;
    AddAddress(*command, "OLD", move.oldAddress, Tr("its address now"))->required();
    AddAddress(*command, "NEW", move.newAddress, Tr("its new address"))->required();
    command->add_flag("--verify", move.verify, Tr("then probe NEW: only a valid reply from NEW counts as moved"));
    AddNumber(*command, "--settle", move.settleMs, 0, 60000, "MS",
              Tr("pause in ms before the verifying probe, while the controller takes its new address (default 100)"));
    return {command,
            [state] {
                state->move.force = state->line.force;
                return Command(SetAddressCommand{state->line.Exchange(), state->move});
            },
            [state] {
                if (state->move.oldAddress == state->move.newAddress) {
                    throw CLI::ValidationError("NEW", Tr("is the address the controller has already"));
                }
            }};
}

Subcommand AddCalibrate(CLI::App& app)
{
    struct State {
        std::uint32_t address = 0;
        LineOptions line{500};
    };
    const auto state = std::make_shared<State>();
    CLI::App* command = app.add_subcommand(
        "calibrate", Tr("zero-calibrate the rope of channel A (its first 0 to 0.3 m lying in water)"));
    state->line.AddTo(*command, LineOptions::OneSpeed, LineOptions::Sends);
    AddAddress(*command, "ADDRESS", state->address, Tr("the controller"))->required();
    return {command, [state] { return Command(CalibrateCommand{state->line.Exchange(), state->address}); }};
}

Subcommand AddCommission(CLI::App& app)
{
    struct State {
        CommissionOptions commission;
        LineOptions line{500};
    };
    const auto state = std::make_shared<State>();
    CommissionOptions& c = state->commission;
    CLI::App* command = app.add_subcommand(
        "commission", Tr("give new controllers, connected one after another at the factory address, the next free "
                         "addresses, verified and written to a record, until Ctrl-C or --count"));
    state->line.AddTo(*command, LineOptions::OneSpeed, LineOptions::Sends);
    AddAddress(*command, "--factory", c.factory, Tr("the address new controllers answer at"))->required();
    AddAddress(*command, "--first", c.first, Tr("the first address to give out"))->required();
    AddAddress(*command, "--last", c.last, Tr("the last address to give out (default 255)"));
    AddNumber(*command, "--count", c.count, 1, 10000, "N", Tr("stop after this many controllers"));
    command->add_flag("--calibrate", c.calibrate,
                      Tr("zero-calibrate each (on a terminal, once its rope lies in water and Enter is pressed)"));
    command
        ->add_option("--record", c.record,
                     Tr("the record, appended to and read first to go on where it ended (default commissioning.csv)"))
        ->type_name("FILE");
    return {command,
            [state] {
                state->commission.exchange = state->line.Exchange();
                return Command(state->commission);
            },
            [state] {
                if (state->commission.first > state->commission.last) {
                    throw CLI::ValidationError("--first", Tr("must not lie above --last"));
                }
            }};
}

Subcommand AddReport(CLI::App& app)
{
    const auto request = std::make_shared<ReportRequest>();
    CLI::App* command = app.add_subcommand(
        "report", Tr("make a commissioning record into the site's handover report: one HTML page, ready to print"));
    command->add_option("RECORD", request->record, Tr("the commissioning record"))->required()->type_name("FILE");
    command->add_option("--site", request->site, Tr("the site's name (default: the name of the record's folder)"))
        ->type_name("NAME");
    command
        ->add_option("-o,--output", request->output,
                     Tr("where the report goes (default: beside the record, its name ending in .html; - for "
                        "standard output)"))
        ->type_name("FILE");
    command->add_flag("--force", request->force,
                      Tr("replace an output file that is no report made by Tarnel (a record, never)"));
    return {command, [request] { return Command(*request); }};
}

Subcommand AddDoctor(CLI::App& app)
{
    LineOptions line(250);
    line.listenMs = 2000;
    return AddSweep<DoctorRequest>(
        app, "doctor", Tr("listen to the bus, probe it, and say what is wrong with it and how to fix it"), line,
        [](CLI::App& command, DoctorRequest& doctor) {
            command.add_flag("--json", doctor.json, Tr("the diagnosis as JSON (keys in the README)"));
        });
}

Subcommand AddMonitor(CLI::App& app)
{
    const auto line = std::make_shared<LineOptions>(0);
    CLI::App* command =
        app.add_subcommand("monitor", Tr("print every frame on the bus, sending nothing, until Ctrl-C"));
    line->AddTo(*command, LineOptions::OneSpeed, LineOptions::ListensOnly);
    return {command, [line] { return Command(MonitorCommand{{line->port}, line->BaudIndex()}); }};
}

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
    const std::vector<Subcommand> subcommands{
        {app.add_subcommand("ports", Tr("list the serial ports, numbered as the window numbers them")),
         [] { return Command(ListPortsCommand{}); }},
        AddScan(app),
        AddSetAddress(app),
        AddCalibrate(app),
        AddCommission(app),
        AddReport(app),
        AddDoctor(app),
        AddMonitor(app),
    };
    Translate(app);
    try {
        // CLI11 takes the words last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        for (const Subcommand& subcommand : subcommands) {
            if (subcommand.app->parsed()) {
                subcommand.check();
                return subcommand.command();
            }
        }
    } catch (const CLI::ParseError& error) {
        app.failure_message([](const CLI::App*, const CLI::Error& e) { return Mistake(e); });
        return app.exit(error, out, err) == 0 ? kSuccess : kBadCommand;
    }
    return kBadCommand;
}

}  // namespace tarnel::tool
