#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace veltrano {

// Why a file was not taken: `refused` when the user's file is protected
// (it exists, or another process is writing it), otherwise it could not be
// written at all.
struct FileRefusal {
    bool refused = true;
    std::string message;
};

// A file that this process alone writes: it holds an exclusive lock on it
// (flock) from opening to closing, so a second writer, in this process or
// any other, is refused at once.
class OutputFile {
public:
    // A file that does not exist yet, created without following or replacing
    // anything that appears at `path` meanwhile (a dangling symbolic link
    // included). A path that names a device or a pipe is written as it is.
    static std::variant<OutputFile, FileRefusal> create(const std::string& path);
    // An existing regular file, to be read and then continued.
    static std::variant<OutputFile, FileRefusal> openExisting(const std::string& path);

    // The open file's descriptor (to read it before continuing it).
    [[nodiscard]] int descriptor() const { return fd_; }
    // Cuts the file to `bytes` and writes from there on.
    [[nodiscard]] bool truncateTo(std::uint64_t bytes);
    [[nodiscard]] std::FILE* stream() const { return stream_.get(); }
    // Flushes and closes; false when something could not be written.
    [[nodiscard]] bool close();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> stream_;
    int fd_ = -1;
};

// A file written beside `path` and put in its place only once whole, held
// by this writer alone throughout: the new file is locked (flock) from its
// creation to its close, and so is the file it replaces, so that no other
// writer continues the old file or takes the new one. A file that another
// process is writing is refused before anything is written.
class ReplacementFile {
public:
    static std::variant<ReplacementFile, FileRefusal> open(const std::string& path);
    ReplacementFile(ReplacementFile&& other) noexcept;
    ReplacementFile& operator=(ReplacementFile&&) = delete;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Removes the new file unless it was published.
    ~ReplacementFile();

    [[nodiscard]] std::FILE* stream() const { return stream_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    // Flushes the new file to the disk; the empty text, else what failed.
    [[nodiscard]] std::string finish();
    // Puts the finished file in place of the one locked at the start (or at
    // the path that was free, if it still is) and closes it; the empty text
    // on success, else why not (the new file is removed, the path is as it
    // was).
    [[nodiscard]] std::string publish();
    // Removes the new file; the path stays as it was.
    void discard();

private:
    ReplacementFile() = default;
    void release();

    std::string path_;       // where the file goes (a symbolic link's target)
    std::string temporary_;  // the new file, beside it
    std::FILE* stream_ = nullptr;
    int oldFd_ = -1;  // the replaced file, locked; -1 when the path was free
    std::uint64_t oldDevice_ = 0, oldInode_ = 0;
};

// An existing path, or a dangling symbolic link.
[[nodiscard]] bool pathTaken(const std::string& path);

// Checks, before any work, that a picture can later be written to `path`
// without replacing anything: the path is free, its folder exists and is
// writable, and it is not `otherOutput` (the rows' file, may be empty).
[[nodiscard]] std::optional<FileRefusal> checkPicturePath(const std::string& path, const std::string& otherOutput);

// Moves the finished file `temporary` to `path` unless something exists
// there by now (then `temporary` is removed and the text says why); the empty
// text on success.
[[nodiscard]] std::string publishWithoutReplacing(const std::string& temporary, const std::string& path);

// A new, empty temporary file beside `path` with the same extension; its
// name, or empty when none can be made.
[[nodiscard]] std::string temporaryBeside(const std::string& path);

// A warning when the file system of `path` holds fewer free bytes than
// `expectedBytes`; empty when it has room (or cannot be asked).
[[nodiscard]] std::string spaceWarning(const std::string& path, double expectedBytes);

}  // namespace veltrano
