// The base class has no data: its constructors and assignment only set up the virtual table. They
// and the destructor are defined here so that the library exports them with the virtual table.
#include "plugin/zorq_plugin_interface.h"

ZorqPluginInterface::ZorqPluginInterface() = default;
ZorqPluginInterface::ZorqPluginInterface(const ZorqPluginInterface&) = default;
ZorqPluginInterface::~ZorqPluginInterface() = default;
ZorqPluginInterface& ZorqPluginInterface::operator=(const ZorqPluginInterface&) = default;
