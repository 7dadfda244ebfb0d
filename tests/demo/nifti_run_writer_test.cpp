#include "host/demo/nifti_run_writer.h"

#include <gtest/gtest.h>
#include <nifti1_io.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

namespace host::demo {
namespace {

namespace fs = std::filesystem;

struct NiftiImageFree {
    void operator()(nifti_image* image) const { nifti_image_free(image); }
};

// Every header field a viewer needs to place the run, read back through nifti_clib, and the
// voxels bit for bit, for the compressed and the plain form.
TEST(NiftiRunWriter, ViewersReadBackGeometryTimingAndVoxels) {
    const RunGeometry geometry{5, 4, 3, 2, 3.0, 2.0};
    std::vector<float> values(geometry.voxelCount() * 2);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = 100.0f + 0.25f * i;

    for (const char* name : {"run_writer.nii.gz", "run_writer.nii"}) {
        SCOPED_TRACE(name);
        const fs::path path = fs::path(testing::TempDir()) / name;
        writeRunNifti(geometry, values, path, "unit test run");
        std::unique_ptr<nifti_image, NiftiImageFree> image(nifti_image_read(path.c_str(), 1));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->nifti_type, NIFTI_FTYPE_NIFTI1_1);
        EXPECT_EQ(image->ndim, 4);
        EXPECT_EQ(image->nx, 5);
        EXPECT_EQ(image->ny, 4);
        EXPECT_EQ(image->nz, 3);
        EXPECT_EQ(image->nt, 2);
        EXPECT_EQ(image->datatype, NIFTI_TYPE_FLOAT32);
        EXPECT_EQ(image->dx, 3.0f);
        EXPECT_EQ(image->dy, 3.0f);
        EXPECT_EQ(image->dz, 3.0f);
        EXPECT_EQ(image->dt, 2.0f);
        EXPECT_EQ(image->xyz_units, NIFTI_UNITS_MM);
        EXPECT_EQ(image->time_units, NIFTI_UNITS_SEC);
        EXPECT_EQ(image->qform_code, NIFTI_XFORM_SCANNER_ANAT);
        EXPECT_EQ(image->sform_code, NIFTI_XFORM_SCANNER_ANAT);
        EXPECT_STREQ(image->descrip, "unit test run");
        // The centre of the grid lies at the origin; both transforms agree.
        const float expected[3][4] = {{3, 0, 0, -6}, {0, 3, 0, -4.5f}, {0, 0, 3, -3}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_FLOAT_EQ(image->qto_xyz.m[r][c], expected[r][c]) << r << "," << c;
                EXPECT_FLOAT_EQ(image->sto_xyz.m[r][c], expected[r][c]) << r << "," << c;
            }
        }
        ASSERT_EQ(image->nvox, values.size());
        EXPECT_EQ(std::memcmp(image->data, values.data(), values.size() * sizeof(float)), 0);
        fs::remove(path);
    }
}

TEST(NiftiRunWriter, RefusesABufferThatIsNotWholeVolumes) {
    const RunGeometry geometry{2, 2, 2, 3, 3.0, 2.0};
    const std::vector<float> values(23);
    const fs::path path = fs::path(testing::TempDir()) / "partial.nii";
    try {
        writeRunNifti(geometry, values, path, "");
        ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write " + path.string() +
                      ": 23 values do not make whole volumes of the run's geometry");
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace host::demo
