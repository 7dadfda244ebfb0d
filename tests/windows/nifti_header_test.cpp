// Unusual but well-formed NIfTI-1 headers, and malformed ones. The Windows host decodes headers
// itself, the Linux host through nifti_clib; a run must read the same with both, so these cases
// run against both readers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "host/nifti_io.h"
#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::TempFolder;
using testing::ElementsAre;

constexpr std::size_t kValues = 3 * 2 * 2 * 2;

// A run of 3 x 2 x 2 voxels and 2 int16 volumes with the test geometry, stored scaled.
void writeRun(const std::string& path) {
    host_test::Image image = host_test::makeImage({3, 2, 2, 2}, DT_INT16);
    host_test::setTestGeometry(*image);
    image->scl_slope = 0.5f;
    image->scl_inter = -3.0f;
    for (std::size_t i = 0; i < kValues; ++i) {
        static_cast<std::int16_t*>(image->data)[i] = static_cast<std::int16_t>(i * 7 - 40);
    }
    host_test::writeImage(*image, path);
}

float expectedValue(std::size_t i) {
    return static_cast<float>((static_cast<double>(i) * 7 - 40) * 0.5 - 3.0);
}

// Rewrites the header of the file at `path`; `swapData` byte-swaps the int16 voxels too.
void patchHeader(const std::string& path, const std::function<void(nifti_1_header&)>& patch,
                 bool swapData = false) {
    std::string bytes = host_test::readFile(path);
    nifti_1_header header;
    std::memcpy(&header, bytes.data(), sizeof header);
    patch(header);
    std::memcpy(bytes.data(), &header, sizeof header);
    if (swapData) nifti_swap_2bytes(kValues, bytes.data() + 352);
    host_test::writeFile(path, bytes);
}

void expectValuesUnchanged(const TimeCourses& run) {
    ASSERT_EQ(run.nrOfVolumes(), 2);
    for (std::size_t i = 0; i < kValues; ++i) {
        EXPECT_EQ(run.volumes()[i / 12][i % 12], expectedValue(i)) << "value " << i;
    }
}

struct HeaderCase {
    const char* name;
    std::function<void(nifti_1_header&)> patch;
    std::function<void(const Geometry&)> check;
};

std::ostream& operator<<(std::ostream& out, const HeaderCase& c) {
    return out << c.name;
}

class UnusualHeaders : public testing::TestWithParam<HeaderCase> {};

TEST_P(UnusualHeaders, ReadAsNiftiClibDecodesThem) {
    const HeaderCase& c = GetParam();
    TempFolder folder;
    writeRun(folder.path("run.nii"));
    patchHeader(folder.path("run.nii"), c.patch);
    const TimeCourses run = readNiftiRun(folder.path("run.nii"));
    c.check(run.geometry());
    expectValuesUnchanged(run);
}

INSTANTIATE_TEST_SUITE_P(
    NiftiHeader, UnusualHeaders,
    testing::Values(
        HeaderCase{"voxel_size_0_counts_as_1", [](nifti_1_header& h) { h.pixdim[1] = 0.0f; },
                   [](const Geometry& g) { EXPECT_THAT(g.voxelSize, ElementsAre(1, 3, 4)); }},
        HeaderCase{"voxel_size_not_a_number_counts_as_1",
                   [](nifti_1_header& h) { h.pixdim[3] = NAN; },
                   [](const Geometry& g) { EXPECT_THAT(g.voxelSize, ElementsAre(2, 3, 1)); }},
        HeaderCase{"negative_voxel_size_is_kept", [](nifti_1_header& h) { h.pixdim[2] = -3.0f; },
                   [](const Geometry& g) { EXPECT_THAT(g.voxelSize, ElementsAre(2, -3, 4)); }},
        HeaderCase{"repetition_time_0_counts_as_1", [](nifti_1_header& h) { h.pixdim[4] = 0.0f; },
                   [](const Geometry& g) { EXPECT_EQ(g.repetitionTime, 1.0f); }},
        HeaderCase{"no_qform_leaves_its_fields_and_handedness_out",
                   [](nifti_1_header& h) { h.qform_code = 0; },
                   [](const Geometry& g) {
                       EXPECT_EQ(g.qformCode, 0);
                       EXPECT_THAT(g.quatern, ElementsAre(0, 0, 0));
                       EXPECT_THAT(g.qoffset, ElementsAre(0, 0, 0));
                       EXPECT_EQ(g.qfac, 1.0f);
                   }},
        HeaderCase{"negative_qform_code_means_none", [](nifti_1_header& h) { h.qform_code = -2; },
                   [](const Geometry& g) {
                       EXPECT_EQ(g.qformCode, 0);
                       EXPECT_THAT(g.qoffset, ElementsAre(0, 0, 0));
                   }},
        HeaderCase{"quaternion_not_a_number_counts_as_0",
                   [](nifti_1_header& h) { h.quatern_c = NAN; },
                   [](const Geometry& g) { EXPECT_THAT(g.quatern, ElementsAre(0, 0, 0.8f)); }},
        HeaderCase{"negative_sform_code_means_none", [](nifti_1_header& h) { h.sform_code = -1; },
                   [](const Geometry& g) {
                       EXPECT_EQ(g.sformCode, 0);
                       EXPECT_THAT(g.srow[0], ElementsAre(0, 0, 0, 0));
                   }},
        HeaderCase{"units_keep_their_space_and_time_bits",
                   [](nifti_1_header& h) { h.xyzt_units = 0xff; },
                   [](const Geometry& g) { EXPECT_EQ(g.xyztUnits, 0x3f); }}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

TEST(NiftiHeader, BigEndianRunReadsLikeItsLittleEndianTwin) {
    TempFolder folder;
    writeRun(folder.path("little.nii"));
    writeRun(folder.path("big.nii"));
    patchHeader(
        folder.path("big.nii"), [](nifti_1_header& h) { swap_nifti_header(&h, 1); }, true);
    const TimeCourses little = readNiftiRun(folder.path("little.nii"));
    const TimeCourses big = readNiftiRun(folder.path("big.nii"));
    expectValuesUnchanged(big);
    EXPECT_EQ(std::memcmp(&big.geometry(), &little.geometry(), sizeof(Geometry)), 0);
}

struct InvalidCase {
    const char* name;
    std::function<void(nifti_1_header&)> patch;
    std::string reason;  // the message after "<path>: "
};

std::ostream& operator<<(std::ostream& out, const InvalidCase& c) {
    return out << c.name;
}

class InvalidHeaders : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidHeaders, AreRefusedWithTheirReason) {
    const InvalidCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.path("run.nii");
    writeRun(path);
    patchHeader(path, c.patch);
    try {
        readNiftiRun(path);
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), path + ": " + c.reason);
    }
}

// Codes NIfTI-1 names but not for voxels; the host's own table of cases has an undefined code.
INSTANTIATE_TEST_SUITE_P(
    NiftiHeader, InvalidHeaders,
    testing::Values(
        InvalidCase{"unknown_data_type", [](nifti_1_header& h) { h.datatype = 0; },
                    "not a NIfTI-1 file: its data type code 0 is none that NIfTI-1 defines for "
                    "voxels"},
        InvalidCase{"bit_data_type", [](nifti_1_header& h) { h.datatype = DT_BINARY; },
                    "not a NIfTI-1 file: its data type code 1 is none that NIfTI-1 defines for "
                    "voxels"},
        InvalidCase{"no_voxels_along_y", [](nifti_1_header& h) { h.dim[2] = 0; },
                    "has an invalid size 0 along axis 2"},
        InvalidCase{"complex_values", [](nifti_1_header& h) { h.datatype = DT_COMPLEX64; },
                    "stores its values as COMPLEX64, which the host cannot convert to floats"}),
    [](const testing::TestParamInfo<InvalidCase>& info) { return info.param.name; });

}  // namespace
}  // namespace host
