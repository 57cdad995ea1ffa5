#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "output_file.h"
#include "scratch_folder.h"

using namespace veltrano;
using namespace veltrano::testing;

TEST(OutputFile, ANewFileHasOneWriterAndAnExistingOneIsNeverReplaced) {
    ScratchFolder folder;
    const std::string path = folder / "rows.csv";
    const auto opened = [](const std::variant<OutputFile, FileRefusal>& attempt) -> std::string {
        const auto* why = std::get_if<FileRefusal>(&attempt);
        return why ? (why->refused ? "refused: " : "failed: ") + why->message : "opened";
    };
    auto first = OutputFile::create(path);
    ASSERT_EQ(opened(first), "opened");
    EXPECT_EQ(opened(OutputFile::create(path)), "refused: " + path + " exists and is never overwritten");
    EXPECT_EQ(opened(OutputFile::openExisting(path)), "refused: " + path + " is being written by another process");
    ASSERT_TRUE(std::get<OutputFile>(first).close());
    EXPECT_EQ(opened(OutputFile::openExisting(path)), "opened");

    // A dangling link is not followed.
    const std::string link = folder / "dangling.csv";
    std::filesystem::create_symlink(folder / "missing/target.csv", link);
    EXPECT_EQ(opened(OutputFile::create(link)).substr(0, 9), "refused: ");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_TRUE(pathTaken(link));

    // A missing folder is a failure, not a refusal.
    EXPECT_EQ(opened(OutputFile::create(folder / "missing/rows.csv")).substr(0, 8), "failed: ");
}

// (Published to a free name: through the join's and the pictures' files.)
TEST(Publishing, APictureNeverReplacesAFileThatAppearedMeanwhile) {
    ScratchFolder folder;
    const std::string path = folder / "map.png";
    const std::string temporary = temporaryBeside(path);
    ASSERT_FALSE(temporary.empty());
    EXPECT_EQ(std::filesystem::path(temporary).extension(), ".png");
    EXPECT_EQ(std::filesystem::path(temporary).parent_path(), std::filesystem::path(path).parent_path());
    struct stat info {};
    ASSERT_EQ(::stat(temporary.c_str(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);

    writeText(temporary, "picture");
    writeText(path, "precious");
    EXPECT_EQ(publishWithoutReplacing(temporary, path), path + " appeared meanwhile and is never overwritten");
    EXPECT_EQ(readText(path), "precious");
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST(Publishing, AReplacementHoldsBothFilesAndTakesOnlyThePathItLocked) {
    ScratchFolder folder;
    const std::string path = folder / "rows.csv";
    writeText(path, "old");
    const auto open = [](const std::string& p) {
        auto opened = ReplacementFile::open(p);
        if (const auto* why = std::get_if<FileRefusal>(&opened)) ADD_FAILURE() << why->message;
        return std::get<ReplacementFile>(std::move(opened));
    };
    {
        ReplacementFile file = open(path);
        std::fputs("new", file.stream());
        EXPECT_EQ(file.finish(), "");
        // Neither the old file nor the new one takes another writer.
        EXPECT_TRUE(std::holds_alternative<FileRefusal>(OutputFile::openExisting(path)));
        EXPECT_TRUE(std::holds_alternative<FileRefusal>(ReplacementFile::open(path)));
        EXPECT_EQ(file.publish(), "");
        EXPECT_EQ(readText(path), "new");
    }
    // A path whose file changed, or that was free and is taken now, keeps
    // what it holds; the new file goes.
    const std::string link = folder / "link.csv";
    std::filesystem::create_symlink(path, link);
    const struct {
        std::string path, message;
        std::function<void()> meanwhile;
    } cases[] = {
        {path, path + " was replaced meanwhile and is never overwritten",
         [&] {
             std::filesystem::rename(path, folder / "moved.csv");
             writeText(path, "other");
         }},
        {folder / "free.csv", folder / "free.csv" + " appeared meanwhile and is never overwritten",
         [&] { writeText(folder / "free.csv", "other"); }},
        {link, "", [] {}},  // the file it names is replaced, the link kept
    };
    for (const auto& c : cases) {
        ReplacementFile file = open(c.path);
        std::fputs("new", file.stream());
        c.meanwhile();
        EXPECT_EQ(file.publish(), c.message);
        EXPECT_EQ(readText(c.path), c.message.empty() ? "new" : "other");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.names().size(), std::size_t{4});  // no new file left
}
