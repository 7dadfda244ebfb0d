#include "host/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::readFile;
using host_test::TempFolder;
using testing::ElementsAre;

void writeText(AtomicFile& file, const std::string& text) {
    file.write(text.data(), text.size());
}

TEST(AtomicFile, CommitPutsTheNewFileInPlaceOfTheOld) {
    TempFolder folder;
    host_test::writeFile(folder.path("map.map"), "old");
    AtomicFile file(folder.path("map.map"));
    writeText(file, "new content");
    EXPECT_EQ(readFile(folder.path("map.map")), "old");  // nothing visible before the commit
    file.commit();
    EXPECT_EQ(readFile(folder.path("map.map")), "new content");
    EXPECT_THAT(folder.fileNames(), ElementsAre("map.map"));
}

TEST(AtomicFile, AWriteThatStopsHalfwayKeepsTheOldFileAndLeavesNoTemporary) {
    TempFolder folder;
    host_test::writeFile(folder.path("run.stc"), "old");
    try {
        AtomicFile file(folder.path("run.stc"));
        writeText(file, "half of it");
        throw std::runtime_error("the writer failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(readFile(folder.path("run.stc")), "old");
    EXPECT_THAT(folder.fileNames(), ElementsAre("run.stc"));
}

TEST(AtomicFile, AFailedRenameIsReportedAndRemovesTheTemporary) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path("taken.map/inside"));
    AtomicFile file(folder.path("taken.map"));
    writeText(file, "content");
    try {
        file.commit();
        FAIL() << "no error";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.what(), "cannot replace " + folder.path("taken.map") + ": Is a directory");
    }
    EXPECT_THAT(folder.fileNames(), ElementsAre("taken.map"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("taken.map/inside")));
}

TEST(AtomicFile, AFolderThatDoesNotExistIsReported) {
    TempFolder folder;
    try {
        AtomicFile file(folder.path("missing/map.map"));
        FAIL() << "no error";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.what(),
                  "cannot write " + folder.path("missing/map.map") + ": No such file or directory");
    }
    EXPECT_TRUE(folder.fileNames().empty());
}

}  // namespace
}  // namespace host
