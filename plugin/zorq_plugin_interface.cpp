// The base class has no data: its special members only set up the virtual table, and they are
// defined here so that the library exports the class as a whole.
#include "plugin/zorq_plugin_interface.h"

ZorqPluginInterface::ZorqPluginInterface() = default;
ZorqPluginInterface::ZorqPluginInterface(const ZorqPluginInterface&) = default;
ZorqPluginInterface::~ZorqPluginInterface() = default;
ZorqPluginInterface& ZorqPluginInterface::operator=(const ZorqPluginInterface&) = default;
