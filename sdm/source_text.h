#pragma once
// The text of one input file together with what its error messages need: the file's name and
// the 1-based line of any position in it.

#include <cstddef>
#include <string>
#include <string_view>

#include "sdm/io_error.h"

namespace sdm {

class SourceText {
  public:
    SourceText(std::string name, std::string contents);

    std::string_view view() const { return contents_; }
    std::size_t size() const { return contents_.size(); }

    // Line of the character at offset; the end of the file counts as the file's last line, so
    // "found the end of the file" points at a line the user can see.
    std::size_t lineAt(std::size_t offset) const;
    std::size_t lastLine() const;

    // "name: line N: what".
    IOError error(std::size_t line, const std::string& what) const;

  private:
    std::string name_;
    std::string contents_;
};

// Walks the lines of a text from a given offset; a line excludes its line feed.
class LineCursor {
  public:
    LineCursor(const SourceText& text, std::size_t offset);

    // The next line, or false at the end of the text (line is then empty).
    bool next(std::string_view& line);
    // Line number of the line last returned by next.
    std::size_t lineNumber() const { return lineNumber_; }

  private:
    std::string_view text_;
    std::size_t offset_;
    std::size_t lineNumber_;
};

// A piece of file content quoted in a message, cut short so that a runaway token (a binary
// file, a missing line end) cannot flood the message box.
std::string excerpt(std::string_view content);

// "1 value", "7 values".
std::string counted(std::size_t count, const std::string& noun);

}  // namespace sdm
