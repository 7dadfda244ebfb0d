// Windows: the kernel already provides exactly this contract.
#include <windows.h>

#include "platform/loaded_module.h"

namespace platform {

ModuleHandle findLoadedModule(const char* fileName) noexcept {
    if (fileName == nullptr) return nullptr;
    return GetModuleHandleA(fileName);
}

ExportedFunction findExportedFunction(ModuleHandle module, const char* name) noexcept {
    if (module == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<ExportedFunction>(GetProcAddress(static_cast<HMODULE>(module), name));
}

}  // namespace platform
