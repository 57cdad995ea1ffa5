#include "join_command.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <variant>
#include <vector>

#include "command_line.h"
#include "output_file.h"
#include "sweep_csv.h"
#include "sweep_resume.h"

namespace veltrano::cli {

namespace {

int say(const std::string& message, int status) {
    std::cerr << "veltrano-cli join: " << message << '\n';
    return status;
}

// The shards' files, open and held with a shared lock while they are read:
// a task still writing one holds it exclusively.
class ShardFiles {
public:
    ShardFiles() = default;
    ShardFiles(const ShardFiles&) = delete;
    ShardFiles& operator=(const ShardFiles&) = delete;
    ~ShardFiles() {
        for (int fd : fds_) ::close(fd);
    }
    // The path that reads the open file, or the reason it cannot be read.
    std::variant<std::string, std::string> open(const std::string& file) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::variant<std::string, std::string>(std::in_place_index<1>, std::strerror(errno));
        fds_.push_back(fd);
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
            return std::variant<std::string, std::string>(std::in_place_index<1>, "it is still being written");
        return std::variant<std::string, std::string>(std::in_place_index<0>,
                                                      "/proc/self/fd/" + std::to_string(fd));
    }

private:
    std::vector<int> fds_;
};

}  // namespace

std::string shardFile(const std::string& pattern, std::int64_t k) {
    std::string file = pattern;
    const auto at = file.find("{K}");
    if (at != std::string::npos) file.replace(at, 3, std::to_string(k));
    return file;
}

int runJoin(const JoinOptions& options) {
    const std::int64_t size = options.grid.size();
    // Every shard first: nothing is written unless all of them fit.
    ShardFiles shards;
    std::vector<std::string> readPaths;
    for (std::int64_t k = 1; k <= options.shards; ++k) {
        const std::string file = shardFile(options.pattern, k);
        const IndexRange range = shardRange(size, k, options.shards);
        const std::string shard = "shard " + std::to_string(k) + " of " + std::to_string(options.shards) + " (" + file + ")";
        if (!pathTaken(file)) return say(shard + " is missing", kExitRefused);
        const auto opened = shards.open(file);
        if (opened.index() == 1) return say(shard + ": " + std::get<1>(opened), kExitRefused);
        readPaths.push_back(std::get<0>(opened));
        auto examined = examineSweepFile(readPaths.back(), file, options.grid, range, options.run, [](const SweepPoint&) {},
                                         [](std::int64_t) {});
        if (const auto* why = std::get_if<std::string>(&examined)) return say(shard + ": " + *why, kExitRefused);
        const ExaminedFile& f = std::get<ExaminedFile>(examined);
        if (!f.hasHeader || f.nextIndex != range.end || f.keepBytes != f.totalBytes)
            return say(shard + " is incomplete: it has " + std::to_string(f.nextIndex - range.begin) + " of its " +
                           std::to_string(range.end - range.begin) + " rows" +
                           (f.keepBytes != f.totalBytes ? " and an unfinished line" : ""),
                       kExitRefused);
    }

    std::optional<OutputFile> file;
    if (!options.output.empty()) {
        auto created = OutputFile::create(options.output);
        if (auto* why = std::get_if<FileRefusal>(&created))
            return say(why->message, why->refused ? kExitRefused : kExitFailed);
        file.emplace(std::move(std::get<OutputFile>(created)));
    }
    std::FILE* out = file ? file->stream() : stdout;
    bool failed = std::fprintf(out, "%s\n", sweepHeader(options.run.errors).c_str()) < 0;
    std::string line;
    for (std::int64_t k = 1; k <= options.shards && !failed; ++k) {
        std::ifstream in(readPaths[static_cast<std::size_t>(k - 1)], std::ios::binary);
        std::getline(in, line);  // the header
        while (std::getline(in, line)) {
            line += '\n';
            if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) {
                failed = true;
                break;
            }
        }
    }
    failed |= std::fflush(out) != 0 || (file && !file->close());
    if (failed)
        return say("cannot write the rows" + (options.output.empty() ? std::string() : " to " + options.output) + ": " +
                       std::strerror(errno),
                   kExitFailed);
    return kExitOk;
}

}  // namespace veltrano::cli
