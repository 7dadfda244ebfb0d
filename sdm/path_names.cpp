#include "sdm/path_names.h"

namespace sdm {
namespace {

// Index of the first character of the file name: just after the last separator, or 0.
std::string::size_type fileNameStart(const std::string& path) {
    const auto separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

// Index of the '.' that starts the extension, or npos when the file name has none.
std::string::size_type extensionStart(const std::string& path) {
    const auto dot = path.find_last_of('.');
    return dot != std::string::npos && dot >= fileNameStart(path) ? dot : std::string::npos;
}

}  // namespace

std::string fileName(const std::string& path) {
    return path.substr(fileNameStart(path));
}

std::string stripExtension(const std::string& path) {
    return path.substr(0, extensionStart(path));
}

std::string insertBeforeExtension(const std::string& path, const std::string& text) {
    const auto dot = extensionStart(path);
    if (dot == std::string::npos) return path + text;
    return path.substr(0, dot) + text + path.substr(dot);
}

}  // namespace sdm
