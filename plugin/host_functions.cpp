#include "plugin/host_functions.h"

#include "platform/loaded_module.h"

namespace plugin {

HostApiTable hostApi;

bool resolveHostFunctions() {
    const platform::ModuleHandle host = platform::findLoadedModule(kHostModuleName);
    if (host == nullptr) return false;

    // Each name is looked up once; a name the host lacks leaves its entry null. The table only
    // changes when the host proves itself by its version function.
    HostApiTable resolved;
#define TANDREL_RESOLVE(name) \
    resolved.name =           \
        reinterpret_cast<decltype(resolved.name)>(platform::findExportedFunction(host, #name));
#define TANDREL_RESOLVE_CALLED(name, signature) TANDREL_RESOLVE(name)
    TANDREL_HOST_FUNCTIONS(TANDREL_RESOLVE_CALLED, TANDREL_RESOLVE)
#undef TANDREL_RESOLVE_CALLED
#undef TANDREL_RESOLVE
    if (resolved.zvGetVersionOfQuorvisZV == nullptr) return false;
    hostApi = resolved;
    return true;
}

bool isVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t patch,
                      std::int32_t requiredMajor, std::int32_t requiredMinor,
                      std::int32_t requiredPatch) {
    if (major != requiredMajor) return major > requiredMajor;
    if (minor != requiredMinor) return minor > requiredMinor;
    return patch >= requiredPatch;
}

const char* missingCalledFunction(const HostApiTable& table) {
#define TANDREL_CHECK_CALLED(name, signature) \
    if (table.name == nullptr) return #name;
#define TANDREL_SKIP_OTHER(name)
    TANDREL_HOST_FUNCTIONS(TANDREL_CHECK_CALLED, TANDREL_SKIP_OTHER)
#undef TANDREL_SKIP_OTHER
#undef TANDREL_CHECK_CALLED
    return nullptr;
}

}  // namespace plugin
