#include "host/preview/preview.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "host/atomic_file.h"
#include "host/preview/colour_scale.h"

namespace host::preview {
namespace {

namespace fs = std::filesystem;

// A 4 x 3 x 2 map with thresholds 2 and 10. Slice 0, row y = 0: above the upper threshold,
// below the lower one, not a number, far negative; row y = 2 starts half way between the
// thresholds. Everything else is 0.
class PreviewTest : public testing::Test {
  protected:
    PreviewTest() : values_(24, 0.0f) {
        values_[0] = 15.0f;
        values_[1] = 1.0f;
        values_[2] = std::nanf("");
        values_[3] = -30.0f;
        values_[0 + 4 * 2] = 6.0f;
        values_[12 + 1] = 10.0f;  // slice 1, (1, 0)
        map_ = {4, 3, 2, values_, 2.0f, 10.0f};
    }

    std::vector<float> values_;
    PreviewMap map_;
};

TEST_F(PreviewTest, VoxelsTakeTheirColoursWithAnteriorUp) {
    const Canvas canvas = renderPreviewCanvas(map_, "Fmap");
    const MontageLayout layout = montageLayout(map_, "Fmap");
    const int s = layout.scale;
    ASSERT_GE(s, 2);
    // Row y = 0 is the bottom row of the first tile, row y = 2 its top row.
    const int left = layout.montageLeft;
    const int top = layout.montageTop + layout.labelHeight;
    const int bottom = top + layout.tileHeight(map_) - 1;
    EXPECT_EQ(canvas.pixel(left, bottom), (Rgb{255, 255, 0}));
    EXPECT_EQ(canvas.pixel(left + s, bottom), (Rgb{74, 74, 74}));
    EXPECT_EQ(canvas.pixel(left + 2 * s, bottom), kNotFiniteColour);
    EXPECT_EQ(canvas.pixel(left + 3 * s + s - 1, bottom), (Rgb{0, 255, 255}));
    EXPECT_EQ(canvas.pixel(left + s - 1, top), (Rgb{255, 128, 0}));
    EXPECT_EQ(canvas.pixel(left, top - 1), canvas.pixel(0, 0));  // above the tile: no data
    EXPECT_EQ(canvas.pixel(left + s, bottom - s), (Rgb{28, 28, 28}));
    // Slice 1 sits to the right of slice 0.
    ASSERT_EQ(layout.columns, 2);
    const auto [x, y] = layout.voxelPixel(map_, 1, 1, 0);
    EXPECT_EQ(x, left + layout.tileWidth(map_) + layout.gap + s);
    EXPECT_EQ(y, bottom - s + 1);
    EXPECT_EQ(canvas.pixel(x, y), (Rgb{255, 255, 0}));
}

TEST_F(PreviewTest, WritesAValidPngOfThePicture) {
    const fs::path path = fs::path(testing::TempDir()) / "Fmap.map.png";
    renderPreview(map_, "Fmap\nmodel 1: a.sdm  model 2: b.sdm", path.string());
    const Canvas expected = renderPreviewCanvas(map_, "Fmap\nmodel 1: a.sdm  model 2: b.sdm");

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, static_cast<png_uint_32>(expected.width()));
    EXPECT_EQ(image.height, static_cast<png_uint_32>(expected.height()));
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(pixels, expected.bytes());
    fs::remove(path);
}

TEST_F(PreviewTest, UnwritableFolderIsNamedInTheError) {
    const fs::path path = fs::path(testing::TempDir()) / "missing_folder" / "Fmap.map.png";
    try {
        renderPreview(map_, "Fmap", path.string());
        ADD_FAILURE() << "no exception";
    } catch (const WriteError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write " + path.string() + ": " + std::strerror(ENOENT));
    }
    EXPECT_FALSE(fs::exists(path.parent_path()));
}

TEST_F(PreviewTest, MalformedMapsAreRefused) {
    const struct {
        PreviewMap map;
        const char* message;
    } cases[] = {
        {{0, 3, 2, values_, 2.0f, 10.0f},
         "preview: the map's dimensions must be at least 1, found 0 x 3 x 2"},
        {{4, 3, 3, values_, 2.0f, 10.0f},
         "preview: expected 36 values for the map's grid, found 24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            renderPreviewCanvas(c.map, "x");
            ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST_F(PreviewTest, TitleLinesBreakAndWrapWithinThePicture) {
    const std::string longLine(300, 'x');
    const MontageLayout layout = montageLayout(map_, "R2adj3\nmodel 1: " + longLine);
    ASSERT_GE(layout.titleLines.size(), 3u);
    EXPECT_EQ(layout.titleLines[0], "R2adj3");
    std::string rest;
    for (std::size_t i = 1; i < layout.titleLines.size(); ++i) {
        EXPECT_LE(textWidth(layout.titleLines[i], 2), layout.width - 32) << i;
        rest += layout.titleLines[i];
    }
    EXPECT_EQ(rest, "model 1: " + longLine);
}

TEST(PreviewSlices, ManySlicesAreSpreadOverAtMost48Tiles) {
    const std::vector<float> values(8 * 8 * 100, 0.0f);
    const MontageLayout layout = montageLayout({8, 8, 100, values, 1.0f, 2.0f}, "");
    ASSERT_EQ(layout.slices.size(), 48u);
    EXPECT_EQ(layout.slices.front(), 0);
    EXPECT_EQ(layout.slices.back(), 99);
    EXPECT_TRUE(std::is_sorted(layout.slices.begin(), layout.slices.end()));
    EXPECT_EQ(layout.columns * layout.rows >= 48, true);
}

}  // namespace
}  // namespace host::preview
