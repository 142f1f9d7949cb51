#pragma once

// A scan may hear thousands of devices, so each reply costs the same whatever
// the count: replies are read straight into records and kept in a hash set,
// with no list view and no walk over the devices listed so far.

#include "cli_text.h"

#include <string>

// What makes two replies the same device in a listing: its sender address
// and its MAC address, so that two devices sharing an address both show.
inline std::string ListingKey(const CliDevice& device)
{
    return device.reply.sender + '\n' + device.reply.mac;
}
