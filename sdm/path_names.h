#pragma once
// Operations on path strings with which outputs are named after their inputs (maps after the
// design files, residual runs after the functional run). They look at the characters alone:
// nothing is looked up on disk and no path is normalised. Both '/' and '\' separate folders,
// since the host runs on Windows but accepts either.

#include <string>

namespace sdm {

// The part after the last '/' or '\'; the whole path when it holds neither.
std::string fileName(const std::string& path);

// The path without its extension. The extension starts at the last '.' of the file name (the
// part after the last separator); a dot in a folder name never counts, so "D:/exp.old/design"
// has no extension and comes back unchanged.
std::string stripExtension(const std::string& path);

// The path with text inserted just before its extension ("run1.fmr", "_x" -> "run1_x.fmr"), or
// appended when the file name has no extension.
std::string insertBeforeExtension(const std::string& path, const std::string& text);

}  // namespace sdm
