#pragma once

#include <QProcess>
#include <functional>
#include <string>
#include <vector>

namespace tarnel::test {

// One of the programs under test as a child process, its standard output
// read as it comes, in the language `language` sets ("LANG=zh_CN.UTF-8"):
// none, and the tools speak English.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& language = {});
    ~ChildProcess() { HangUp(); }

    // Everything it printed so far on standard output.
    const std::string& Output();

    // Waits up to `ms` for `text` in it.
    bool Says(const std::string& text, int ms = 10000);

    // A line for its standard input.
    void Tell(const std::string& line);

    void Interrupt();
    void HangUp();

    struct Outcome {
        std::string out, err;
        int status;
    };
    // Waits for its end.
    Outcome Finish();

protected:
    bool WaitFor(const std::function<bool(const std::string&)>& done, int ms);

    std::string output_;

private:
    QProcess process_;
};

// tarnel-sim on a pseudo-terminal of its own.
class SimProcess : public ChildProcess {
public:
    explicit SimProcess(const std::vector<std::string>& controllers);

    // The device the service tool opens.
    const std::string& DevicePath() const { return devicePath_; }

    // The requests it received, in order, as their hex text ("05 04 40 02 ...").
    std::vector<std::string> Requests();

    // How many of them were probes.
    std::size_t Probes();

private:
    std::string devicePath_;
};

// tarnel-link, in the language `language` sets.
class LinkProcess : public ChildProcess {
public:
    explicit LinkProcess(const std::vector<std::string>& args, const std::vector<std::string>& language = {});

    static std::string Path();
};

// tarnel-link run to its end.
ChildProcess::Outcome LinkTool(const std::vector<std::string>& args, const std::vector<std::string>& language = {});

}  // namespace tarnel::test
