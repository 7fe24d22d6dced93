#include "sim_process.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>
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
    static const QRegularExpression kBanner("TARNEL_PORTS=(\\S+)\n");
    QRegularExpressionMatch banner;
    const auto said = [&](const std::string& output) {
        banner = kBanner.match(QString::fromStdString(output));
        return banner.hasMatch();
    };
    if (!WaitFor(said, 5000)) {
        throw std::runtime_error("tarnel-sim did not say where it serves");
    }
    devicePath_ = banner.captured(1).toStdString();
    const std::string line = banner.captured(0).toStdString();
    output_.erase(0, output_.find(line) + line.size());
}

std::vector<std::string> SimProcess::Requests()
{
    static const QRegularExpression kRequest(" <- ([0-9A-F]{2}(?: [0-9A-F]{2})*)");
    std::vector<std::string> requests;
    for (const QRegularExpressionMatch& request : kRequest.globalMatch(QString::fromStdString(Output()))) {
        requests.push_back(request.captured(1).toStdString());
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
