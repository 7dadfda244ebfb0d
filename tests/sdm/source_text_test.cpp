#include "sdm/source_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace sdm {
namespace {

TEST(SourceText, LinesOfOffsets) {
    const SourceText text("a.sdm", "ab\ncd\n\nef\n");
    EXPECT_EQ(text.lineAt(0), 1u);
    EXPECT_EQ(text.lineAt(2), 1u);  // the line feed belongs to its line
    EXPECT_EQ(text.lineAt(3), 2u);
    EXPECT_EQ(text.lineAt(6), 3u);
    EXPECT_EQ(text.lineAt(7), 4u);
    // The end of the file is its last line, whether or not that line has a line feed.
    EXPECT_EQ(text.lineAt(text.size()), 4u);
    EXPECT_EQ(text.lastLine(), 4u);
    EXPECT_EQ(SourceText("b.sdm", "ab\ncd").lastLine(), 2u);
    EXPECT_EQ(SourceText("c.sdm", "").lastLine(), 1u);
    EXPECT_STREQ(text.error(3, "expected x, found y").what(), "a.sdm: line 3: expected x, found y");
}

TEST(SourceText, CursorWalksLinesFromAnOffset) {
    const SourceText text("a.sdm", "head 1 2 3 \"A\"\r\n\nlast");
    LineCursor cursor(text, 11);
    std::vector<std::string> lines;
    std::vector<std::size_t> numbers;
    std::string_view line;
    while (cursor.next(line)) {
        lines.emplace_back(line);
        numbers.push_back(cursor.lineNumber());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"\"A\"\r", "", "last"}));
    EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_FALSE(cursor.next(line));
    EXPECT_TRUE(line.empty());
}

TEST(SourceText, MessagePieces) {
    EXPECT_EQ(excerpt("abc"), "abc");
    EXPECT_EQ(excerpt(std::string(41, 'x')), std::string(40, 'x') + "...");
    EXPECT_EQ(counted(1, "value"), "1 value");
    EXPECT_EQ(counted(0, "data row"), "0 data rows");
    EXPECT_EQ(counted(7, "value"), "7 values");
}

}  // namespace
}  // namespace sdm
