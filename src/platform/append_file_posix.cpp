#include "platform/append_file.h"
#include "platform/file_io_posix.h"
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
        if (const std::error_code error = WriteAll(fd_, text)) {
            return error;
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
    if ((error = ReadToEnd(fd, contents)) || (created && (error = SyncFolder(path)))) {
        ::close(fd);
        return nullptr;
    }
    error.clear();
    return std::make_unique<PosixAppendFile>(fd, std::move(contents));
}

}  // namespace tarnel::platform
