#include "sim_process.h"

#include <stdexcept>
#include <string_view>

namespace tarnel::test {

QProcessEnvironment Language(const std::vector<std::string>& settings)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys()) {
        if (name == "LANG" || name == "LANGUAGE" || name.startsWith("LC_")) {
            environment.remove(name);
        }
    }
    for (const std::string& setting : settings) {
        const auto equals = setting.find('=');
        environment.insert(QString::fromStdString(setting.substr(0, equals)),
                           QString::fromStdString(setting.substr(equals + 1)));
    }
    return environment;
}

SimProcess::SimProcess(const std::vector<std::string>& controllers)
{
    QStringList args;
    for (const std::string& controller : controllers) {
        args << QString::fromStdString(controller);
    }
    process_.setProcessEnvironment(Language());
    process_.start(TARNEL_SIM_PATH, args);
    // The banner names the device; controllers are listed after it.
    constexpr std::string_view kPortsLine = "TARNEL_PORTS=";
    while (process_.waitForReadyRead(5000)) {
        Output();
        const auto at = output_.find(kPortsLine);
        const auto end = output_.find('\n', at);
        if (at != std::string::npos && end != std::string::npos) {
            devicePath_ = output_.substr(at + kPortsLine.size(), end - at - kPortsLine.size());
            output_.erase(0, end + 1);
            return;
        }
    }
    throw std::runtime_error("tarnel-sim did not say where it serves");
}

void SimProcess::Tell(const std::string& line)
{
    process_.write(QByteArray::fromStdString(line + "\n"));
    process_.waitForBytesWritten();
}

void SimProcess::HangUp()
{
    process_.terminate();
    process_.waitForFinished();
}

std::string SimProcess::Output()
{
    // Without an event loop the pipe is read only here.
    process_.waitForReadyRead(0);
    output_ += process_.readAllStandardOutput().toStdString();
    return output_;
}

std::vector<std::string> SimProcess::Requests()
{
    std::vector<std::string> requests;
    const std::string output = Output();
    constexpr std::string_view kRequest = " <- ";
    for (std::size_t at = output.find(kRequest); at != std::string::npos; at = output.find(kRequest, at + 1)) {
        const std::size_t end = output.find_first_of("(\n", at);
        std::string bytes = output.substr(at + kRequest.size(), end - at - kRequest.size());
        bytes.erase(bytes.find_last_not_of(' ') + 1);
        requests.push_back(std::move(bytes));
    }
    return requests;
}

std::vector<int> SimProcess::ProbedAddresses()
{
    std::vector<int> addresses;
    for (const std::string& request : Requests()) {
        if (request.substr(2, 9) == " 04 40 02") {
            addresses.push_back(std::stoi(request.substr(0, 2), nullptr, 16));
        }
    }
    return addresses;
}

}  // namespace tarnel::test
