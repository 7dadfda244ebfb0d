#pragma once
// The plug-in's exported C functions, which the host looks up by these undecorated names.
//
// Every descriptor function returns a constant, NUL-terminated text that lives as long as the
// library; each call returns the same pointer, and the host must not free it. They may be called
// at any time. createPlugin returns a new plug-in object that the host owns and destroys through
// its virtual destructor (null only when memory is exhausted).

#include "plugin/export.h"
#include "plugin/zorq_plugin_interface.h"

extern "C" {
TANDREL_EXPORT ZorqPluginInterface* createPlugin();
TANDREL_EXPORT const char* getAuthor();
TANDREL_EXPORT const char* getGUIScript();
TANDREL_EXPORT const char* getHelpFile();
TANDREL_EXPORT const char* getPluginDescription();
TANDREL_EXPORT const char* getPluginName();
TANDREL_EXPORT const char* getPluginVersion();
}

namespace plugin {

// Types of the entry points, for a host that looks them up by name.
using CreatePluginFunction = ZorqPluginInterface* (*)();
using DescriptorFunction = const char* (*)();

}  // namespace plugin
