#include "host/demo/demo_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace host::demo {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DemoFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) /
                  ("demo_files_" +
                   std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        options_.dimX = 16;
        options_.dimY = 16;
        options_.dimZ = 8;
        options_.volumes = 20;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    DemoOptions options_;
};

TEST_F(DemoFilesTest, SameSeedSameBytesOtherSeedOtherBytes) {
    const DemoFiles first = writeDemoData(options_, folder_ / "a", "demo");
    EXPECT_EQ(first.run, folder_ / "a" / "demo_run.nii.gz");
    EXPECT_EQ(first.taskModel, folder_ / "a" / "demo_task.sdm");
    EXPECT_EQ(first.fullModel, folder_ / "a" / "demo_full.sdm");
    const DemoFiles again = writeDemoData(options_, folder_ / "b", "demo");
    options_.seed = 2;
    const DemoFiles other = writeDemoData(options_, folder_ / "c", "demo");
    EXPECT_EQ(contents(first.run), contents(again.run));
    EXPECT_EQ(contents(first.taskModel), contents(again.taskModel));
    EXPECT_EQ(contents(first.fullModel), contents(again.fullModel));
    EXPECT_NE(contents(first.run), contents(other.run));
    EXPECT_NE(contents(first.fullModel), contents(other.fullModel));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "a"), fs::directory_iterator()), 3);
}

TEST_F(DemoFilesTest, ErrorsNameWhatIsWrong) {
    fs::create_directories(folder_);
    std::ofstream(folder_ / "file") << "in the way";
    const fs::path blocked = folder_ / "file" / "out";
    try {
        writeDemoData(options_, blocked, "demo");
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create folder " + blocked.string() + ": " +
                      std::make_error_code(std::errc::not_a_directory).message());
    }
    for (const char* prefix : {"", "a/b", "a\\b"}) {
        SCOPED_TRACE(prefix);
        try {
            writeDemoData(options_, folder_, prefix);
            ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), "the file prefix must be a plain name, found \"" +
                                                     std::string(prefix) + "\"");
        }
    }
}

// The command line that `make demo` runs: its options reach the files, its errors the user.
TEST_F(DemoFilesTest, CommandLineWritesTheNamedFiles) {
    const std::string command = std::string(MAKE_DEMO_DATA_PATH) + " --out " + folder_.string() +
                                " --dims 16 16 8 --volumes 20 --seed 3 --prefix small >" +
                                (folder_.string() + ".log");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(contents(folder_.string() + ".log"),
              "run:     " + (folder_ / "small_run.nii.gz").string() + "\n" +
                  "model 1: " + (folder_ / "small_task.sdm").string() + "\n" +
                  "model 2: " + (folder_ / "small_full.sdm").string() + "\n");
    options_.seed = 3;
    const DemoFiles same = writeDemoData(options_, folder_ / "library", "small");
    EXPECT_EQ(contents(folder_ / "small_run.nii.gz"), contents(same.run));

    const std::string bad = std::string(MAKE_DEMO_DATA_PATH) + " --out " + folder_.string() +
                            " --volumes 5 2>" + (folder_.string() + ".log");
    EXPECT_NE(std::system(bad.c_str()), 0);
    EXPECT_EQ(contents(folder_.string() + ".log"),
              "make_demo_data: volumes must be between 10 and 100000, found 5\n");
    fs::remove(folder_.string() + ".log");
}

}  // namespace
}  // namespace host::demo
