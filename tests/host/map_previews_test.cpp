#include "host/map_previews.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <sstream>

#include "host/atomic_file.h"
#include "tests/host/host_test_support.h"

namespace host {
namespace {

TEST(PreviewTitle, NamesTheMapWhatItShowsAndBothModels) {
    DialogParameters parameters;
    parameters.set("sdmfile1", "exp/designs/run1.sdm");
    parameters.set("sdmfile2", "exp/designs/run1_motion.sdm");
    const std::string models = "\nmodel 1: run1.sdm   model 2: run1_motion.sdm";
    MapHeader header{};
    struct Case {
        std::string path;
        std::string title;
    };
    // run1 starts run1_motion's maps too: the longer design name decides the model.
    const std::vector<Case> cases = {
        {"exp/designs/run1_tSNR_residuals.map",
         "run1_tSNR_residuals.map: tSNR of the confound-cleaned time course of model 1"},
        {"exp/designs/run1_motion_tSNR_residuals.map",
         "run1_motion_tSNR_residuals.map: tSNR of the confound-cleaned time course of model 2"},
        {"exp/designs/run1_motion_tSNR_diff_run1.map",
         "run1_motion_tSNR_diff_run1.map: tSNR difference, model 2 minus model 1"},
        {"exp/designs/run1_R2adj.map", "run1_R2adj.map: adjusted R2 of model 1"},
        {"exp/designs/run1_motion_R2adj.map", "run1_motion_R2adj.map: adjusted R2 of model 2"},
        {"exp/designs/run1_motion_R2adj_diff_run1.map",
         "run1_motion_R2adj_diff_run1.map: adjusted R2 difference, model 2 minus model 1"},
        {"elsewhere/other_R2adj.map", "other_R2adj.map: adjusted R2"},
        {"exp/designs/mine.map", "mine.map"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(previewTitle(c.path, header, parameters), c.title + models) << c.path;
    }
    header.MapType = kMapTypeF;
    header.DF1 = 7;
    header.DF2 = 191;
    EXPECT_EQ(previewTitle("exp/designs/run1_motion_Fval_diff_run1.map", header, parameters),
              "run1_motion_Fval_diff_run1.map: F between the models, df 7 and 191" + models);
}

// A saved map of 3 x 2 x 2 voxels on a run of 2 volumes, heard by the preview listener.
class MapPreviewsTest : public testing::Test {
  protected:
    MapPreviewsTest() : run(makeRun()), map(run.geometry()) {
        map.slices()[1][0] = 50.0f;
        MapHeader header = map.header();
        header.LowerThreshold = 5.0f;
        header.UpperThreshold = 100.0f;
        map.setHeader(header);
        parameters.set("sdmfile1", "task.sdm");
        parameters.set("sdmfile2", "full.sdm");
    }

    static TimeCourses makeRun() {
        Geometry geometry;
        geometry.dim[0] = 3;
        geometry.dim[1] = 2;
        geometry.dim[2] = 2;
        FloatBlock values = allocateFloats(24);
        for (int i = 0; i < 24; ++i) values[i] = 1000.0f;
        return TimeCourses(geometry, 2, std::move(values));
    }

    void save(const std::string& path) {
        const std::unique_ptr<SaveListener> previews = makeMapPreviews(console);
        EXPECT_EQ(previews->role(), "preview");
        previews->mapSaved(SavedMap{path, map, run, parameters});
    }

    host_test::TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    Console console{out, err, false};
    TimeCourses run;
    FmrMap map;
    DialogParameters parameters;
};

TEST_F(MapPreviewsTest, WritesAPngBesideTheMap) {
    ASSERT_TRUE(previewsAvailable());
    const std::string path = folder.path("full_tSNR_residuals.map");
    save(path);
    EXPECT_EQ(err.str(), "quorvis: saved " + path + ".png\n");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (path + ".png").c_str())) << image.message;
    EXPECT_GT(image.width, 0u);
    png_image_free(&image);
}

TEST_F(MapPreviewsTest, APreviewThatCannotBeWrittenThrowsNamingIt) {
    const std::string path = folder.path("full_R2adj.map");
    std::filesystem::create_directory(path + ".png");
    try {
        save(path);
        FAIL() << "the preview was not refused";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.what(), "cannot replace " + path + ".png: Is a directory");
    }
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace host
