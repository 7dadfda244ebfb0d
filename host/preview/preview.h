#pragma once
// A quick look at a saved map without a viewer: a PNG montage of its axial slices, coloured by
// the map's own display thresholds, with a colour bar that marks them and a title naming the
// map and the models it came from.

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/preview/canvas.h"

namespace host::preview {

struct PreviewMap {
    int dimX = 0;
    int dimY = 0;
    int dimZ = 0;
    std::span<const float> values;  // voxel x + dimX * (y + dimY * z)
    float lowerThreshold = 0.0f;
    float upperThreshold = 0.0f;
};

// Where the slices land in the picture.
struct MontageLayout {
    int width = 0;  // of the whole picture
    int height = 0;
    int scale = 1;  // picture pixels per voxel edge
    int columns = 1;
    int rows = 1;
    std::vector<int> slices;  // z of each tile, in reading order; at most 48, evenly spread
    std::vector<std::string> titleLines;
    std::vector<std::string> footerLines;
    int montageLeft = 0;
    int montageTop = 0;
    int gap = 0;
    int labelScale = 1;  // of the slice labels ("z 12") above each tile
    int labelHeight = 0;
    int barTop = 0;  // the colour bar's section
    int footerTop = 0;

    int tileWidth(const PreviewMap& map) const { return map.dimX * scale; }
    int tileHeight(const PreviewMap& map) const { return map.dimY * scale; }
    // Top-left picture pixel of voxel (x, y) in tile `tile`: x to the right, y up. The preview
    // sees no orientation, so which side of the head that is depends on the run's affine.
    std::pair<int, int> voxelPixel(const PreviewMap& map, int tile, int x, int y) const;
};

// Throws std::invalid_argument when a dimension is below 1 or the values do not fill the grid.
MontageLayout montageLayout(const PreviewMap& map, std::string_view title);

// The picture itself; `title` may hold line breaks and is wrapped to the picture's width.
Canvas renderPreviewCanvas(const PreviewMap& map, std::string_view title);

// Writes the picture as a PNG file at `path` (by temporary name and rename). Throws
// std::invalid_argument for a malformed map and host::WriteError naming the path when it cannot
// be written.
void renderPreview(const PreviewMap& map, std::string_view title, const std::string& path);

}  // namespace host::preview
