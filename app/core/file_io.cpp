#include "app/core/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rallinox {

namespace {

// Closes the descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closing can report a late write error, so callers that write check it.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count == 0) return text;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        text.append(buffer, static_cast<size_t>(count));
    }
}

WriteStatus writeWholeFile(const std::filesystem::path& file, const std::string& text, bool syncToDisk) {
    FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) return WriteStatus::CannotOpen;
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd.get(), text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return WriteStatus::WriteFailed;
        written += static_cast<size_t>(count);
    }
    if (syncToDisk && ::fsync(fd.get()) != 0) return WriteStatus::WriteFailed;
    return fd.close() ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

std::filesystem::path temporaryFileFor(const std::filesystem::path& file) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    return temp;
}

WriteStatus replaceWholeFile(const std::filesystem::path& file, const std::string& text, std::string* why) {
    const std::filesystem::path temp = temporaryFileFor(file);
    WriteStatus status = writeWholeFile(temp, text, /*syncToDisk=*/true);
    if (status == WriteStatus::Ok && ::rename(temp.c_str(), file.c_str()) != 0) status = WriteStatus::RenameFailed;
    if (status == WriteStatus::Ok) {
        // The rename itself is on the disk only once the folder is.
        FileDescriptor folder(::open(file.parent_path().empty() ? "." : file.parent_path().c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() >= 0) ::fsync(folder.get());
        return status;
    }
    const int reason = errno;
    ::unlink(temp.c_str());
    if (why) *why = std::strerror(reason);
    return status;
}

}  // namespace rallinox
