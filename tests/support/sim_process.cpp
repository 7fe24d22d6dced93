#include "sim_process.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarnel::test {
namespace {

constexpr std::string_view kPortsLine = "TARNEL_PORTS=";

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& controllers)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, pipeFds[0]);

    std::vector<std::string> args{TARNEL_SIM_PATH};
    args.insert(args.end(), controllers.begin(), controllers.end());
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, TARNEL_SIM_PATH, &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    stdout_ = pipeFds[0];
    if (spawned != 0) {
        throw std::runtime_error("cannot start tarnel-sim");
    }
    ::fcntl(stdout_, F_SETFL, ::fcntl(stdout_, F_GETFL) | O_NONBLOCK);

    // The banner names the device; controllers are listed after it.
    for (int attempt = 0; attempt < 50; ++attempt) {
        Output();
        const auto at = output_.find(kPortsLine);
        const auto end = output_.find('\n', at);
        if (at != std::string::npos && end != std::string::npos) {
            devicePath_ = output_.substr(at + kPortsLine.size(), end - at - kPortsLine.size());
            output_.erase(0, end + 1);
            return;
        }
        pollfd ready{stdout_, POLLIN, 0};
        ::poll(&ready, 1, 100);
    }
    throw std::runtime_error("tarnel-sim did not say where it serves");
}

SimProcess::~SimProcess()
{
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    ::close(stdout_);
}

std::string SimProcess::Output()
{
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(stdout_, buffer, sizeof buffer)) > 0) {
        output_.append(buffer, static_cast<std::size_t>(n));
    }
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
