#pragma once

#include <string>
#include <vector>

namespace tarnel::test {

// A program run by a test, its standard output on a pipe. Stopped with
// SIGTERM if still running when the object goes.
class ChildProcess {
public:
    // `environment` empty: the test's own environment.
    explicit ChildProcess(std::vector<std::string> args, std::vector<std::string> environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // What it printed since the last call, without waiting.
    std::string ReadAvailable();

    // Everything it prints until it ends.
    std::string ReadToEnd();

    // Its exit status once ReadToEnd has returned (128 + N for signal N).
    int Status() const { return status_; }

    // Ends it with SIGTERM, if still running.
    void Stop();

    // Sends it `signal`, as a key press in its terminal would.
    void Signal(int signal) const;

    // Waits up to `ms` for more output.
    void WaitForOutput(int ms) const;

private:
    int pid_ = -1;
    int stdout_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

}  // namespace tarnel::test
