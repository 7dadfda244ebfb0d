#pragma once
// The plug-in's descriptor texts, as the host shows them. The name is also the display name that
// begins every line the plug-in writes to the host's log.

namespace plugin {

inline constexpr char kPluginName[] = "Tandrel";
inline constexpr char kPluginVersion[] = "1.0";
inline constexpr char kPluginDescription[] = "Compares 2 different SDM models against each other";
inline constexpr char kAuthor[] = "<i>RK&TL</i>";
// The host builds the plug-in's dialog from this script; it sends the tasks "choose_sdm" and
// "start" through the dialog parameter "task".
inline constexpr char kGUIScript[] = "Tandrel.js";
inline constexpr char kHelpFile[] = "HelpFolder/index.html";

}  // namespace plugin
