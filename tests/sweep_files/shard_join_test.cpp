#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "scratch_folder.h"
#include "shard_join.h"
#include "sweep_file_fixture.h"

using namespace veltrano;
using namespace veltrano::testing;

namespace {

std::string joined(const std::optional<JoinFailure>& failure) {
    std::string text;
    if (failure)
        for (const std::string& m : failure->messages) text += m + '\n';
    return text;
}

class ShardJoin : public ::testing::Test {
protected:
    void SetUp() override {
        set_.grid = lineOfR(45);
        set_.run = shortRun();
        set_.shards = 4;
        set_.pattern = folder_ / "run{K}-of-{K}.csv";
        whole_ = fileOf(sweepHeader(false), sweepLines(set_.grid, {0, 45}, set_.run));
        for (std::int64_t k = 1; k <= 4; ++k) writeShard(k, shardText(k));
    }
    std::string shardText(std::int64_t k, std::int64_t of = 4) const {
        return fileOf(sweepHeader(false), sweepLines(set_.grid, shardRange(set_.grid.size(), k, of), set_.run));
    }
    void writeShard(std::int64_t k, const std::string& text) const { writeText(shardFile(set_.pattern, k), text); }
    std::string shard(std::int64_t k) const {
        return "shard " + std::to_string(k) + " of " + std::to_string(set_.shards) + " (" + shardFile(set_.pattern, k) + ")";
    }
    // What a stream received.
    static std::string readBack(std::FILE* stream) {
        std::rewind(stream);
        std::string text(1 << 16, '\0');
        text.resize(std::fread(text.data(), 1, text.size(), stream));
        std::fclose(stream);
        return text;
    }

    ScratchFolder folder_;
    ShardSet set_;
    std::string whole_;
};

}  // namespace

TEST(ShardFile, EveryKOfThePatternStandsForTheShard) {
    EXPECT_EQ(shardFile("run{K}/map-{K}.csv", 12), "run12/map-12.csv");
    EXPECT_EQ(shardFile("{K}", 3), "3");
    EXPECT_EQ(shardFile("a{K}{K}{K", 1), "a11{K");
}

TEST_F(ShardJoin, CompleteShardsMakeTheWholeSweepUnderItsNameAndNothingElse) {
    const std::string out = folder_ / "whole.csv";
    EXPECT_EQ(joined(joinShards(set_, out, 3)), "");
    EXPECT_EQ(readText(out), whole_);
    EXPECT_EQ(folder_.names().size(), 5U);  // the shards and the join: no temporary left

    // Never over a file, checked before any work.
    writeText(out, "precious");
    const auto again = joinShards(set_, out, 3);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->refused);
    EXPECT_EQ(joined(again), out + " exists and is never overwritten\n");
    EXPECT_EQ(readText(out), "precious");

    // To a stream.
    std::FILE* stream = std::tmpfile();
    EXPECT_EQ(joined(joinShards(set_, {}, 2, stream)), "");
    EXPECT_EQ(readBack(stream), whole_);
}

TEST_F(ShardJoin, EveryShardAtFaultIsNamedAndNothingIsWritten) {
    const std::string out = folder_ / "whole.csv";
    const std::string two = shardText(2), three = shardText(3);
    writeShard(1, whole_);                                         // more rows than the shard
    writeShard(2, two.substr(0, two.rfind('\n', two.size() - 2) + 1));  // its last row missing
    writeShard(3, three.substr(0, three.size() - 1));              // an unfinished last line
    std::filesystem::remove(shardFile(set_.pattern, 4));
    std::filesystem::create_directory(shardFile(set_.pattern, 4));  // a folder
    const auto failure = joinShards(set_, out, 2);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->refused);
    EXPECT_EQ(joined(failure),
              shard(1) + " has more rows than shard 1 of 4 holds (11); was the sweep split into 4 shards?\n" +
                  shard(2) + " is incomplete: it has 10 of its 11 rows\n" + shard(3) +
                  " is incomplete: it has 10 of its 11 rows and an unfinished line\n" + shard(4) +
                  " is a folder, not a shard's file\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(folder_.names().size(), 4U);
}

TEST_F(ShardJoin, AShardMissingUnfinishedOrStillBeingWrittenIsRefused) {
    writeShard(2, shardText(2) + "12,");
    const int fd = ::open(shardFile(set_.pattern, 3).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    std::filesystem::remove(shardFile(set_.pattern, 1));
    const auto failure = joinShards(set_, {}, 4);
    ::close(fd);
    EXPECT_EQ(joined(failure), shard(1) + " is missing\n" + shard(2) +
                                   " is incomplete: it has 11 of its 11 rows and an unfinished line\n" + shard(3) +
                                   ": it is still being written\n");
}

TEST_F(ShardJoin, ShardsOfAnotherSplitSaySo) {
    // The files of a sweep split into 2, joined as if it had been split into 3.
    for (std::int64_t k = 1; k <= 2; ++k) writeShard(k, shardText(k, 2));
    std::filesystem::remove(shardFile(set_.pattern, 3));
    set_.shards = 3;
    const auto failure = joinShards(set_, {}, 1);
    EXPECT_EQ(joined(failure),
              shard(1) + " has more rows than shard 1 of 3 holds (15); was the sweep split into 3 shards?\n" + shard(2) +
                  ": " + shardFile(set_.pattern, 2) +
                  " is not the output of this sweep (row 15 does not belong to it); shard 2 of 3 starts at row 15; was "
                  "the sweep split into 3 shards?\n" +
                  shard(3) + " is missing\n");
}

// What changes between the checks and the copy: nothing is written, and
// a file that took the output's name meanwhile is kept.
TEST_F(ShardJoin, WhatChangedAfterTheChecksIsNeverCopiedNorReplaced) {
    const std::string out = folder_ / "whole.csv";
    const std::string two = shardText(2), changed = shard(2) + " changed after it was checked; nothing was written\n";
    std::string digit = two;
    digit[digit.rfind(",ok") - 1] = digit[digit.rfind(",ok") - 1] == '1' ? '2' : '1';
    const std::string firstRow = two.substr(two.find('\n') + 1, two.find('\n', two.find('\n') + 1) - two.find('\n'));
    const struct {
        const char* what;
        std::string shard, message;
    } changes[] = {
        {"truncated", two.substr(0, two.size() - 40), changed},
        {"a digit changed", digit, changed},
        {"a row added", two + firstRow, changed},
        {"the output appeared", two, out + " appeared meanwhile and is never overwritten\n"},
    };
    for (const auto& change : changes) {
        writeShard(2, two);
        const bool appears = change.shard == two;
        const auto failure = joinShards(set_, out, 2, stdout, [&] {
            writeShard(2, change.shard);
            if (appears) writeText(out, "precious");
        });
        EXPECT_EQ(joined(failure), change.message) << change.what;
        EXPECT_EQ(std::filesystem::exists(out) ? readText(out) : "none", appears ? "precious" : "none") << change.what;
        EXPECT_EQ(folder_.names().size(), appears ? 5U : 4U) << change.what;
    }
}

TEST_F(ShardJoin, OnAStreamTheCopyStopsAtTheFirstRowOutOfPlace) {
    const std::string two = shardText(2);
    const auto third = [&](const std::string& text) {  // the start of the shard's third row
        std::size_t at = 0;
        for (int i = 0; i < 3; ++i) at = text.find('\n', at) + 1;
        return at;
    };
    const std::size_t cut = third(two);
    const std::string without = two.substr(0, cut) + two.substr(two.find('\n', cut) + 1);  // its third row gone
    std::FILE* stream = std::tmpfile();
    const auto failure = joinShards(set_, {}, 2, stream, [&] { writeShard(2, without); });
    const std::string text = readBack(stream);
    ASSERT_TRUE(failure);
    const std::string fourth = without.substr(cut, without.find('\n', cut) - cut);
    EXPECT_EQ(text.find(fourth), std::string::npos) << "a row out of place was copied";
    EXPECT_NE(text.find(two.substr(third(two) - 20, 20)), std::string::npos) << "the rows before it were not";
}
