#include "host/preview/canvas.h"

#include <algorithm>

#include "host/preview/bitmap_font.h"

namespace host::preview {
namespace {

// A UTF-8 continuation byte: part of a character already drawn.
bool continues(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {
    fillRect(0, 0, width_, height_, fill);
}

Rgb Canvas::pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

void Canvas::fillRect(int x, int y, int width, int height, Rgb colour) {
    const int left = std::max(x, 0);
    const int right = std::min(x + width, width_);
    const int top = std::max(y, 0);
    const int bottom = std::min(y + height, height_);
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* p = bytes_.data() + (static_cast<std::size_t>(row) * width_ + left) * 3;
        for (int column = left; column < right; ++column, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

void Canvas::drawText(int x, int y, std::string_view text, Rgb colour, int scale) {
    for (char c : text) {
        if (continues(c)) continue;
        const auto& rows = glyph(c);
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (rows[row] & (0x10 >> column)) {
                    fillRect(x + column * scale, y + row * scale, scale, scale, colour);
                }
            }
        }
        x += kGlyphAdvance * scale;
    }
}

int textWidth(std::string_view text, int scale) {
    const auto characters =
        std::count_if(text.begin(), text.end(), [](char c) { return !continues(c); });
    return characters == 0
               ? 0
               : static_cast<int>((characters - 1) * kGlyphAdvance + kGlyphWidth) * scale;
}

}  // namespace host::preview
