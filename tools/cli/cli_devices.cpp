#include "cli_devices.h"

#include "wire.h"

#include <cstring>
#include <span>

bool ReadDeviceReply(const char* data, int length, const std::string& sender, CliDevice& device)
{
    if (length <= 0 || data[0] != wire::kDeviceMark)
        return false;
    size_t size = static_cast<size_t>(length);
    const void* nul = std::memchr(data, '\0', size);
    size_t textLength = nul ? static_cast<size_t>(static_cast<const char*>(nul) - data) : size;
    auto f = SplitDiscoveryReply(std::string_view(data, textLength));
    DeviceRow& row = device.row;
    row.cells[ColAddress] = sender;
    row.cells[ColVersion] = std::move(f[3]);
    row.cells[ColHostname] = std::move(f[1]);
    row.cells[ColGateway] = std::move(f[0]);
    row.cells[ColMac] = std::move(f[2]);
    row.cells[ColNetmask] = std::move(f[4]);
    row.info = {};
    row.info.mode = WalkAddressMode(std::span<const char>(data, size), -1);
    return true;
}
