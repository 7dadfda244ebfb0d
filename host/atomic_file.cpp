#include "host/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace host {
namespace {

// A name no other writer in this process or another one uses at the same time: the process id
// and a counter. The leading dot keeps it out of ordinary directory listings.
std::string temporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
#if defined(_WIN32)
    const long pid = _getpid();
#else
    const long pid = static_cast<long>(getpid());
#endif
    return folder + "." + name + ".tmp-" + std::to_string(pid) + "-" + std::to_string(++counter);
}

// Opens the temporary file only if it does not exist yet, so an unrelated file is never
// overwritten under that name.
std::FILE* createExclusive(const std::string& path) {
#if defined(_WIN32)
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, 0644);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) close(fd);
    return file;
#endif
}

int syncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

bool replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

AtomicFile::AtomicFile(std::string target)
    : target_(std::move(target)), temporary_(temporaryNameFor(target_)) {
    file_ = createExclusive(temporary_);
    if (file_ == nullptr) {
        const int error = errno;
        throw WriteError("cannot write " + target_ + ": " + std::strerror(error));
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) discard();
}

void AtomicFile::write(const void* data, std::size_t size) {
    if (file_ == nullptr) throw WriteError("cannot write " + target_ + ": already closed");
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) fail("cannot write", errno);
}

void AtomicFile::commit() {
    if (file_ == nullptr) throw WriteError("cannot write " + target_ + ": already closed");
    if (std::fflush(file_) != 0) fail("cannot write", errno);
    if (syncToDisk(file_) != 0) fail("cannot write", errno);
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) fail("cannot write", errno);
    if (!replaceFile(temporary_, target_)) {
#if defined(_WIN32)
        fail("cannot replace", EACCES);
#else
        fail("cannot replace", errno);
#endif
    }
    committed_ = true;
}

void AtomicFile::fail(const std::string& what, int error) {
    discard();
    throw WriteError(what + " " + target_ + ": " + std::strerror(error));
}

void AtomicFile::discard() noexcept {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    std::remove(temporary_.c_str());
}

}  // namespace host
