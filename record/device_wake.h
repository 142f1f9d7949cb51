#pragma once

// Waking a device: where its magic packet goes and what it holds, the same
// for orbisk-cli wake and the desktop's Remembered Devices window.

#include "datagram.h"
#include "magic_packet.h"
#include "status.h"

#include <optional>
#include <string>
#include <vector>

struct WakePlan {
    std::vector<Route> routes;
    std::string packet;    // the magic packet's bytes
    bool fellBack = false; // the port it last answered on cannot broadcast now: every port instead
};

// Along `given` when the operator said where; else out of `lastPort`, the
// port the device last answered on; else, or when that port cannot
// broadcast now, out of every port.
Result<WakePlan> PlanWake(const MacAddress& mac, const std::string& lastPort,
    const std::optional<RoutePlan>& given = std::nullopt);
