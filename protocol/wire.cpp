#include "wire.h"

#include <cstring>

std::string BuildDiscoveryRequest()
{
    return wire::kDiscoveryRequest;
}

std::string BuildChangeRequest(const ChangeRequest& r)
{
    const char sep = wire::kSeparator;
    std::string text = wire::kChangePrefix;
    text += r.current + sep + r.user + sep + r.password + sep + r.address + sep + r.netmask + sep + r.gateway;
    text += r.mode == AddressMode::Static ? wire::kStaticEnding : wire::kDhcpEnding;
    return text;
}

std::optional<ChangeRequest> ParseChangeRequest(std::string_view datagram)
{
    if (auto nul = datagram.find('\0'); nul != std::string_view::npos)
        datagram = datagram.substr(0, nul);
    std::string_view prefix = wire::kChangePrefix;
    if (!datagram.starts_with(prefix))
        return std::nullopt;
    std::string_view rest = datagram.substr(prefix.size());

    std::string_view fields[7];
    for (int i = 0; i < 6; ++i) {
        size_t at = rest.find(wire::kSeparator);
        if (at == std::string_view::npos)
            return std::nullopt;
        fields[i] = rest.substr(0, at);
        rest = rest.substr(at + 1);
    }
    ChangeRequest r { std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
        std::string(fields[3]), std::string(fields[4]), std::string(fields[5]), AddressMode::Static };
    if (rest == "0")
        r.mode = AddressMode::Static;
    else if (rest == "1@")
        r.mode = AddressMode::Dhcp;
    else
        return std::nullopt;
    return r;
}

std::string BuildDiscoveryReply(const DiscoveryFields& f)
{
    const char sep = wire::kSeparator;
    std::string text(1, wire::kDeviceMark);
    text += f.gateway + sep + f.hostname + sep + f.mac + sep + f.version + sep + f.netmask + sep + f.mode + sep;
    return text;
}

std::array<std::string, wire::kDiscoveryFields> SplitDiscoveryReply(std::string_view reply)
{
    std::array<std::string, wire::kDiscoveryFields> fields;
    size_t start = 0; // position of the separator that opens the field
    for (int j = 0; j < wire::kDiscoveryFields && start < reply.size(); ++j) {
        size_t end = reply.find(wire::kSeparator, start + 1);
        if (end == std::string_view::npos)
            break;
        fields[j] = std::string(reply.substr(start + 1, end - start - 1));
        start = end;
    }
    return fields;
}

bool IsCompleteDiscoveryReply(std::string_view reply)
{
    if (reply.empty() || reply[0] != wire::kDeviceMark)
        return false;
    int separators = 0;
    for (char c : reply.substr(1))
        separators += c == wire::kSeparator;
    return separators >= wire::kDiscoveryFields - 1;
}

int WalkAddressMode(std::span<const char> datagram, int current)
{
    size_t i = 1;
    for (int passed = 0; passed < wire::kDiscoveryFields - 1; ++i) {
        if (i >= datagram.size())
            return current;
        passed += datagram[i] == wire::kSeparator;
    }
    for (; i < datagram.size() && datagram[i] != wire::kSeparator; ++i) {
        if (datagram[i] == '0')
            current = 0;
        else if (datagram[i] == '1')
            current = 1;
    }
    return current;
}

int ModeIndex(AddressMode mode)
{
    return mode == AddressMode::Static ? 0 : mode == AddressMode::Dhcp ? 1 : -1;
}

AddressMode ModeOfIndex(int index)
{
    return index == 0 ? AddressMode::Static : index == 1 ? AddressMode::Dhcp : AddressMode::NotGiven;
}

std::optional<DeviceReply> ParseDeviceReply(std::span<const char> datagram, std::string sender, unsigned ifindex)
{
    if (datagram.empty() || datagram[0] != wire::kDeviceMark)
        return std::nullopt;
    const void* nul = std::memchr(datagram.data(), '\0', datagram.size());
    size_t textLength = nul ? static_cast<size_t>(static_cast<const char*>(nul) - datagram.data()) : datagram.size();
    auto f = SplitDiscoveryReply(std::string_view(datagram.data(), textLength));
    DeviceReply reply;
    reply.sender = std::move(sender);
    reply.gateway = std::move(f[0]);
    reply.hostname = std::move(f[1]);
    reply.mac = std::move(f[2]);
    reply.version = std::move(f[3]);
    reply.netmask = std::move(f[4]);
    reply.mode = ModeOfIndex(WalkAddressMode(datagram, -1));
    reply.ifindex = ifindex;
    return reply;
}
