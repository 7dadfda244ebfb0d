#pragma once
// Loading the plug-in library into the host: dlopen/dlsym on Linux, LoadLibraryA/GetProcAddress
// on Windows. Only the host loads modules; the plug-in finds the already loaded host through its
// own platform layer.

#include <stdexcept>
#include <string>

namespace host {

// A library that cannot be loaded or lacks an entry point; the text names the file.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class LoadedLibrary {
  public:
    // Loads the library at `path` (a bare name is taken from the current folder, never from the
    // system's search path). Throws ModuleError with the loader's reason.
    explicit LoadedLibrary(const std::string& path);
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    // Unloads the library; nothing from it may be used afterwards.
    ~LoadedLibrary();

    // The address of the function the library exports as `name`. Throws ModuleError when absent.
    void (*function(const char* name) const)();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    void* handle_ = nullptr;
};

// The folder of the running program, with a trailing separator ("" when it cannot be found).
std::string executableFolder();

// The plug-in's file name on this system.
const char* defaultPluginFileName();

}  // namespace host
