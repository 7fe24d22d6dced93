#include "platform/append_file.h"
#include "platform/last_error.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace tarnel::platform {
namespace {

class PosixAppendFile : public AppendFile {
public:
    PosixAppendFile(int fd, std::string contents) : fd_(fd), contents_(std::move(contents)) {}
    ~PosixAppendFile() override { ::close(fd_); }

    const std::string& Contents() const override { return contents_; }

    std::error_code Append(std::string_view text) override
    {
        while (!text.empty()) {
            const ssize_t written = ::write(fd_, text.data(), text.size());
            if (written < 0 && errno != EINTR) {
                return LastError();
            }
            text.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
        }
        return ::fsync(fd_) == 0 ? std::error_code{} : LastError();
    }

private:
    int fd_;
    std::string contents_;
};

// Syncs the folder that holds `path`, so that a new file's name survives a
// power cut as well as its contents.
std::error_code SyncFolder(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError();
    }
    const std::error_code error = ::fsync(fd) == 0 ? std::error_code{} : LastError();
    ::close(fd);
    return error;
}

}  // namespace

bool HeldElsewhere(std::error_code openError)
{
    return openError == std::errc::operation_would_block;
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::error_code& error)
{
    bool created = false;
    int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY | O_CREAT | O_EXCL, 0644);
        created = fd >= 0;
    }
    if (fd < 0) {
        error = LastError();
        return nullptr;
    }
    // Two runs appending to one record would interleave their rows.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = LastError();
        ::close(fd);
        return nullptr;
    }
    std::string contents;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno != EINTR) {
            error = LastError();
            ::close(fd);
            return nullptr;
        }
        contents.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    if (created && (error = SyncFolder(path))) {
        ::close(fd);
        return nullptr;
    }
    error.clear();
    return std::make_unique<PosixAppendFile>(fd, std::move(contents));
}

}  // namespace tarnel::platform
