// The base class has no data: its constructors and assignment only set up the virtual table. They
// are defined here so that the library exports them with the class's virtual table.
#include "plugin/zorq_plugin_interface.h"

ZorqPluginInterface::ZorqPluginInterface() = default;
ZorqPluginInterface::ZorqPluginInterface(const ZorqPluginInterface&) = default;
ZorqPluginInterface& ZorqPluginInterface::operator=(const ZorqPluginInterface&) = default;
