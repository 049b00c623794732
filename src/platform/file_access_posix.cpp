#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_access.h"

namespace trovik {
namespace {

std::string Reason(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Closes the descriptor and, unless released, removes the temporary file.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!released_) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void Release() { released_ = true; }

private:
    int fd_;
    std::string path_;
    bool released_ = false;
};

}  // namespace

FileAccess::ReadResult SystemFileAccess::ReadFile(const std::string& path, std::size_t maxBytes) {
    ReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.reason = Reason(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        result.reason = "it is a folder, not a file";
        return result;
    }
    result.bytes.resize(maxBytes);
    std::size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t n = ::read(fd, result.bytes.data() + filled, maxBytes - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.reason = Reason(errno);
            ::close(fd);
            return result;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    result.bytes.resize(filled);
    result.ok = true;
    return result;
}

std::optional<std::string> SystemFileAccess::ReplaceFile(const std::string& path, std::string_view bytes) {
    mode_t mode = 0666;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return "it is a folder";
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            (::geteuid() != 0 && ::access(path.c_str(), W_OK) != 0))
            return "the file is read-only (make it writable, e.g. chmod u+w " + path + ")";
        mode = existing.st_mode & 07777;
    } else {
        // A new file gets the permissions any program would give it.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    const std::string folder = FolderOf(path);
    std::string pattern = folder + "/.trovik-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return "cannot create a file in the folder " + folder + ": " + Reason(errno);
    TemporaryFile temp(fd, pattern);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(temp.fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Reason(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fchmod(temp.fd(), mode) != 0) return Reason(errno);
    if (::fsync(temp.fd()) != 0) return Reason(errno);
    if (temp.Close() != 0) return Reason(errno);
    if (::rename(temp.path().c_str(), path.c_str()) != 0) return Reason(errno);
    temp.Release();

    // Make the rename itself durable; failing that is no reason to call
    // the save failed.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

}  // namespace trovik
