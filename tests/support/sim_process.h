#pragma once

#include <QProcess>
#include <string>
#include <vector>

namespace tarnel::test {

// The environment with the language settings replaced by `settings`
// ("LANG=zh_CN.UTF-8"): none, and the tools speak English.
QProcessEnvironment Language(const std::vector<std::string>& settings = {});

// tarnel-sim running as a child process on a pseudo-terminal of its own.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& controllers);
    ~SimProcess() { HangUp(); }

    // The device the service tool opens.
    const std::string& DevicePath() const { return devicePath_; }

    // The requests it received, in order, as their hex text ("05 04 40 02 ...").
    std::vector<std::string> Requests();

    // The addresses of the probes among them.
    std::vector<int> ProbedAddresses();

    // A line for the simulator's standard input ("add 1", "remove 1").
    void Tell(const std::string& line);

    // Ends the simulator, which hangs up the line as a pulled adapter does.
    void HangUp();

    // Everything the simulator printed so far after its banner.
    std::string Output();

private:
    QProcess process_;
    std::string devicePath_;
    std::string output_;
};

}  // namespace tarnel::test
