#include "shard_join.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>
#include <variant>

#include "descriptor_stream.h"
#include "line_reader.h"
#include "output_file.h"
#include "sweep_examination.h"
#include "sweep_rows.h"
#include "system_sweep_examination.h"

namespace veltrano {

namespace {

// A shard's file, open for reading and held with a shared lock until it is
// closed.
class OpenShard {
public:
    OpenShard() = default;
    OpenShard(const OpenShard&) = delete;
    OpenShard& operator=(const OpenShard&) = delete;
    ~OpenShard() {
        if (fd_ >= 0) ::close(fd_);
    }
    // Empty on success, else why it cannot be read.
    std::string open(const std::string& file) {
        struct stat info {};
        if (::lstat(file.c_str(), &info) != 0 && errno == ENOENT) return " is missing";
        // Not blocking on a pipe that no one writes.
        fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) return ": " + std::string(std::strerror(errno));
        if (::fstat(fd_, &info) != 0) return ": " + std::string(std::strerror(errno));
        if (S_ISDIR(info.st_mode)) return " is a folder, not a shard's file";
        if (!S_ISREG(info.st_mode)) return " is not a regular file";
        if (::flock(fd_, LOCK_SH | LOCK_NB) != 0) return ": it is still being written";
        return {};
    }
    [[nodiscard]] int descriptor() const { return fd_; }

private:
    int fd_ = -1;
};

// What was checked of a shard: its bytes, by count and digest.
struct CheckedBytes {
    std::uint64_t count = 0;
    std::uint64_t digest = 0;
};

// What the join needs of a sweep, whichever its form.
struct ShardRules {
    std::int64_t size = 0;  // the points of the whole sweep
    std::string header;
    std::int64_t shards = 1;
    std::string pattern;
    std::function<std::variant<ExaminedFile, ExaminationRefusal>(std::istream& in, const std::string& file,
                                                                 IndexRange range)>
        examine;
};

std::string shardName(const ShardRules& set, std::int64_t k) {
    return "shard " + std::to_string(k) + " of " + std::to_string(set.shards) + " (" + shardFile(set.pattern, k) + ")";
}

// The reason shard k does not fit, or its checked bytes.
std::variant<CheckedBytes, std::string> checkShard(const ShardRules& set, std::int64_t k) {
    const std::string file = shardFile(set.pattern, k);
    const std::string name = shardName(set, k);
    const IndexRange range = shardRange(set.size, k, set.shards);
    OpenShard shard;
    if (const std::string why = shard.open(file); !why.empty()) return name + why;
    DescriptorStream in(shard.descriptor(), true);
    const auto examined = set.examine(in, file, range);
    if (const auto* why = std::get_if<ExaminationRefusal>(&examined)) {
        std::string message = name + ": " + why->message;
        // A file of another split: its rows run past this shard's end, or
        // its first row is not this shard's first.
        const std::string split = "; was the sweep split into " + std::to_string(set.shards) + " shards?";
        if (why->why == ExaminationRefusal::Why::TooManyRows)
            message = name + " has more rows than shard " + std::to_string(k) + " of " + std::to_string(set.shards) +
                      " holds (" + std::to_string(range.end - range.begin) + ")" + split;
        else if (why->why == ExaminationRefusal::Why::ForeignRow && why->index == range.begin && set.shards > 1)
            message += "; shard " + std::to_string(k) + " of " + std::to_string(set.shards) + " starts at row " +
                       std::to_string(range.begin) + split;
        return message;
    }
    const ExaminedFile& f = std::get<ExaminedFile>(examined);
    if (!f.hasHeader || f.nextIndex != range.end || f.keepBytes != f.totalBytes)
        return name + " is incomplete: it has " + std::to_string(f.nextIndex - range.begin) + " of its " +
               std::to_string(range.end - range.begin) + " rows" +
               (f.keepBytes != f.totalBytes ? " and an unfinished line" : "");
    return CheckedBytes{in.bytesRead(), in.digest()};
}

// Copies shard k's rows (its header left out) to `out`, each row's index
// checked again as it goes and the bytes compared by digest with those
// checked at the end; false with `error` set when they are not those
// checked or cannot be written.
bool copyShard(const ShardRules& set, std::int64_t k, const CheckedBytes& checked, std::FILE* out, std::string& error,
               bool& writeFailed) {
    const std::string name = shardName(set, k);
    const std::string changed = name + " changed after it was checked";
    OpenShard shard;
    if (const std::string why = shard.open(shardFile(set.pattern, k)); !why.empty()) {
        error = name + why;
        return false;
    }
    const IndexRange range = shardRange(set.size, k, set.shards);
    DescriptorStream in(shard.descriptor(), true);
    LineReader lines(in);
    std::string line;
    if (lines.next(line) != LineReader::Got::Line || line != set.header) {
        error = changed;
        return false;
    }
    std::int64_t index = range.begin;
    for (LineReader::Got got; (got = lines.next(line)) != LineReader::Got::End;) {
        const std::string start = std::to_string(index) + ',';
        if (got != LineReader::Got::Line || index >= range.end || line.compare(0, start.size(), start) != 0) {
            error = changed;
            return false;
        }
        line += '\n';
        if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) {
            error = std::strerror(errno);
            writeFailed = true;
            return false;
        }
        ++index;
    }
    if (in.bytesRead() != checked.count || in.digest() != checked.digest) {
        error = changed;
        return false;
    }
    return true;
}

// Where the joined rows go: standard output, a device or pipe written as it
// is, or a new file written beside the output's name and given it at the
// end.
class JoinOutput {
public:
    // Checks, before any work, that `output` can be written.
    std::optional<FileRefusal> prepare(const std::string& output) {
        output_ = output;
        struct stat info {};
        direct_ = ::stat(output.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode));
        if (direct_) return std::nullopt;
        return checkPicturePath(output, {});
    }
    // Opens it; the refusal otherwise.
    std::optional<FileRefusal> open() {
        if (direct_) {
            auto created = OutputFile::create(output_);
            if (auto* why = std::get_if<FileRefusal>(&created)) return *why;
            file_.emplace(std::move(std::get<OutputFile>(created)));
            stream_ = file_->stream();
            return std::nullopt;
        }
        temporary_ = temporaryBeside(output_);
        if (temporary_.empty()) return FileRefusal{false, "cannot write " + output_ + ": " + std::strerror(errno)};
        stream_ = std::fopen(temporary_.c_str(), "wb");
        if (!stream_) return FileRefusal{false, "cannot write " + output_ + ": " + std::strerror(errno)};
        return std::nullopt;
    }
    [[nodiscard]] std::FILE* stream() const { return stream_; }
    // Closes it and, for a new file, gives it its name; the error otherwise.
    std::string finish() {
        if (file_) return file_->close() ? std::string() : "cannot write the rows to " + output_ + ": " + std::strerror(errno);
        const bool written = std::fflush(stream_) == 0;
        const int writeErrno = errno;
        const bool closed = std::fclose(stream_) == 0;
        stream_ = nullptr;
        if (!written || !closed) {
            errno = written ? errno : writeErrno;
            std::string error = "cannot write the rows to " + output_ + ": " + std::strerror(errno);
            ::unlink(temporary_.c_str());
            return error;
        }
        return publishWithoutReplacing(temporary_, output_);
    }
    // Leaves nothing behind.
    void abandon() {
        if (file_) {
            (void)file_->close();
            return;
        }
        if (stream_) std::fclose(stream_);
        stream_ = nullptr;
        if (!temporary_.empty()) ::unlink(temporary_.c_str());
    }

private:
    std::string output_, temporary_;
    bool direct_ = false;
    std::optional<OutputFile> file_;
    std::FILE* stream_ = nullptr;
};

}  // namespace

std::string shardFile(const std::string& pattern, std::int64_t k) {
    std::string file;
    const std::string number = std::to_string(k);
    for (std::size_t at = 0;;) {
        const auto next = pattern.find("{K}", at);
        if (next == std::string::npos) return file + pattern.substr(at);
        file += pattern.substr(at, next - at) + number;
        at = next + 3;
    }
}

namespace {

std::optional<JoinFailure> joinWith(const ShardRules& set, const std::string& output, int threads,
                                    std::FILE* standardOutput, const std::function<void()>& checked) {
    JoinOutput target;
    if (!output.empty()) {
        if (auto why = target.prepare(output)) return JoinFailure{why->refused, {why->message}};
    }

    // Every shard first, in parallel: nothing is written unless all fit.
    const std::int64_t m = set.shards;
    std::vector<std::variant<CheckedBytes, std::string>> checks(static_cast<std::size_t>(m));
    std::atomic<std::int64_t> nextShard{1};
    const auto work = [&] {
        for (std::int64_t k; (k = nextShard++) <= m;) checks[static_cast<std::size_t>(k - 1)] = checkShard(set, k);
    };
    const auto hardware = static_cast<std::int64_t>(std::max(1U, std::thread::hardware_concurrency()));
    const std::int64_t workers = std::min<std::int64_t>(m, threads > 0 ? threads : hardware);
    {
        std::vector<std::jthread> pool;
        for (std::int64_t i = 1; i < workers; ++i) pool.emplace_back(work);
        work();
    }
    JoinFailure refused;
    for (const auto& check : checks)
        if (const auto* why = std::get_if<std::string>(&check)) refused.messages.push_back(*why);
    if (!refused.messages.empty()) return refused;
    if (checked) checked();

    std::FILE* out = standardOutput;
    if (!output.empty()) {
        if (auto why = target.open()) return JoinFailure{why->refused, {why->message}};
        out = target.stream();
    }
    const std::string shown = output.empty() ? std::string("standard output") : output;
    const std::string header = set.header + '\n';
    if (std::fwrite(header.data(), 1, header.size(), out) != header.size()) {
        const std::string why = std::strerror(errno);
        target.abandon();
        return JoinFailure{false, {"cannot write the rows to " + shown + ": " + why}};
    }
    for (std::int64_t k = 1; k <= m; ++k) {
        std::string error;
        bool writeFailed = false;
        if (!copyShard(set, k, std::get<CheckedBytes>(checks[static_cast<std::size_t>(k - 1)]), out, error,
                       writeFailed)) {
            target.abandon();
            if (writeFailed) return JoinFailure{false, {"cannot write the rows to " + shown + ": " + error}};
            return JoinFailure{true, {error + (output.empty() ? std::string() : "; nothing was written")}};
        }
    }
    if (output.empty()) {
        if (std::fflush(out) != 0) return JoinFailure{false, {"cannot write the rows to " + shown + ": " + std::strerror(errno)}};
        return std::nullopt;
    }
    if (const std::string error = target.finish(); !error.empty()) return JoinFailure{false, {error}};
    return std::nullopt;
}

}  // namespace

std::optional<JoinFailure> joinShards(const ShardSet& set, const std::string& output, int threads,
                                      std::FILE* standardOutput, const std::function<void()>& checked) {
    ShardRules rules{set.grid.size(), sweepHeader(set.run.errors), set.shards, set.pattern, {}};
    rules.examine = [&](std::istream& in, const std::string& file, IndexRange range) {
        return examineSweepFile(in, file, set.grid, range, set.run);
    };
    return joinWith(rules, output, threads, standardOutput, checked);
}

std::optional<JoinFailure> joinSystemShards(const SystemShardSet& set, const std::string& output, int threads,
                                            std::FILE* standardOutput, const std::function<void()>& checked) {
    ShardRules rules{set.sweep.grid.size(), systemSweepHeader(formOf(set.sweep)), set.shards, set.pattern, {}};
    rules.examine = [&](std::istream& in, const std::string& file, IndexRange range) {
        return examineSystemSweepFile(in, file, set.sweep, range);
    };
    return joinWith(rules, output, threads, standardOutput, checked);
}

}  // namespace veltrano
