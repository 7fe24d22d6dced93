#include "platform/file_io_posix.h"
#include "platform/last_error.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnel::platform {

std::error_code ReadToEnd(int fd, std::string& contents)
{
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno != EINTR) {
            return LastError();
        }
        contents.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return {};
}

std::error_code WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno != EINTR) {
            return LastError();
        }
        text.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
    }
    return {};
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::error_code& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = LastError();
        return std::nullopt;
    }
    std::string contents;
    error = ReadToEnd(fd, contents);
    ::close(fd);
    return error ? std::nullopt : std::optional(std::move(contents));
}

bool NoSuchFile(std::error_code readError)
{
    return readError == std::errc::no_such_file_or_directory;
}

std::error_code WriteWholeFile(const std::string& path, std::string_view text)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return LastError();
    }
    std::error_code error = WriteAll(fd, text);
    if (!error && (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0)) {
        error = LastError();
    }
    ::close(fd);
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
    }
    return error;
}

std::error_code MakeFolders(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return error;
}

}  // namespace tarnel::platform
