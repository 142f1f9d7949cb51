#pragma once

// Where the devices listen and where their replies come back. These are part
// of the devices' protocol and must not change.
inline constexpr int kDevicePort = 10000;
inline constexpr int kToolPort = 10001;
inline constexpr char kBroadcastAddress[] = "255.255.255.255";

namespace wire {
// The longest reply a device sends; a longer datagram is dropped whole.
inline constexpr int kReplyLimit = 100;
} // namespace wire
