#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "picture_file.h"
#include "plot.h"
#include "plot_plugin.h"
#include "scratch_folder.h"

namespace veltrano::cli {
namespace {

using veltrano::testing::readText, veltrano::testing::writeText;
using Folder = veltrano::testing::ScratchFolder;

namespace fs = std::filesystem;

// The stand-in plugins lie beside this test, as the plugin lies beside
// the tool (the one named as the real plugin is the one it opens).
std::string besideMe(const std::string& name) {
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

// A plugin of another version passes C++ objects laid out differently: it
// is refused when opened, with both versions named, as is anything that is
// not the plugin at all.
TEST(PluginCheck, OpensOnlyAPluginOfThisVersion) {
    Folder folder;
    writeText(folder / "veltrano-plot.so", "not a library\n");
    const struct {
        std::string path, says;  // says: part of the refusal; empty: accepted
    } cases[] = {
        {besideMe("veltrano-plot.so"), ""},
        {besideMe("newer-plot.so"), "is of another version of veltrano-cli (its pictures are version " +
                                        std::to_string(plot::kAbiVersion + 1) + ", this tool's " +
                                        std::to_string(plot::kAbiVersion)},
        {besideMe("older-plot.so"), "is of another version"},
        {besideMe("unversioned-plot.so"), "is not one of this veltrano-cli (it has no version)"},
        {besideMe("writerless-plot.so"), "lacks its writers"},
        {besideMe("lineonly-plot.so"), "lacks its writers"},
        {besideMe("maponly-plot.so"), "lacks its writers"},
        {besideMe("missing-plot.so"), "cannot open the plotting plugin"},
        {folder / "veltrano-plot.so", "cannot open the plotting plugin"},
    };
    for (const auto& c : cases) {
        const std::string why = checkPlotPlugin(c.path);
        const bool named = why.find(c.says) != std::string::npos && why.find(c.path) != std::string::npos;
        EXPECT_TRUE(c.says.empty() ? why.empty() : named) << c.path << ": " << why;
    }
}

TEST(SupportedPictureFile, ByTheEndingOfTheName) {
    const std::pair<const char*, bool> names[] = {{"a.png", true}, {"b.SVG", true}, {"c.Png", true}, {".png", false},
                                                  {"x.jpg", false}, {"png", false}, {"a.svgz", false}};
    for (const auto& [name, ok] : names) EXPECT_EQ(supportedPictureFile(name), ok) << name;
}

pictures::LineChart someLine() {
    pictures::LineChart chart;
    chart.curves.push_back({"λ1", {1, 2}, {0.9, 0.8}, {}, {}});
    return chart;
}

// The tool's own plugin (the stand-in beside it) is found and accepted. A
// copy of this program in a folder of its own has none beside it: it says
// so, and draws nothing (before it looks at the picture's folder).
TEST(PicturesUnavailable, FindsThePluginBesideTheToolOrSaysItIsMissing) {
    const std::string missing = "its plotting plugin veltrano-plot.so is not installed beside it";
    if (std::getenv("VELTRANO_TEST_ALONE")) {
        EXPECT_NE(picturesUnavailable().find(missing), std::string::npos) << picturesUnavailable();
        EXPECT_NE(writePictureFile(someLine(), "/no/such/folder/x.png").find(missing), std::string::npos);
        return;
    }
    EXPECT_EQ(picturesUnavailable(), "");
    Folder folder("alone");
    fs::copy_file("/proc/self/exe", folder / "alone");
    const std::string run = "VELTRANO_TEST_ALONE=1 " + (folder / "alone") +
                            " --gtest_filter=PicturesUnavailable.* --gtest_brief=1 > /dev/null";
    EXPECT_EQ(std::system(run.c_str()), 0);
}

TEST(WritePictureFile, DrawsTheExponentAskedOfASweep) {
    const SweepGrid map{.base = {10, 28, 2.6667},
                        .axes = {{{SweepParameter::Sigma, 0, 1, 2, {}}, {SweepParameter::R, 0, 1, 2, {}}}},
                        .axisCount = 2};
    SweepGrid line = map;
    line.axisCount = 1;
    for (int only = 0; only <= 3; ++only) {
        SCOPED_TRACE(only);
        Folder folder("exponent");
        const pictures::SweepPicture mapPicture(map, {}), linePicture(line, {});
        ASSERT_EQ(writePictureFile(mapPicture, folder / "map.svg", only), "");
        EXPECT_EQ(readText(folder / "map.svg"), "λ" + std::to_string(only == 0 ? 1 : only));
        ASSERT_EQ(writePictureFile(linePicture, folder / "line.svg", only), "");
        EXPECT_EQ(readText(folder / "line.svg"), only == 0 ? "λ1;λ2;λ3;" : "λ" + std::to_string(only) + ";");
    }
}

TEST(WritePictureFileDeathTest, LeavesNoTemporaryFileWhenStopped) {
    // Forked, not run again: the child draws in this test's own folder.
    ::testing::FLAGS_gtest_death_test_style = "fast";
    for (const auto& [tag, signal] : {std::pair{"terminate", SIGTERM}, std::pair{"interrupt", SIGINT}}) {
        SCOPED_TRACE(tag);
        Folder folder(tag);
        EXPECT_EXIT((void)writePictureFile(someLine(), folder / "line.png"), ::testing::KilledBySignal(signal), "");
        EXPECT_TRUE(folder.names().empty()) << folder.names().front();
    }
}

// The picture is published whole under its name or not at all, a file that
// took its name meanwhile is kept, and the signals' handlers are the
// caller's again afterwards.
void callersHandler(int) {}

TEST(WritePictureFile, PublishesTheDrawingWholeOrNotAtAllAndGivesTheSignalsBack) {
    struct sigaction mine {}, previous[3] {}, after {};
    mine.sa_handler = callersHandler;
    sigemptyset(&mine.sa_mask);
    const int signals[] = {SIGINT, SIGTERM, SIGHUP};
    for (int i = 0; i < 3; ++i) ::sigaction(signals[i], &mine, &previous[i]);
    const struct {
        const char *tag, *taken, *says;
        std::vector<std::string> names;
        const char* text;
    } cases[] = {
        {"ok", nullptr, nullptr, {"line.png"}, "λ1;"},
        {"fail", nullptr, "cannot draw", {}, ""},
        {"ok", "the user's", "appeared meanwhile", {"line.png"}, "the user's"},
    };
    for (const auto& c : cases) {
        Folder folder(c.tag);
        if (c.taken) writeText(folder / "line.png", c.taken);
        const std::string why = writePictureFile(someLine(), folder / "line.png");
        EXPECT_TRUE(c.says ? why.find(c.says) != std::string::npos : why.empty()) << why;
        EXPECT_EQ(folder.names(), c.names) << c.tag;
        EXPECT_EQ(readText(folder / "line.png"), c.text);
    }
    Folder throwing("throw");
    EXPECT_THROW((void)writePictureFile(someLine(), throwing / "map.png"), std::runtime_error);
    EXPECT_TRUE(throwing.names().empty()) << throwing.names().front();
    for (int i = 0; i < 3; ++i) {
        ::sigaction(signals[i], &previous[i], &after);
        EXPECT_EQ(after.sa_handler, callersHandler) << signals[i];
    }
}

}  // namespace
}  // namespace veltrano::cli
