#include "host/fmr_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace host {
namespace {

FmrFile parse(const std::string& text) {
    std::istringstream in(text);
    return parseFmrFile(in, "dir/run1.fmr");
}

TEST(FmrFile, ReadsKeysInAnyOrderWithBlankLinesAndCarriageReturns) {
    const FmrFile document =
        parse("STCFile:  run1 copy.stc \r\n\r\nFileVersion: 1\r\nDimZ: 30\nNrOfVolumes:200\n");
    EXPECT_EQ(document.stcFile, "run1 copy.stc");
    EXPECT_EQ(document.nrOfVolumes, 200);
    EXPECT_EQ(document.dimZ, 30);
    EXPECT_FALSE(document.dimX.has_value());
}

struct MalformedCase {
    const char* name;
    const char* text;
    const char* message;
};

std::ostream& operator<<(std::ostream& out, const MalformedCase& c) {
    return out << c.name;
}

class MalformedFmr : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFmr, IsRefusedAtItsLine) {
    try {
        parse(GetParam().text);
        FAIL() << "no error";
    } catch (const FmrFormatError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FmrFile, MalformedFmr,
    testing::Values(
        MalformedCase{"empty", "", "dir/run1.fmr: no \"FileVersion:\" line"},
        MalformedCase{"no_stc", "FileVersion: 1\n", "dir/run1.fmr: no \"STCFile:\" line"},
        MalformedCase{"no_colon", "FileVersion: 1\nrun1.stc\n",
                      "dir/run1.fmr: line 2: expected \"Key: value\", found \"run1.stc\""},
        MalformedCase{"unknown_key", "FileVersion: 1\nSTCfile: a.stc\n",
                      "dir/run1.fmr: line 2: unknown key \"STCfile:\"; expected one of "
                      "FileVersion, STCFile, NrOfVolumes, DimX, DimY, DimZ"},
        MalformedCase{"twice", "STCFile: a.stc\nSTCFile: b.stc\n",
                      "dir/run1.fmr: line 2: \"STCFile:\" is given a second time"},
        MalformedCase{"version", "FileVersion: 2\n",
                      "dir/run1.fmr: line 1: expected FileVersion 1, found \"2\""},
        MalformedCase{"no_stc_name", "FileVersion: 1\nSTCFile:\n",
                      "dir/run1.fmr: line 2: expected a file name after \"STCFile:\", found none"},
        MalformedCase{"size_not_number", "FileVersion: 1\n\nDimX: 64x\n",
                      "dir/run1.fmr: line 3: expected a positive integer after \"DimX:\", found "
                      "\"64x\""},
        MalformedCase{"size_zero", "NrOfVolumes: 0\n",
                      "dir/run1.fmr: line 1: expected a positive integer after \"NrOfVolumes:\", "
                      "found \"0\""}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(FmrFile, TimeCoursesLieBesideTheDocumentUnlessNamedAbsolutely) {
    EXPECT_EQ(stcPathOf("dir/run1.fmr", "run1.stc"), "dir/run1.stc");
    EXPECT_EQ(stcPathOf("D:\\exp\\run1.fmr", "run1.stc"), "D:\\exp\\run1.stc");
    EXPECT_EQ(stcPathOf("run1.fmr", "run1.stc"), "run1.stc");
    EXPECT_EQ(stcPathOf("dir/run1.fmr", "/data/run1.nii.gz"), "/data/run1.nii.gz");
    EXPECT_EQ(stcPathOf("dir/run1.fmr", "C:/data/run1.stc"), "C:/data/run1.stc");
}

TEST(FmrFile, TimeCoursesOfAnotherSizeAreRefused) {
    Geometry geometry;
    geometry.dim[0] = 4;
    geometry.dim[1] = 4;
    geometry.dim[2] = 2;
    const TimeCourses run(geometry, 3, allocateFloats(96));
    FmrFile document = parse("FileVersion: 1\nSTCFile: run1.stc\nNrOfVolumes: 3\nDimX: 4\n");
    checkRunMatches(document, run, "dir/run1.fmr");
    document.nrOfVolumes = 200;
    try {
        checkRunMatches(document, run, "dir/run1.fmr");
        FAIL() << "no error";
    } catch (const FmrFormatError& error) {
        EXPECT_STREQ(error.what(), "dir/run1.fmr: states NrOfVolumes: 200, but run1.stc holds 3");
    }
}

}  // namespace
}  // namespace host
