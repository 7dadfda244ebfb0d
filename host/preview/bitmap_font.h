#pragma once
// A built-in 5 x 8 pixel font (5 x 7 above the baseline, one row of descenders) for the
// printable ASCII characters, so that previews can carry their titles and colour-bar labels
// without a font library.

#include <array>
#include <cstdint>

namespace host::preview {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 8;
// Horizontal and vertical distance from one character cell to the next, at scale 1.
inline constexpr int kGlyphAdvance = 6;
inline constexpr int kLineAdvance = 10;

// Eight rows, top first; bit 4 of a row is its leftmost pixel. Characters outside 32 ... 126
// get the glyph of '?'.
const std::array<std::uint8_t, kGlyphHeight>& glyph(char c);

}  // namespace host::preview
