#include "host/fmr_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "host/nifti_io.h"
#include "tests/host/host_test_support.h"

namespace host {
namespace {

using host_test::Image;
using host_test::TempFolder;

// A run of 3 x 2 x 2 voxels with the test geometry, written by nifti_clib and read by the host.
class MapOfRun : public testing::Test {
  protected:
    void SetUp() override {
        Image image = host_test::makeImage({3, 2, 2, 2}, DT_FLOAT32);
        host_test::setTestGeometry(*image);
        host_test::writeImage(*image, folder.path("run.nii"));
        geometry = readNiftiRun(folder.path("run.nii")).geometry();
        source = host_test::readImage(folder.path("run.nii"));
    }

    TempFolder folder;
    Geometry geometry;
    Image source;
};

TEST_F(MapOfRun, StartsAsZerosWithTheRunsSize) {
    FmrMap map(geometry);
    MapHeader expected{};
    expected.DimX = 3;
    expected.DimY = 2;
    expected.DimZ = 2;
    EXPECT_EQ(std::memcmp(&map.header(), &expected, sizeof expected), 0);
    EXPECT_THAT(std::vector<float>(map.values(), map.values() + 12), testing::Each(0.0f));
}

TEST_F(MapOfRun, FMapSavesGeometryThresholdsAndDegreesOfFreedom) {
    FmrMap map(geometry);
    for (int z = 0; z < 2; ++z) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) map.slices()[z][y * 3 + x] = 100.0f * z + 10.0f * y + x;
        }
    }
    MapHeader header = map.header();
    header.MapType = kMapTypeF;
    header.LowerThreshold = 2.0f;
    header.UpperThreshold = 7.5f;
    header.DF1 = 3;
    header.DF2 = 194;
    map.setHeader(header);
    saveMap(map, geometry, folder.path("model_Fval_diff.map"));

    const Image saved = host_test::readImage(folder.path("model_Fval_diff.map"));
    EXPECT_EQ(saved->ndim, 3);
    EXPECT_THAT((std::vector<int>{saved->nx, saved->ny, saved->nz, saved->nt}),
                testing::ElementsAre(3, 2, 2, 1));
    EXPECT_EQ(saved->datatype, DT_FLOAT32);
    EXPECT_THAT((std::vector<float>{saved->dx, saved->dy, saved->dz}),
                testing::ElementsAre(2.0f, 3.0f, 4.0f));
    EXPECT_EQ(saved->xyz_units, NIFTI_UNITS_MM);
    EXPECT_EQ(saved->qform_code, source->qform_code);
    EXPECT_EQ(saved->sform_code, source->sform_code);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(saved->qto_xyz.m[row][column], source->qto_xyz.m[row][column]);
            EXPECT_EQ(saved->sto_xyz.m[row][column], source->sto_xyz.m[row][column]);
        }
    }
    EXPECT_EQ(saved->cal_min, 2.0f);
    EXPECT_EQ(saved->cal_max, 7.5f);
    EXPECT_EQ(saved->intent_code, NIFTI_INTENT_FTEST);
    EXPECT_EQ(saved->intent_p1, 3.0f);
    EXPECT_EQ(saved->intent_p2, 194.0f);
    const auto* values = static_cast<const float*>(saved->data);
    for (int z = 0; z < 2; ++z) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(values[x + 3 * (y + 2 * z)], 100.0f * z + 10.0f * y + x);
            }
        }
    }
}

TEST_F(MapOfRun, OtherMapTypesCarryNoIntent) {
    FmrMap map(geometry);
    MapHeader header = map.header();
    header.LowerThreshold = 5.0f;
    header.UpperThreshold = 100.0f;
    header.DF1 = 1;
    header.DF2 = 198;
    map.setHeader(header);
    saveMap(map, geometry, folder.path("tSNR.map"));

    const Image saved = host_test::readImage(folder.path("tSNR.map"));
    EXPECT_EQ(saved->intent_code, 0);
    EXPECT_EQ(saved->intent_p1, 0.0f);
    EXPECT_EQ(saved->intent_p2, 0.0f);
    EXPECT_EQ(saved->cal_min, 5.0f);
    EXPECT_EQ(saved->cal_max, 100.0f);
}

TEST_F(MapOfRun, ARecordOfAnotherSizeIsRefused) {
    FmrMap map(geometry);
    MapHeader header = map.header();
    header.DimY = 5;
    header.MapType = kMapTypeF;
    try {
        map.setHeader(header);
        FAIL() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(),
                     "the record describes a map of 3 x 5 x 2 voxels, the map has 3 x 2 x 2");
    }
    EXPECT_EQ(map.header().MapType, kMapTypeStatistic);
}

}  // namespace
}  // namespace host
