#include "host/fmr_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "host/atomic_file.h"
#include "host/nifti_io.h"
#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::Image;
using host_test::TempFolder;
using testing::ElementsAre;

TEST(DocumentPath, FollowsTheRunFile) {
    EXPECT_EQ(documentPathFor("dir/run1.nii.gz"), "dir/run1.fmr");
    EXPECT_EQ(documentPathFor("dir/run1.nii"), "dir/run1.fmr");
    EXPECT_EQ(documentPathFor("Run.NII.GZ"), "Run.fmr");
    EXPECT_EQ(documentPathFor("dir/run1_copy.fmr"), "dir/run1_copy.fmr");
    const std::string longest(299, 'a');
    EXPECT_EQ(documentPathFor(longest + ".nii.gz"), longest + ".fmr");
}

TEST(DocumentPath, RefusesOtherFilesAndPathsTheHeaderCannotHold) {
    try {
        documentPathFor("dir/run1.img");
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_STREQ(error.what(),
                     "dir/run1.img: unknown kind of run; expected a .nii, .nii.gz or .fmr file");
    }
    const std::string tooLong(300, 'a');
    try {
        documentPathFor(tooLong + ".nii");
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), tooLong + ".nii: the run's document path " + tooLong +
                                    ".fmr has 304 characters; an FMR header holds at most 303");
    }
}

// A run of 3 x 2 x 2 voxels and 4 int16 volumes with scaling and the test geometry.
class OpenRun : public testing::Test {
  protected:
    void SetUp() override {
        Image image = host_test::makeImage({3, 2, 2, 4}, DT_INT16);
        host_test::setTestGeometry(*image);
        image->scl_slope = 0.5f;
        for (std::size_t i = 0; i < image->nvox; ++i) {
            static_cast<std::int16_t*>(image->data)[i] = static_cast<std::int16_t>(200 + i);
        }
        host_test::writeImage(*image, folder.path("run1.nii.gz"));
    }

    TempFolder folder;
};

TEST(OpenDocument, RefusesADeviceGivenAsDocument) {
    // /dev/zero has no line end: reading it as a document would never finish.
    TempFolder folder;
    const std::string link = folder.path("endless.fmr");
    std::filesystem::create_symlink("/dev/zero", link);
    try {
        openDocument(link);
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), link + ": is not a regular file");
    }
}

TEST_F(OpenRun, HeaderNamesTheDocumentAndItsSizeAndNothingElse) {
    const FmrDocument document = openDocument(folder.path("run1.nii.gz"));
    FMRHeader header;
    std::memset(&header, 0xAB, sizeof header);
    document.fillHeader(header);

    FMRHeader expected{};
    std::strcpy(expected.FilePath, folder.path("run1.fmr").c_str());
    expected.NrOfVolumes = 4;
    expected.DimX = 3;
    expected.DimY = 2;
    expected.DimZ = 2;
    expected.DataType = 2;
    EXPECT_EQ(std::memcmp(&header, &expected, sizeof header), 0);
}

TEST_F(OpenRun, SavedCopyHoldsTheTimeCoursesAsTheyAreInMemory) {
    FmrDocument document = openDocument(folder.path("run1.nii.gz"));
    document.run().volumes()[2][5] = -42.25f;
    document.saveCopy(folder.path("run1_clean.fmr"), "run1_clean");

    EXPECT_EQ(document.path(), folder.path("run1.fmr"));
    EXPECT_THAT(folder.fileNames(), ElementsAre("run1.nii.gz", "run1_clean.fmr", "run1_clean.stc"));
    EXPECT_EQ(host_test::readFile(folder.path("run1_clean.fmr")),
              "FileVersion: 1\nSTCFile: run1_clean.stc\nNrOfVolumes: 4\nDimX: 3\nDimY: 2\n"
              "DimZ: 2\n");

    const FmrDocument copy = openDocument(folder.path("run1_clean.fmr"));
    EXPECT_EQ(copy.path(), folder.path("run1_clean.fmr"));
    ASSERT_EQ(copy.run().nrOfVolumes(), 4);
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(
            std::memcmp(copy.run().volumes()[t], document.run().volumes()[t], 12 * sizeof(float)),
            0)
            << "volume " << t;
    }
    EXPECT_EQ(copy.run().volumes()[2][5], -42.25f);
    EXPECT_EQ(copy.run().volumes()[0][1], 100.5f);
    const Geometry& a = copy.run().geometry();
    const Geometry& b = document.run().geometry();
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST_F(OpenRun, ACopyThatCannotBeSavedLeavesNothingBehind) {
    const FmrDocument document = openDocument(folder.path("run1.nii.gz"));
    try {
        document.saveCopy(folder.path("missing/run1_clean.fmr"), "run1_clean");
        FAIL() << "no error";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.what(), "cannot write " + folder.path("missing/run1_clean.stc") +
                                    ": No such file or directory");
    }
    try {
        document.saveCopy(folder.path("run1_clean.fmr"), "../elsewhere");
        FAIL() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(),
                     "the time-course name \"../elsewhere\" is not a plain file name");
    }
    EXPECT_THAT(folder.fileNames(), ElementsAre("run1.nii.gz"));
}

}  // namespace
}  // namespace host
