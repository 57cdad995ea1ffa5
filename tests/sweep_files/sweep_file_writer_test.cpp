#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_folder.h"
#include "sweep_file_fixture.h"
#include "sweep_file_writer.h"

using namespace veltrano;
using namespace veltrano::testing;

namespace {

SweepFileJob jobOf(const std::string& output, bool resume = false) {
    return {.grid = lineOfR(60), .run = shortRun(), .output = output, .resume = resume, .shard = {}, .threads = 2};
}

}  // namespace

// Stopped before its first row, the file is a start that continues; any
// cut of it continues too.
TEST(SweepFileWriter, WritesTheRowsAndContinuesAFileStoppedOrCutAnywhere) {
    ScratchFolder folder;
    const std::string path = folder / "s.csv";
    const std::string whole = fileOf(sweepHeader(false), sweepLines(lineOfR(60), {0, 60}, shortRun()));
    std::atomic<bool> stop{true};
    SweepFileJob stopped = jobOf(path);
    stopped.stop = &stop;
    EXPECT_EQ(messageOf(writeSweepFile(stopped, {})).substr(0, 9), "stopped: ");
    std::vector<std::int64_t> rows;
    SweepFileEvents events;
    events.row = [&](const SweepPoint& p) { rows.push_back(p.index); };
    EXPECT_EQ(messageOf(writeSweepFile(jobOf(path, true), events)), "");
    EXPECT_EQ(readText(path), whole);
    ASSERT_EQ(rows.size(), 60U);
    EXPECT_EQ(rows.back(), 59);

    for (std::size_t cut : {std::size_t{0}, std::size_t{30}, whole.size() / 2, whole.size() - 1, whole.size()}) {
        std::filesystem::remove(path);
        writeText(path, whole.substr(0, cut));
        rows.clear();
        EXPECT_EQ(messageOf(writeSweepFile(jobOf(path, true), events)), "") << cut;
        EXPECT_EQ(readText(path), whole) << cut;
        EXPECT_EQ(rows.size(), 60U) << cut;  // read back or computed, every row once
    }

    // A shard alone.
    const std::string shard = folder / "shard.csv";
    SweepFileJob job = jobOf(shard);
    job.shard = {{2, 3}};
    EXPECT_EQ(messageOf(writeSweepFile(job, {})), "");
    EXPECT_EQ(readText(shard), fileOf(sweepHeader(false), sweepLines(lineOfR(60), {20, 40}, shortRun())));
}

TEST(SweepFileWriter, RefusalsAreReturnedAndLeaveTheFileAsItWas) {
    ScratchFolder folder;
    const std::string path = folder / "s.csv";
    writeText(path, "precious\n");
    SweepFileJob job = jobOf(path);
    job.resumeName = "resume=True";
    EXPECT_EQ(messageOf(writeSweepFile(job, {})), "refused: " + path + " exists and is never overwritten; resume=True continues it");
    job.resume = true;
    EXPECT_EQ(messageOf(writeSweepFile(job, {})),
              "refused: " + path + " is not the output of this sweep (its first line is not the header of this sweep)");
    EXPECT_EQ(readText(path), "precious\n");

    // --resume of what is not a regular file: no hint to resume it.
    std::filesystem::create_symlink(folder / "missing/target.csv", folder / "dangling.csv");
    job = jobOf(folder / "dangling.csv", true);
    EXPECT_EQ(messageOf(writeSweepFile(job, {})), "refused: " + folder / "dangling.csv" + " exists and is never overwritten");
    job.output = "/dev/null";  // a device is written as it is, continued or not
    EXPECT_EQ(messageOf(writeSweepFile(job, {})), "");

    EXPECT_EQ(messageOf(writeSweepFile(jobOf(folder / "none/s.csv"), {})).substr(0, 8), "failed: ");
}

TEST(SweepFileWriter, AFailedWriteIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(messageOf(writeSweepFile(jobOf({}), {}, full)),
              "failed: cannot write the rows to standard output: No space left on device");
    std::fclose(full);
}
