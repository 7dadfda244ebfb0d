#pragma once
// The host kit's abstract base of every plug-in: what the host drives after createPlugin.
//
// The host owns the object that createPlugin returns. It calls initPlugin once, then execute once
// per dialog action, and finally destroys the object through the virtual destructor, all on the
// thread that calls the plug-in. The order of the virtual functions is the host's virtual-table
// layout and must not change.
//
// The library exports the class as a whole (constructors, destructor, assignment, virtual table);
// a host only calls through the virtual table and needs nothing from the library at link time.

#include "plugin/export.h"

class TANDREL_EXPORT ZorqPluginInterface {
  public:
    ZorqPluginInterface();
    ZorqPluginInterface(const ZorqPluginInterface& other);
    virtual ~ZorqPluginInterface();
    ZorqPluginInterface& operator=(const ZorqPluginInterface& other);

    // Runs the dialog action the host asks for; the result is the action's.
    virtual bool execute() = 0;
    // Prepares the plug-in for the host's current document; false when it cannot work on it
    // (the reason has been shown to the user already).
    virtual bool initPlugin() = 0;
};
