#include "host/nifti_io.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::Image;
using host_test::makeImage;
using host_test::TempFolder;

template <typename T>
void fillAs(nifti_image& image, const std::vector<double>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        static_cast<T*>(image.data)[i] = static_cast<T>(values[i]);
    }
}

void fill(nifti_image& image, const std::vector<double>& values) {
    switch (image.datatype) {
        case DT_UINT8:
            return fillAs<std::uint8_t>(image, values);
        case DT_INT8:
            return fillAs<std::int8_t>(image, values);
        case DT_INT16:
            return fillAs<std::int16_t>(image, values);
        case DT_UINT16:
            return fillAs<std::uint16_t>(image, values);
        case DT_INT32:
            return fillAs<std::int32_t>(image, values);
        case DT_FLOAT32:
            return fillAs<float>(image, values);
        case DT_FLOAT64:
            return fillAs<double>(image, values);
    }
    FAIL() << "no filler for data type " << image.datatype;
}

struct ConversionCase {
    const char* name;
    int datatype;
    float slope;
    float inter;
    std::vector<double> stored;  // 2 x 2 x 1 voxels x 2 volumes
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
    return out << c.name;
}

class StoredTypes : public testing::TestWithParam<ConversionCase> {};

TEST_P(StoredTypes, BecomeFloatsWithTheirScaling) {
    const ConversionCase& c = GetParam();
    TempFolder folder;
    Image image = makeImage({2, 2, 1, 2}, c.datatype);
    fill(*image, c.stored);
    image->scl_slope = c.slope;
    image->scl_inter = c.inter;
    host_test::writeImage(*image, folder.path("run.nii"));

    const TimeCourses run = readNiftiRun(folder.path("run.nii"));
    ASSERT_EQ(run.nrOfVolumes(), 2);
    ASSERT_EQ(run.voxelsPerVolume(), 4u);
    for (std::size_t i = 0; i < c.stored.size(); ++i) {
        // A slope of 0 means the stored values are the values.
        const double value = c.slope == 0.0f ? c.stored[i] : c.stored[i] * c.slope + c.inter;
        EXPECT_EQ(run.volumes()[i / 4][i % 4], static_cast<float>(value)) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    NiftiReader, StoredTypes,
    testing::Values(
        ConversionCase{"uint8_scaled", DT_UINT8, 0.5f, 10.0f, {0, 1, 2, 255, 128, 7, 9, 100}},
        ConversionCase{"int8_negated", DT_INT8, -1.0f, 0.0f, {-128, -1, 0, 1, 127, 5, -5, 64}},
        ConversionCase{
            "int16_plain", DT_INT16, 0.0f, 0.0f, {-32768, -1, 0, 1, 32767, 12, -300, 1000}},
        ConversionCase{
            "int16_scaled", DT_INT16, 2.5f, -100.0f, {-32768, -1, 0, 1, 32767, 12, -300, 1000}},
        ConversionCase{"uint16_identity", DT_UINT16, 1.0f, 0.0f, {0, 1, 65535, 40000, 3, 4, 5, 6}},
        ConversionCase{"int32_scaled",
                       DT_INT32,
                       0.001f,
                       0.0f,
                       {2000000000, -2000000000, 123456789, 1, 0, -7, 16777217, 3}},
        ConversionCase{"float64_plain",
                       DT_FLOAT64,
                       0.0f,
                       0.0f,
                       {1e-3, 3.14159265358979, 1e20, -2.5, 0.1, 1e-40, 123456789.0, -0.0}},
        ConversionCase{"float32_scaled_in_place",
                       DT_FLOAT32,
                       2.0f,
                       1.0f,
                       {0.5, -0.25, 1000.125, 3, 0, 1e-3, -1e6, 7}},
        ConversionCase{
            "float32_plain", DT_FLOAT32, 0.0f, 0.0f, {0.5, -0.25, 1000.125, 3, 0, 1e-3, -1e6, 7}}),
    [](const testing::TestParamInfo<ConversionCase>& info) { return info.param.name; });

TEST(NiftiReader, ReadsCompressedRunsAndTakesOverTheirGeometry) {
    TempFolder folder;
    Image image = makeImage({3, 2, 2, 4}, DT_FLOAT32);
    host_test::setTestGeometry(*image);
    for (std::size_t i = 0; i < image->nvox; ++i) static_cast<float*>(image->data)[i] = 100.0f + i;
    host_test::writeImage(*image, folder.path("run.nii.gz"));

    const TimeCourses run = readNiftiRun(folder.path("run.nii.gz"));
    ASSERT_EQ(run.nrOfVolumes(), 4);
    for (int t = 0; t < 4; ++t) {
        for (int v = 0; v < 12; ++v) EXPECT_EQ(run.volumes()[t][v], 100.0f + (t * 12 + v));
    }
    const Geometry& g = run.geometry();
    EXPECT_THAT(g.dim, testing::ElementsAre(3, 2, 2));
    EXPECT_THAT(g.voxelSize, testing::ElementsAre(2.0f, 3.0f, 4.0f));
    EXPECT_EQ(g.repetitionTime, 1.5f);
    EXPECT_EQ(g.xyztUnits, NIFTI_UNITS_MM | NIFTI_UNITS_SEC);
    EXPECT_EQ(g.qformCode, NIFTI_XFORM_SCANNER_ANAT);
    EXPECT_THAT(g.quatern, testing::ElementsAre(0.0f, 0.6f, 0.8f));
    EXPECT_THAT(g.qoffset, testing::ElementsAre(-90.0f, 126.0f, -72.0f));
    EXPECT_EQ(g.qfac, -1.0f);
    EXPECT_EQ(g.sformCode, NIFTI_XFORM_MNI_152);
    EXPECT_THAT(g.srow[0], testing::ElementsAre(-2.0f, 0.1f, 0.0f, 90.0f));
    EXPECT_THAT(g.srow[2], testing::ElementsAre(0.3f, 0.0f, 4.0f, -72.0f));
}

TEST(NiftiReader, ReadsRunsStoredInTheOtherByteOrder) {
    TempFolder folder;
    Image image = makeImage({3, 2, 2, 2}, DT_INT16);
    host_test::setTestGeometry(*image);
    image->scl_slope = 0.25f;
    image->scl_inter = 3.0f;
    for (std::size_t i = 0; i < image->nvox; ++i) {
        static_cast<std::int16_t*>(image->data)[i] = static_cast<std::int16_t>(i * 1000 - 9000);
    }
    host_test::writeImage(*image, folder.path("native.nii"));
    std::string bytes = host_test::readFile(folder.path("native.nii"));
    nifti_1_header header;
    std::memcpy(&header, bytes.data(), sizeof header);
    swap_nifti_header(&header, 1);
    std::memcpy(bytes.data(), &header, sizeof header);
    for (std::size_t at = 352; at + 1 < bytes.size(); at += 2) std::swap(bytes[at], bytes[at + 1]);
    host_test::writeFile(folder.path("swapped.nii"), bytes);

    const TimeCourses native = readNiftiRun(folder.path("native.nii"));
    const TimeCourses swapped = readNiftiRun(folder.path("swapped.nii"));
    EXPECT_EQ(std::memcmp(&native.geometry(), &swapped.geometry(), sizeof(Geometry)), 0);
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(std::memcmp(native.volumes()[t], swapped.volumes()[t], 12 * sizeof(float)), 0);
    }
    EXPECT_EQ(swapped.volumes()[1][0], 3000 * 0.25f + 3.0f);
}

TEST(NiftiWriter, RunReadsBackWithNiftiClibUnchanged) {
    TempFolder folder;
    Image image = makeImage({3, 2, 2, 4}, DT_INT16);
    host_test::setTestGeometry(*image);
    for (std::size_t i = 0; i < image->nvox; ++i) static_cast<std::int16_t*>(image->data)[i] = i;
    host_test::writeImage(*image, folder.path("source.nii"));
    const TimeCourses run = readNiftiRun(folder.path("source.nii"));

    AtomicFile file(folder.path("copy.stc"));
    writeNiftiRun(file, run);
    file.commit();

    const Image source = host_test::readImage(folder.path("source.nii"));
    const Image copy = host_test::readImage(folder.path("copy.stc"));
    EXPECT_EQ(copy->ndim, 4);
    EXPECT_EQ(copy->nt, 4);
    EXPECT_EQ(copy->datatype, DT_FLOAT32);
    EXPECT_EQ(copy->dt, 1.5f);
    EXPECT_EQ(copy->qform_code, NIFTI_XFORM_SCANNER_ANAT);
    EXPECT_EQ(copy->sform_code, NIFTI_XFORM_MNI_152);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(copy->qto_xyz.m[row][column], source->qto_xyz.m[row][column]);
            EXPECT_EQ(copy->sto_xyz.m[row][column], source->sto_xyz.m[row][column]);
        }
    }
    for (std::size_t i = 0; i < copy->nvox; ++i) {
        EXPECT_EQ(static_cast<float*>(copy->data)[i], static_cast<float>(i));
    }
}

// Writes a valid run of 2 x 2 x 2 voxels and 3 int16 volumes, then changes `size` bytes at
// `offset` of the file to `bytes`.
void writePatchedRun(const std::string& path, std::size_t offset, const void* bytes,
                     std::size_t size) {
    Image image = makeImage({2, 2, 2, 3}, DT_INT16);
    host_test::writeImage(*image, path);
    std::string content = host_test::readFile(path);
    std::memcpy(content.data() + offset, bytes, size);
    host_test::writeFile(path, content);
}

template <typename T>
std::function<void(const std::string&)> patched(std::size_t offset, std::vector<T> values) {
    return [=](const std::string& path) {
        writePatchedRun(path, offset, values.data(), values.size() * sizeof(T));
    };
}

struct BadRunCase {
    const char* name;
    std::function<void(const std::string&)> make;  // creates the file at the path
    std::string reason;                            // the message after "<path>: "
};

std::ostream& operator<<(std::ostream& out, const BadRunCase& c) {
    return out << c.name;
}

class BadRuns : public testing::TestWithParam<BadRunCase> {};

TEST_P(BadRuns, AreRefusedWithTheirReason) {
    const BadRunCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.path("run.nii");
    c.make(path);
    try {
        readNiftiRun(path);
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), path + ": " + c.reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NiftiReader, BadRuns,
    testing::Values(
        BadRunCase{"missing", [](const std::string&) {}, "cannot open: No such file or directory"},
        BadRunCase{"folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                   "is a folder, not a NIfTI file"},
        BadRunCase{"text", [](const std::string& p) { host_test::writeFile(p, "hello\n"); },
                   "not a NIfTI-1 file: it holds 6 bytes, a NIfTI-1 header needs 348"},
        BadRunCase{"garbage",
                   [](const std::string& p) { host_test::writeFile(p, std::string(400, 'x')); },
                   "not a NIfTI-1 file: no NIfTI-1 header at its start"},
        BadRunCase{"nifti2", patched<std::int32_t>(0, {540}),
                   "is a NIfTI-2 file; the host reads NIfTI-1"},
        BadRunCase{"two_file_header", patched<char>(344, {'n', 'i', '1'}),
                   "is not a single-file NIfTI-1 image (its magic is not \"n+1\")"},
        BadRunCase{"three_d", patched<std::int16_t>(40, {3}),
                   "holds a 3D image; a run needs 4 dimensions (x, y, z and time)"},
        BadRunCase{"rank_beyond_nifti", patched<std::int16_t>(40, {9}),
                   "not a NIfTI-1 file: its header gives 9 dimensions, NIfTI-1 allows at most 7"},
        BadRunCase{"first_size_zero", patched<std::int16_t>(42, {0}),
                   "has an invalid size 0 along axis 1"},
        BadRunCase{"data_type_undefined", patched<std::int16_t>(70, {9999}),
                   "not a NIfTI-1 file: its data type code 9999 is none that NIfTI-1 defines for "
                   "voxels"},
        BadRunCase{"five_d", patched<std::int16_t>(40, {5, 2, 2, 2, 3, 2}),
                   "holds a 5D image; a run has 4 dimensions"},
        BadRunCase{"no_volumes", patched<std::int16_t>(48, {0}),
                   "holds no volumes (its time dimension is 0)"},
        BadRunCase{"rgb", patched<std::int16_t>(70, {DT_RGB24, 24}),
                   "stores its values as RGB24, which the host cannot convert to floats"},
        BadRunCase{"volume_too_large", patched<std::int16_t>(42, {2000, 2000, 1000, 1}),
                   "2000 x 2000 x 1000 voxels are more than the 2147483647 a volume of the host "
                   "can hold"},
        BadRunCase{"run_too_large", patched<std::int16_t>(42, {1000, 1000, 100, 30}),
                   "1000 x 1000 x 100 voxels x 30 volumes are more than the 2147483647 values a "
                   "run of the host can hold"},
        BadRunCase{"truncated",
                   [](const std::string& p) {
                       writePatchedRun(p, 0, "", 0);
                       std::filesystem::resize_file(p, 352 + 20);
                   },
                   "is truncated: its header promises 48 bytes of image data after byte 352, it "
                   "holds 20"},
        // Refused on the file's length before the 4 GB are allocated.
        BadRunCase{"claims_gigabytes", patched<std::int16_t>(42, {32767, 32767, 2, 1}),
                   "is truncated: its header promises 4294705156 bytes of image data after byte "
                   "352, it holds 48"}),
    [](const testing::TestParamInfo<BadRunCase>& info) { return info.param.name; });

TEST(NiftiReader, RefusesATruncatedCompressedRun) {
    TempFolder folder;
    Image image = makeImage({8, 8, 8, 4}, DT_FLOAT32);
    for (std::size_t i = 0; i < image->nvox; ++i) static_cast<float*>(image->data)[i] = i * 0.37f;
    host_test::writeImage(*image, folder.path("run.nii.gz"));
    const std::string bytes = host_test::readFile(folder.path("run.nii.gz"));
    host_test::writeFile(folder.path("run.nii.gz"), bytes.substr(0, bytes.size() / 2));

    try {
        readNiftiRun(folder.path("run.nii.gz"));
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_THAT(error.what(),
                    testing::StartsWith(folder.path("run.nii.gz") +
                                        ": is truncated: its header promises 8192 bytes of image "
                                        "data after byte 352, it holds "));
    }
}

// Deflate expands at most 1032-fold, so a compressed file of a few hundred bytes cannot hold the
// gigabytes its header claims; the run is refused before they are allocated.
TEST(NiftiReader, RefusesACompressedRunTooShortForItsClaimBeforeAllocating) {
    TempFolder folder;
    writePatchedRun(folder.path("plain.nii"), 42,
                    std::vector<std::int16_t>{32767, 32767, 2, 1}.data(), 8);
    const std::string bytes = host_test::readFile(folder.path("plain.nii"));
    const std::string path = folder.path("run.nii.gz");
    gzFile file = gzopen(path.c_str(), "wb");
    gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
    gzclose(file);
    try {
        readNiftiRun(path);
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), path +
                                    ": is truncated: its header promises 4294705156 bytes of "
                                    "image data after byte 352, more than its " +
                                    std::to_string(std::filesystem::file_size(path)) +
                                    " compressed bytes can hold");
    }
}

// A file name longer than the file system allows is a run that cannot be opened, reported like
// any other; found by fuzzing, where it escaped as a file-system exception.
TEST(NiftiReader, RefusesAFileNameTooLongForTheFileSystem) {
    TempFolder folder;
    const std::string path = folder.path(std::string(300, 'r') + ".nii");
    try {
        readNiftiRun(path);
        FAIL() << "no error";
    } catch (const RunReadError& error) {
        EXPECT_EQ(error.what(), path + ": cannot open: File name too long");
    }
}

}  // namespace
}  // namespace host
