#include "host/module_loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace host {
namespace {

#if defined(_WIN32)
std::string lastErrorText() {
    char text[512] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, GetLastError(), 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    return reason;
}
#endif

bool hasFolder(const std::string& path) {
    return path.find_first_of("/\\") != std::string::npos;
}

}  // namespace

LoadedLibrary::LoadedLibrary(const std::string& path) : path_(path) {
    const std::string located = hasFolder(path) ? path : "./" + path;
#if defined(_WIN32)
    handle_ = LoadLibraryA(located.c_str());
    if (handle_ == nullptr) throw ModuleError(path + ": cannot load: " + lastErrorText());
#else
    handle_ = dlopen(located.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw ModuleError(path + ": cannot load: " + (reason == nullptr ? "unknown" : reason));
    }
#endif
}

LoadedLibrary::~LoadedLibrary() {
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

void (*LoadedLibrary::function(const char* name) const)() {
#if defined(_WIN32)
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
#else
    void* const address = dlsym(handle_, name);
#endif
    if (address == nullptr) {
        throw ModuleError(path_ + ": not a plug-in of this host: it does not export " +
                          std::string(name));
    }
    return reinterpret_cast<void (*)()>(address);
}

std::string executableFolder() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string program(path, length);
#else
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return "";
    const std::string program(path, static_cast<std::size_t>(length));
#endif
    const std::size_t slash = program.find_last_of("/\\");
    return slash == std::string::npos ? "" : program.substr(0, slash + 1);
}

const char* defaultPluginFileName() {
#if defined(_WIN32)
    return "Tandrel.dll";
#else
    return "Tandrel.so";
#endif
}

}  // namespace host
