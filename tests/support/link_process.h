#pragma once

#include <QProcess>
#include <string>
#include <vector>

namespace tarnel::test {

// tarnel-link as a child process, in the language `language` sets
// ("LANG=zh_CN.UTF-8"; none: English), its output read as it comes.
class LinkProcess {
public:
    struct Outcome {
        std::string out;
        std::string err;
        int status;
    };

    explicit LinkProcess(const std::vector<std::string>& args, const std::vector<std::string>& language = {});

    // Waits for `text` on standard output.
    bool Says(const std::string& text, int ms = 10000);
    void Interrupt();
    // Waits for the end.
    Outcome Finish();

    const std::string& Output() const { return out_; }
    qint64 Pid() const { return process_.processId(); }

private:
    QProcess process_;
    std::string out_;
};

// Where the program is.
std::string LinkPath();

// tarnel-link run to its end.
LinkProcess::Outcome LinkTool(const std::vector<std::string>& args, const std::vector<std::string>& language = {});

}  // namespace tarnel::test
