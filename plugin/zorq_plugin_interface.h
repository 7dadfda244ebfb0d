#pragma once
// The host kit's abstract base of every plug-in: what the host drives after createPlugin.
//
// The host owns the object that createPlugin returns. It calls initPlugin once, then execute once
// per dialog action, and finally destroys the object through the virtual destructor, all on the
// thread that calls the plug-in. The order of the virtual functions is the host's virtual-table
// layout and must not change.
//
// The destructor is defined here, so the class has no key function: every program that includes
// this header gets the class's type information itself and needs nothing from the plug-in at link
// time (checked builds of a host look the type up on every virtual call).

#include "plugin/export.h"

class TANDREL_EXPORT ZorqPluginInterface {
  public:
    ZorqPluginInterface();
    ZorqPluginInterface(const ZorqPluginInterface& other);
    virtual ~ZorqPluginInterface() = default;
    ZorqPluginInterface& operator=(const ZorqPluginInterface& other);

    // Runs the dialog action the host asks for; the result is the action's.
    virtual bool execute() = 0;
    // Prepares the plug-in for the host's current document; false when it cannot work on it
    // (the reason has been shown to the user already).
    virtual bool initPlugin() = 0;
};
