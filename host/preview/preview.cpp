#include "host/preview/preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "host/preview/bitmap_font.h"
#include "host/preview/colour_scale.h"
#include "host/preview/png_file.h"

namespace host::preview {
namespace {

constexpr Rgb kBackground{10, 10, 14};
constexpr Rgb kText{235, 235, 235};
constexpr Rgb kQuietText{160, 160, 170};
constexpr int kMargin = 16;
constexpr int kGap = 6;
constexpr int kMaxTiles = 48;
constexpr int kTileTarget = 192;  // pixels along the longer side of a slice
constexpr int kMinWidth = 640;    // room for the colour bar and a readable title
constexpr int kTitleScale = 2;
constexpr int kLabelScale = 2;
constexpr int kBarHeight = 18;
constexpr int kBarSegment = 220;  // pixels for each coloured half of the bar
constexpr int kGreySegment = 90;
constexpr int kSectionGap = 20;

std::vector<int> chosenSlices(int dimZ) {
    std::vector<int> slices;
    const int count = std::min(dimZ, kMaxTiles);
    for (int i = 0; i < count; ++i) {
        slices.push_back(count == dimZ ? i
                                       : static_cast<int>(std::lround(static_cast<double>(i) *
                                                                      (dimZ - 1) / (count - 1))));
    }
    return slices;
}

// Splits at line breaks, then wraps lines longer than `characters` (at a blank when there is
// one in the second half of the line).
std::vector<std::string> wrapped(std::string_view text, std::size_t characters) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        while (line.size() > characters) {
            std::size_t cut = line.rfind(' ', characters);
            if (cut == std::string_view::npos || cut < characters / 2) cut = characters;
            lines.emplace_back(line.substr(0, cut));
            line.remove_prefix(cut);
            while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        }
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", static_cast<double>(value));
    return text;
}

constexpr std::string_view kFooter =
    "Axial slices as stored: voxel x to the right, y up. Grey: below the lower threshold.";

// Threshold words above the bar, the bar, tick marks and values below it.
int barHeightWithLabels() {
    return kLineAdvance * kLabelScale + 4 + kBarHeight + 10 + kLineAdvance * kLabelScale;
}

bool hasNegatives(const PreviewMap& map, const Thresholds& t) {
    return std::any_of(map.values.begin(), map.values.end(),
                       [&](float v) { return std::isfinite(v) && v < 0.0f && -v >= t.lower; });
}

bool hasNotFinite(const PreviewMap& map) {
    return std::any_of(map.values.begin(), map.values.end(),
                       [](float v) { return !std::isfinite(v); });
}

// Centres a label on x, kept inside the picture.
void drawLabel(Canvas& canvas, int x, int y, const std::string& text, Rgb colour) {
    const int width = textWidth(text, kLabelScale);
    const int left = std::clamp(x - width / 2, kMargin / 2, canvas.width() - kMargin / 2 - width);
    canvas.drawText(left, y, text, colour, kLabelScale);
}

void drawTick(Canvas& canvas, int x, int barTop, const std::string& word,
              const std::string& value) {
    canvas.fillRect(x - 1, barTop - 3, 2, kBarHeight + 9, kText);
    drawLabel(canvas, x, barTop - 4 - kLineAdvance * kLabelScale, word, kQuietText);
    drawLabel(canvas, x, barTop + kBarHeight + 10, value, kText);
}

// The colour bar: [negative: -upper ... -lower] [grey: below the lower threshold] [positive:
// lower ... upper], with the thresholds ticked; the negative half only when the map has such
// values, and a swatch for values that are not finite when there are any.
void drawColourBar(Canvas& canvas, const PreviewMap& map, int top) {
    const Thresholds usable = usableThresholds({map.lowerThreshold, map.upperThreshold});
    const bool negatives = hasNegatives(map, usable);
    const bool notFinite = hasNotFinite(map);
    const int swatchRoom =
        notFinite ? 40 + kBarHeight + 8 + textWidth("not finite", kLabelScale) : 0;
    const int room = canvas.width() - 2 * kMargin - kGreySegment - swatchRoom;
    const int segment = std::min(kBarSegment, negatives ? room / 2 : room);
    const int barTop = top + kLineAdvance * kLabelScale + 4;
    int x = kMargin;
    if (negatives) {
        for (int i = 0; i < segment; ++i) {
            canvas.fillRect(x + i, barTop, 1, kBarHeight,
                            negativeColour(1.0f - static_cast<float>(i) / (segment - 1)));
        }
        drawTick(canvas, x, barTop, "-upper", number(-map.upperThreshold));
        drawTick(canvas, x + segment, barTop, "-lower", number(-map.lowerThreshold));
        x += segment;
    }
    for (int i = 0; i < kGreySegment; ++i) {
        const float t = negatives ? std::fabs(2.0f * i / (kGreySegment - 1) - 1.0f)
                                  : static_cast<float>(i) / (kGreySegment - 1);
        canvas.fillRect(x + i, barTop, 1, kBarHeight, subThresholdColour(t));
    }
    if (!negatives) {
        canvas.drawText(x, barTop + kBarHeight + 10, "0", kQuietText, kLabelScale);
    }
    x += kGreySegment;
    for (int i = 0; i < segment; ++i) {
        const float t = usable.upper > usable.lower ? static_cast<float>(i) / (segment - 1) : 1.0f;
        canvas.fillRect(x + i, barTop, 1, kBarHeight, positiveColour(t));
    }
    drawTick(canvas, x, barTop, "lower", number(map.lowerThreshold));
    drawTick(canvas, x + segment - 1, barTop, "upper", number(map.upperThreshold));
    x += segment + 40;
    if (notFinite) {
        canvas.fillRect(x, barTop, kBarHeight, kBarHeight, kNotFiniteColour);
        canvas.drawText(x + kBarHeight + 8, barTop + 2, "not finite", kText, kLabelScale);
    }
}

}  // namespace

std::pair<int, int> MontageLayout::voxelPixel(const PreviewMap& map, int tile, int x, int y) const {
    const int column = tile % columns;
    const int row = tile / columns;
    const int left = montageLeft + column * (tileWidth(map) + gap);
    const int top = montageTop + labelHeight + row * (labelHeight + tileHeight(map) + gap);
    return {left + x * scale, top + (map.dimY - 1 - y) * scale};
}

MontageLayout montageLayout(const PreviewMap& map, std::string_view title) {
    if (map.dimX < 1 || map.dimY < 1 || map.dimZ < 1) {
        throw std::invalid_argument("preview: the map's dimensions must be at least 1, found " +
                                    std::to_string(map.dimX) + " x " + std::to_string(map.dimY) +
                                    " x " + std::to_string(map.dimZ));
    }
    const std::size_t voxels = static_cast<std::size_t>(map.dimX) * map.dimY * map.dimZ;
    if (map.values.size() != voxels) {
        throw std::invalid_argument("preview: expected " + std::to_string(voxels) +
                                    " values for the map's grid, found " +
                                    std::to_string(map.values.size()));
    }
    MontageLayout layout;
    layout.scale = std::clamp(kTileTarget / std::max(map.dimX, map.dimY), 1, 16);
    layout.slices = chosenSlices(map.dimZ);
    const int tiles = static_cast<int>(layout.slices.size());
    layout.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(tiles))));
    layout.rows = (tiles + layout.columns - 1) / layout.columns;
    layout.gap = kGap;
    const int montageWidth =
        layout.columns * layout.tileWidth(map) + (layout.columns - 1) * layout.gap;
    layout.labelScale = layout.tileWidth(map) >= 128 ? 2 : 1;
    layout.labelHeight = kLineAdvance * layout.labelScale + 2;
    const int montageHeight = layout.rows * (layout.labelHeight + layout.tileHeight(map)) +
                              (layout.rows - 1) * layout.gap;
    layout.width = std::max(montageWidth, kMinWidth) + 2 * kMargin;

    const int textRoom = layout.width - 2 * kMargin;
    const int perLine = (textRoom - kGlyphWidth * kTitleScale) / (kGlyphAdvance * kTitleScale) + 1;
    layout.titleLines = wrapped(title, static_cast<std::size_t>(std::max(perLine, 1)));
    layout.footerLines = wrapped(kFooter, static_cast<std::size_t>(std::max(perLine, 1)));
    const int titleHeight = static_cast<int>(layout.titleLines.size()) * kLineAdvance * kTitleScale;
    const int footerHeight =
        static_cast<int>(layout.footerLines.size()) * kLineAdvance * kTitleScale;

    layout.montageLeft = (layout.width - montageWidth) / 2;
    layout.montageTop = kMargin + titleHeight + kSectionGap / 2;
    layout.barTop = layout.montageTop + montageHeight + kSectionGap;
    layout.footerTop = layout.barTop + barHeightWithLabels() + kSectionGap;
    layout.height = layout.footerTop + footerHeight + kMargin;
    return layout;
}

Canvas renderPreviewCanvas(const PreviewMap& map, std::string_view title) {
    const MontageLayout layout = montageLayout(map, title);
    Canvas canvas(layout.width, layout.height, kBackground);
    for (std::size_t i = 0; i < layout.titleLines.size(); ++i) {
        canvas.drawText(kMargin, kMargin + static_cast<int>(i) * kLineAdvance * kTitleScale,
                        layout.titleLines[i], kText, kTitleScale);
    }

    const Thresholds usable = usableThresholds({map.lowerThreshold, map.upperThreshold});
    const int s = layout.scale;
    for (int tile = 0; tile < static_cast<int>(layout.slices.size()); ++tile) {
        const int z = layout.slices[tile];
        const float* slice = map.values.data() + static_cast<std::size_t>(map.dimX) * map.dimY * z;
        for (int y = 0; y < map.dimY; ++y) {
            for (int x = 0; x < map.dimX; ++x) {
                const auto [px, py] = layout.voxelPixel(map, tile, x, y);
                canvas.fillRect(px, py, s, s, mapColour(slice[x + map.dimX * y], usable));
            }
        }
        const auto [left, top] = layout.voxelPixel(map, tile, 0, map.dimY - 1);
        canvas.drawText(left, top - layout.labelHeight, "z " + std::to_string(z), kQuietText,
                        layout.labelScale);
    }

    drawColourBar(canvas, map, layout.barTop);
    for (std::size_t i = 0; i < layout.footerLines.size(); ++i) {
        canvas.drawText(kMargin,
                        layout.footerTop + static_cast<int>(i) * kLineAdvance * kTitleScale,
                        layout.footerLines[i], kQuietText, kTitleScale);
    }
    return canvas;
}

void renderPreview(const PreviewMap& map, std::string_view title, const std::string& path) {
    writePng(renderPreviewCanvas(map, title), path);
}

}  // namespace host::preview
