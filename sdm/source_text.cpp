#include "sdm/source_text.h"

#include <algorithm>

namespace sdm {

SourceText::SourceText(std::string name, std::string contents)
    : name_(std::move(name)), contents_(std::move(contents)) {}

std::size_t SourceText::lineAt(std::size_t offset) const {
    if (offset >= contents_.size()) return lastLine();
    const auto begin = contents_.begin();
    return 1 + static_cast<std::size_t>(
                   std::count(begin, begin + static_cast<std::ptrdiff_t>(offset), '\n'));
}

std::size_t SourceText::lastLine() const {
    const auto lineFeeds =
        static_cast<std::size_t>(std::count(contents_.begin(), contents_.end(), '\n'));
    const bool endsWithLineFeed = !contents_.empty() && contents_.back() == '\n';
    return lineFeeds + (endsWithLineFeed ? 0 : 1);
}

IOError SourceText::error(std::size_t line, const std::string& what) const {
    return IOError(name_ + ": line " + std::to_string(line) + ": " + what);
}

LineCursor::LineCursor(const SourceText& text, std::size_t offset)
    : text_(text.view()),
      offset_(std::min(offset, text.size())),
      lineNumber_(text.lineAt(offset) - 1) {}

bool LineCursor::next(std::string_view& line) {
    if (offset_ >= text_.size()) {
        line = {};
        return false;
    }
    const std::size_t lineFeed = text_.find('\n', offset_);
    const std::size_t end = lineFeed == std::string_view::npos ? text_.size() : lineFeed;
    line = text_.substr(offset_, end - offset_);
    offset_ = lineFeed == std::string_view::npos ? text_.size() : lineFeed + 1;
    ++lineNumber_;
    return true;
}

std::string excerpt(std::string_view content) {
    constexpr std::size_t kLongest = 40;
    if (content.size() <= kLongest) return std::string(content);
    return std::string(content.substr(0, kLongest)) + "...";
}

std::string counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace sdm
