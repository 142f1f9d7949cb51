#pragma once

// Reading discovery replies into orbisk-cli's device records. A scan may hear
// thousands of devices, so each reply costs the same whatever the count: no
// list view, no walk over the rows listed so far.

#include "cli_text.h"

#include <string>

// Reads a discovery reply from `sender` (dotted decimal) as the desktop table
// reads it: fields from the text before the first NUL, the address mode from
// the whole datagram. The number cell is left to the caller. False when the
// datagram is no discovery reply.
bool ReadDeviceReply(const char* data, int length, const std::string& sender, CliDevice& device);

// What makes two replies the same device in a listing: its sender address
// and its MAC address, so that two devices sharing an address both show.
inline std::string ListingKey(const CliDevice& device)
{
    return device.row.cells[ColAddress] + '\n' + device.row.cells[ColMac];
}
