#pragma once
// An RGB picture in memory, rows from the top, with the few drawing operations a preview needs:
// filled rectangles and text in the built-in font. Drawing outside the picture is clipped.

#include <cstdint>
#include <string_view>
#include <vector>

namespace host::preview {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

class Canvas {
  public:
    Canvas(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb pixel(int x, int y) const;
    // Three bytes per pixel, row after row from the top.
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    void fillRect(int x, int y, int width, int height, Rgb colour);
    // Draws one line of text with its top-left corner at (x, y), each font pixel a square of
    // `scale` pixels. Bytes of a multi-byte UTF-8 character are drawn as one '?'.
    void drawText(int x, int y, std::string_view text, Rgb colour, int scale);

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

// Width in pixels of `text` drawn at `scale` (without the gap after the last character).
int textWidth(std::string_view text, int scale);

}  // namespace host::preview
