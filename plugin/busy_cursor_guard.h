#pragma once
// The host's busy cursor for the length of a scope: shown on construction, stopped on
// destruction, whether the scope ends normally or through an exception, so the host's show and
// stop calls always pair up.

#include "plugin/host_api_table.h"

namespace plugin {

class BusyCursorGuard {
  public:
    BusyCursorGuard() { hostApi.zvShowBusyCursor(); }
    ~BusyCursorGuard() { hostApi.zvStopBusyCursor(); }
    BusyCursorGuard(const BusyCursorGuard&) = delete;
    BusyCursorGuard& operator=(const BusyCursorGuard&) = delete;
};

}  // namespace plugin
