#include "sim_process.h"

#include <QElapsedTimer>
#include <algorithm>
#include <csignal>
#include <regex>
#include <stdexcept>

namespace tarnel::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& language)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys()) {
        if (name == "LANG" || name == "LANGUAGE" || name.startsWith("LC_")) {
            environment.remove(name);
        }
    }
    for (const std::string& setting : language) {
        const auto equals = setting.find('=');
        environment.insert(QString::fromStdString(setting.substr(0, equals)),
                           QString::fromStdString(setting.substr(equals + 1)));
    }
    QStringList list;
    for (const std::string& arg : args) {
        list << QString::fromStdString(arg);
    }
    process_.setProcessEnvironment(environment);
    process_.start(QString::fromStdString(program), list);
    process_.waitForStarted();
}

const std::string& ChildProcess::Output()
{
    // Without an event loop the pipe is read only here.
    process_.waitForReadyRead(0);
    output_ += process_.readAllStandardOutput().toStdString();
    return output_;
}

bool ChildProcess::WaitFor(const std::function<bool(const std::string&)>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done(Output()) && timer.elapsed() < ms) {
        process_.waitForReadyRead(50);
    }
    return done(output_);
}

bool ChildProcess::Says(const std::string& text, int ms)
{
    return WaitFor([&text](const std::string& output) { return output.find(text) != std::string::npos; }, ms);
}

void ChildProcess::Tell(const std::string& line)
{
    process_.write(QByteArray::fromStdString(line + "\n"));
    process_.waitForBytesWritten();
}

void ChildProcess::Interrupt()
{
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
}

void ChildProcess::HangUp()
{
    process_.terminate();
    process_.waitForFinished();
}

ChildProcess::Outcome ChildProcess::Finish()
{
    const bool finished = process_.waitForFinished(30000);
    Output();
    return {output_, process_.readAllStandardError().toStdString(),
            finished && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1};
}

SimProcess::SimProcess(const std::vector<std::string>& controllers) : ChildProcess(TARNEL_SIM_PATH, controllers)
{
    // The banner, in English, names the device; controllers are listed after it.
    static const std::regex kBanner("TARNEL_PORTS=(\\S+)\n");
    std::smatch banner;
    if (!WaitFor([&](const std::string& output) { return std::regex_search(output, banner, kBanner); }, 5000)) {
        throw std::runtime_error("tarnel-sim did not say where it serves");
    }
    devicePath_ = banner.str(1);
    output_.erase(0, static_cast<std::size_t>(banner.position(0) + banner.length(0)));
}

std::vector<std::string> SimProcess::Requests()
{
    static const std::regex kRequest(" <- ([0-9A-F]{2}(?: [0-9A-F]{2})*)");
    std::vector<std::string> requests;
    const std::string output = Output();
    for (std::sregex_iterator at(output.begin(), output.end(), kRequest); at != std::sregex_iterator(); ++at) {
        requests.push_back(at->str(1));
    }
    return requests;
}

std::size_t SimProcess::Probes()
{
    const std::vector<std::string> requests = Requests();
    return static_cast<std::size_t>(
        std::ranges::count_if(requests, [](const std::string& request) { return request.substr(2, 9) == " 04 40 02"; }));
}

LinkProcess::LinkProcess(const std::vector<std::string>& args, const std::vector<std::string>& language)
    : ChildProcess(Path(), args, language)
{
}

std::string LinkProcess::Path()
{
    return TARNEL_LINK_PATH;
}

ChildProcess::Outcome LinkTool(const std::vector<std::string>& args, const std::vector<std::string>& language)
{
    return LinkProcess(args, language).Finish();
}

}  // namespace tarnel::test
