#include "child_process.h"

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

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (auto& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> args, std::vector<std::string> environment)
{
    int out[2];
    if (::pipe(out) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, out[0]);
    auto argv = Pointers(args);
    auto envp = Pointers(environment);
    const int spawned =
        ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environment.empty() ? environ : envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + args[0]);
    }
    ::fcntl(stdout_, F_SETFL, ::fcntl(stdout_, F_GETFL) | O_NONBLOCK);
}

ChildProcess::~ChildProcess()
{
    Stop();
    ::close(stdout_);
}

void ChildProcess::Stop()
{
    if (!ended_) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        ended_ = true;
    }
}

void ChildProcess::Signal(int signal) const
{
    ::kill(pid_, signal);
}

std::string ChildProcess::ReadAvailable()
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(stdout_, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

std::string ChildProcess::ReadToEnd()
{
    std::string text;
    for (;;) {
        WaitForOutput(100);
        char buffer[4096];
        const ssize_t n = ::read(stdout_, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ended_ = true;
    return text;
}

void ChildProcess::WaitForOutput(int ms) const
{
    pollfd ready{stdout_, POLLIN, 0};
    ::poll(&ready, 1, ms);
}

}  // namespace tarnel::test
