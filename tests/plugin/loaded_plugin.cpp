#include "tests/plugin/loaded_plugin.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "plugin/entry_points.h"

namespace plugintest {

void* pluginExport(const char* name) {
    // Loaded once and kept for the whole test program, like a host keeps its plug-ins.
    static void* const module = [] {
        void* handle = dlopen(TANDREL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) throw std::runtime_error(dlerror());
        return handle;
    }();
    return dlsym(module, name);
}

PluginObject createPlugin() {
    auto create = reinterpret_cast<plugin::CreatePluginFunction>(pluginExport("createPlugin"));
    if (create == nullptr) throw std::runtime_error("the module exports no createPlugin");
    return PluginObject(create());
}

}  // namespace plugintest
