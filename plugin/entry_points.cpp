// The exported C functions. No exception leaves them: the plug-in object is created without
// throwing, and the texts are constants.
#include "plugin/entry_points.h"

#include <new>

#include "plugin/descriptor.h"
#include "plugin/tandrel.h"

extern "C" {

ZorqPluginInterface* createPlugin() {
    return new (std::nothrow) tandrel();
}

const char* getAuthor() {
    return plugin::kAuthor;
}
const char* getGUIScript() {
    return plugin::kGUIScript;
}
const char* getHelpFile() {
    return plugin::kHelpFile;
}
const char* getPluginDescription() {
    return plugin::kPluginDescription;
}
const char* getPluginName() {
    return plugin::kPluginName;
}
const char* getPluginVersion() {
    return plugin::kPluginVersion;
}
}
