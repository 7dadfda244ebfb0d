#pragma once
// Failures to read an input file. Every message names the file and, where it can, the 1-based
// line and what was expected and found, so the user can mend the file from the message alone.

#include <stdexcept>
#include <string>

namespace sdm {

// Base of every failure to read an input file.
class IOError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The file cannot be opened for reading; the message carries the path exactly as given.
class OpenFileError : public IOError {
  public:
    explicit OpenFileError(const std::string& path)
        : IOError("Failed opening for reading: " + path) {}
};

}  // namespace sdm
