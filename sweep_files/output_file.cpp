#include "output_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

namespace veltrano {

namespace {

std::string why(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

std::variant<OutputFile, FileRefusal> OutputFile::create(const std::string& path) {
    OutputFile file;
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd_ < 0 && errno == EEXIST) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))) {
            file.fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);  // a device or a pipe
            if (file.fd_ < 0) return FileRefusal{false, why(path)};
            file.stream_.reset(::fdopen(file.fd_, "ab"));
            return file;
        }
        return FileRefusal{true, path + " exists and is never overwritten"};
    }
    if (file.fd_ < 0) return FileRefusal{false, why(path)};
    file.stream_.reset(::fdopen(file.fd_, "wb"));
    if (!file.stream_) {
        ::close(file.fd_);
        return FileRefusal{false, why(path)};
    }
    // Another process that opened the new file to continue it may hold it
    // already; it is then that process's file.
    if (::flock(file.fd_, LOCK_EX | LOCK_NB) != 0)
        return FileRefusal{true, path + " is being written by another process"};
    return file;
}

std::variant<OutputFile, FileRefusal> OutputFile::openExisting(const std::string& path) {
    OutputFile file;
    file.fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (file.fd_ < 0) return FileRefusal{false, why(path)};
    file.stream_.reset(::fdopen(file.fd_, "r+b"));
    if (!file.stream_) {
        ::close(file.fd_);
        return FileRefusal{false, why(path)};
    }
    if (::flock(file.fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) return FileRefusal{true, path + " is being written by another process"};
        return FileRefusal{false, "cannot lock " + path + ": " + std::strerror(errno)};
    }
    return file;
}

bool OutputFile::truncateTo(std::uint64_t bytes) {
    return std::fflush(stream_.get()) == 0 && ::ftruncate(fd_, static_cast<off_t>(bytes)) == 0 &&
           std::fseek(stream_.get(), 0, SEEK_END) == 0;
}

bool OutputFile::close() {
    if (!stream_) return true;
    const bool flushed = std::fflush(stream_.get()) == 0;
    const bool closed = std::fclose(stream_.release()) == 0;
    return flushed && closed;
}

bool pathTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::optional<FileRefusal> checkPicturePath(const std::string& path, const std::string& otherOutput) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (!otherOutput.empty() &&
        fs::weakly_canonical(fs::absolute(path), ignored) == fs::weakly_canonical(fs::absolute(otherOutput), ignored))
        return FileRefusal{true, path + " names the file of the rows"};
    if (pathTaken(path)) return FileRefusal{true, path + " exists and is never overwritten"};
    const std::string folder = folderOf(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return FileRefusal{true, path + ": the folder " + folder + " does not exist"};
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return FileRefusal{true, path + ": the folder " + folder + " is not writable"};
    return std::nullopt;
}

namespace {

// A new, empty file beside `path` with the same extension, open for
// writing; its descriptor (-1 when none can be made) and its name.
int createBeside(const std::string& path, std::string& name) {
    const std::string extension = std::filesystem::path(path).extension().string();
    name = folderOf(path) + "/.veltrano-XXXXXX" + extension;
    const int fd = ::mkstemps(name.data(), static_cast<int>(extension.size()));
    if (fd < 0) return -1;
    // mkstemps makes it private; the file is as readable as any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    return fd;
}

}  // namespace

std::string temporaryBeside(const std::string& path) {
    std::string name;
    const int fd = createBeside(path, name);
    if (fd < 0) return {};
    ::close(fd);
    return name;
}

std::variant<ReplacementFile, FileRefusal> ReplacementFile::open(const std::string& path) {
    ReplacementFile file;
    file.path_ = path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode)) {
            // A link is kept: the file it names is the one replaced.
            std::error_code error;
            const std::filesystem::path target = std::filesystem::canonical(path, error);
            if (error) return FileRefusal{false, "cannot write " + path + ": " + error.message()};
            file.path_ = target.string();
        }
        file.oldFd_ = ::open(file.path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (file.oldFd_ < 0) return FileRefusal{false, why(path)};
        if (::fstat(file.oldFd_, &info) != 0) return FileRefusal{false, why(path)};
        if (!S_ISREG(info.st_mode)) return FileRefusal{false, "cannot write " + path + ": not a regular file"};
        if (::flock(file.oldFd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) return FileRefusal{true, path + " is being written by another process"};
            return FileRefusal{false, "cannot lock " + path + ": " + std::strerror(errno)};
        }
        file.oldDevice_ = info.st_dev;
        file.oldInode_ = info.st_ino;
    }
    const int fd = createBeside(file.path_, file.temporary_);
    if (fd < 0) {
        file.temporary_.clear();
        return FileRefusal{false, why(path)};
    }
    file.stream_ = ::fdopen(fd, "wb");
    if (!file.stream_) {
        ::close(fd);
        return FileRefusal{false, why(path)};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return FileRefusal{false, "cannot lock " + path + ": " + std::strerror(errno)};
    return file;
}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : path_(std::move(other.path_)),
      temporary_(std::move(other.temporary_)),
      stream_(std::exchange(other.stream_, nullptr)),
      oldFd_(std::exchange(other.oldFd_, -1)),
      oldDevice_(other.oldDevice_),
      oldInode_(other.oldInode_) {
    other.temporary_.clear();
}

ReplacementFile::~ReplacementFile() {
    discard();
}

std::string ReplacementFile::finish() {
    if (!stream_) return "cannot write " + path_ + ": the file is closed";
    if (std::fflush(stream_) != 0 || ::fsync(::fileno(stream_)) != 0) return why(path_);
    return {};
}

std::string ReplacementFile::publish() {
    if (!stream_ || temporary_.empty()) return "cannot write " + path_ + ": the file is closed";
    std::string error;
    if (oldFd_ >= 0) {
        // The path must still name the file locked at the start.
        struct stat now {};
        if (::stat(path_.c_str(), &now) != 0 || now.st_dev != oldDevice_ || now.st_ino != oldInode_)
            error = path_ + " was replaced meanwhile and is never overwritten";
        else if (::rename(temporary_.c_str(), path_.c_str()) != 0)
            error = why(path_);
    } else if (::link(temporary_.c_str(), path_.c_str()) != 0) {
        error = errno == EEXIST ? path_ + " appeared meanwhile and is never overwritten" : why(path_);
    } else {
        ::unlink(temporary_.c_str());
    }
    if (!error.empty()) {
        discard();
        return error;
    }
    // Held until here: another writer that opens the new file before it is
    // closed is refused.
    temporary_.clear();
    release();
    return {};
}

void ReplacementFile::discard() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    release();
}

void ReplacementFile::release() {
    if (stream_) std::fclose(std::exchange(stream_, nullptr));
    if (oldFd_ >= 0) ::close(std::exchange(oldFd_, -1));
}

std::string publishWithoutReplacing(const std::string& temporary, const std::string& path) {
    std::string error;
    if (::link(temporary.c_str(), path.c_str()) != 0)
        error = errno == EEXIST ? path + " appeared meanwhile and is never overwritten" : why(path);
    ::unlink(temporary.c_str());
    return error;
}

std::string spaceWarning(const std::string& path, double expectedBytes) {
    struct statvfs fs {};
    if (::statvfs(folderOf(path).c_str(), &fs) != 0) return {};
    const double free = static_cast<double>(fs.f_bavail) * static_cast<double>(fs.f_frsize);
    if (free >= expectedBytes) return {};
    const auto gigabytes = [](double bytes) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3g GB", bytes / 1e9);
        return std::string(text);
    };
    return "warning: the rows will take about " + gigabytes(expectedBytes) + " and the file system of " + path +
           " has " + gigabytes(free) + " free";
}

}  // namespace veltrano
