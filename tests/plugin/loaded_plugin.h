#pragma once
// The built plug-in module, loaded into the test program the way the host loads it, and plug-in
// objects created through its createPlugin export.

#include <memory>

#include "plugin/zorq_plugin_interface.h"

namespace plugintest {

// The address of the module's export `name`, or null; the module is loaded on first use.
void* pluginExport(const char* name);

// Destroys the plug-in through its virtual destructor, as the host does.
struct PluginDeleter {
    void operator()(ZorqPluginInterface* plugin) const { delete plugin; }
};
using PluginObject = std::unique_ptr<ZorqPluginInterface, PluginDeleter>;

PluginObject createPlugin();

}  // namespace plugintest
