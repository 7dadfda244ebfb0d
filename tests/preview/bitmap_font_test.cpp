#include "host/preview/bitmap_font.h"

#include <gtest/gtest.h>

#include <map>

#include "host/preview/canvas.h"

namespace host::preview {
namespace {

// A slip in the glyph table usually shows as two characters drawn alike.
TEST(BitmapFont, EveryPrintableCharacterHasItsOwnGlyph) {
    std::map<std::array<std::uint8_t, kGlyphHeight>, char> seen;
    for (char c = 33; c < 127; ++c) {
        const auto [at, inserted] = seen.emplace(glyph(c), c);
        EXPECT_TRUE(inserted) << "'" << c << "' is drawn like '" << at->second << "'";
    }
    EXPECT_EQ(glyph(' '), (std::array<std::uint8_t, kGlyphHeight>{}));
}

TEST(BitmapFont, OtherBytesAreDrawnAsQuestionMarks) {
    EXPECT_EQ(glyph('\t'), glyph('?'));
    EXPECT_EQ(glyph('\x7f'), glyph('?'));
    EXPECT_EQ(glyph('\xc3'), glyph('?'));
    // "é" is two bytes but one character.
    EXPECT_EQ(textWidth("\xc3\xa9t\xc3\xa9", 2), textWidth("???", 2));
    Canvas utf8(40, 10, {});
    Canvas ascii(40, 10, {});
    utf8.drawText(0, 0, "\xc3\xa9t", {255, 255, 255}, 1);
    ascii.drawText(0, 0, "?t", {255, 255, 255}, 1);
    EXPECT_EQ(utf8.bytes(), ascii.bytes());
}

}  // namespace
}  // namespace host::preview
