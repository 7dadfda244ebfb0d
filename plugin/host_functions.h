#pragma once
// Filling the host function table from the running host, and the checks the plug-in makes on the
// host before it relies on it.

#include <cstdint>

#include "plugin/host_api_table.h"

namespace plugin {

// File name of the host executable whose exports fill the table.
inline constexpr char kHostModuleName[] = "Quorvis.exe";

// Fills every entry of `hostApi` by name from the host executable, each with the host's address
// or null. Returns false, leaving the table as it was, when the process's program is not the host
// or it does not export zvGetVersionOfQuorvisZV; nothing is reported. Called at every initPlugin.
bool resolveHostFunctions();

// Whether version major.minor.patch is at or above the required one, compared number by number.
bool isVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t patch,
                      std::int32_t requiredMajor, std::int32_t requiredMinor,
                      std::int32_t requiredPatch);

// The name of the first function the plug-in calls whose entry in `table` is null, in the table's
// order; null when the host provides all of them.
const char* missingCalledFunction(const HostApiTable& table);

}  // namespace plugin
