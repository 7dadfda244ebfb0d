// Systems with a dynamic loader of the ELF kind: the Windows contract rebuilt from the loader's
// list of loaded objects, dlopen without loading, and dlsym confined to the module itself.
//
// Nothing here allocates or throws: the list of loaded objects is walked under the loader's lock,
// and the names are compared in place.

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <unistd.h>

#include <cstddef>
#include <string_view>

#include "platform/loaded_module.h"

namespace platform {
namespace {

char lowerCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerCase(a[i]) != lowerCase(b[i])) return false;
    }
    return true;
}

// The part of a module's path that names it: the last path component, without a trailing ".exe"
// (programs here carry no suffix, while the host is named as it is on Windows).
std::string_view moduleName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    constexpr std::string_view kProgramSuffix = ".exe";
    if (path.size() > kProgramSuffix.size() &&
        equalIgnoringCase(path.substr(path.size() - kProgramSuffix.size()), kProgramSuffix)) {
        path.remove_suffix(kProgramSuffix.size());
    }
    return path;
}

bool isMainProgram(std::string_view wanted) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return false;
    return equalIgnoringCase(moduleName(std::string_view(path, length)), wanted);
}

struct LibrarySearch {
    std::string_view wanted;
    const char* path = nullptr;
};

int visitLoadedObject(dl_phdr_info* info, std::size_t, void* data) {
    auto* search = static_cast<LibrarySearch*>(data);
    // The main program is listed with an empty name; it was checked by its own path already.
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
    if (!equalIgnoringCase(moduleName(info->dlpi_name), search->wanted)) return 0;
    search->path = info->dlpi_name;
    return 1;
}

// A handle of an object that is already loaded (null: the main program), without keeping the
// reference that dlopen takes: the object stays loaded through whoever loaded it, just as a
// module handle on Windows does.
ModuleHandle handleWithoutReference(const char* path) {
    void* handle = dlopen(path, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle;
}

}  // namespace

ModuleHandle findLoadedModule(const char* fileName) noexcept {
    if (fileName == nullptr) return nullptr;
    const std::string_view wanted = moduleName(fileName);
    if (wanted.empty()) return nullptr;
    if (isMainProgram(wanted)) return handleWithoutReference(nullptr);
    LibrarySearch search{wanted};
    dl_iterate_phdr(visitLoadedObject, &search);
    return search.path == nullptr ? nullptr : handleWithoutReference(search.path);
}

ExportedFunction findExportedFunction(ModuleHandle module, const char* name) noexcept {
    // A null handle would mean "search everything" to dlsym.
    if (module == nullptr || name == nullptr) return nullptr;
    void* address = dlsym(module, name);
    if (address == nullptr) return nullptr;
    // dlsym also searches the module's dependencies (for the main program: every library loaded
    // at start-up); only the module's own exports count.
    link_map* own = nullptr;
    link_map* owner = nullptr;
    Dl_info info;
    if (dlinfo(module, RTLD_DI_LINKMAP, &own) != 0 ||
        dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 ||
        owner != own) {
        return nullptr;
    }
    return reinterpret_cast<ExportedFunction>(address);
}

}  // namespace platform
