#pragma once
// Writing a file so that readers only ever see the old file or the complete new one.
//
// The text goes to a temporary file beside the target (same folder, so the final rename stays on
// one file system and is atomic); commit() flushes it to the disk and renames it into place. A
// file that is never committed, or whose writing fails, is removed again and the old file stays.

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace host {

// A write that the host could not carry out; the text names the file and the reason.
class WriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class AtomicFile {
  public:
    // Opens a new temporary file beside `target`. Throws WriteError when it cannot be created.
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~AtomicFile();

    // Appends bytes. Throws WriteError when the disk refuses them.
    void write(const void* data, std::size_t size);
    // Makes the written bytes durable and puts them in place of the target. Throws WriteError;
    // the temporary file is then removed and the target left as it was.
    void commit();

    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }

  private:
    [[noreturn]] void fail(const std::string& what, int error);
    void discard() noexcept;

    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace host
