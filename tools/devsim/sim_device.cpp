#include "sim_device.h"

#include "device_identity.h"

#include <cstdio>

std::vector<Ipv4> DeviceAddresses(const SimOptions& options, Ipv4 fallback)
{
    std::vector<Ipv4> addresses;
    if (options.addresses.size() > 1) {
        for (const std::string& text : options.addresses)
            addresses.push_back(Ipv4::Parse(text).value_or(Ipv4()));
        return addresses;
    }
    Ipv4 first = fallback;
    if (!options.addresses.empty())
        first = Ipv4::Parse(options.addresses[0]).value_or(fallback);
    int count = options.count > 0 ? options.count : 1;
    for (int i = 0; i < count; ++i)
        addresses.push_back(Ipv4(first.Value() + static_cast<uint32_t>(i)));
    return addresses;
}

std::string IncrementMac(const std::string& mac, unsigned by)
{
    // Six octets with separators alone: the result keeps their separator and case.
    std::optional<MacAddress> parsed = mac.size() == 17 ? ParseMac(mac) : std::nullopt;
    if (!parsed)
        return mac;
    uint64_t value = 0;
    for (uint8_t octet : *parsed)
        value = value << 8 | octet;
    value = (value + by) & 0xFFFFFFFFFFFFull;
    for (int i = 0; i < 6; ++i)
        (*parsed)[i] = static_cast<uint8_t>(value >> (40 - 8 * i));
    return MacText(*parsed, mac[2], mac.find_first_of("ABCDEF") != std::string::npos);
}

std::vector<SimDevice> MakeDevices(const SimOptions& options, const std::vector<Ipv4>& addresses)
{
    std::vector<SimDevice> devices;
    for (size_t i = 0; i < addresses.size(); ++i) {
        SimDevice d;
        d.address = addresses[i];
        std::string gateway = options.gateway;
        if (gateway.empty())
            gateway = Ipv4((addresses[i].Value() & 0xFFFFFF00u) | 1u).ToText();
        std::string hostname = options.hostname;
        if (addresses.size() > 1) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, "-%04zu", i + 1);
            hostname += suffix;
        }
        d.fields = DiscoveryFields { gateway, hostname, IncrementMac(options.mac, static_cast<unsigned>(i)),
            options.version, options.netmask, std::to_string(options.mode) };
        d.user = options.user;
        d.password = options.password;
        devices.push_back(d);
    }
    return devices;
}

bool IsDiscoveryRequest(std::string_view datagram)
{
    std::string_view request = wire::kDiscoveryRequest;
    return datagram == request || (datagram.size() == request.size() + 1 && datagram.starts_with(request)
                                      && datagram.back() == '\0');
}

std::vector<std::string> DiscoveryAnswer(const SimDevice& device, const SimOptions& options)
{
    std::vector<std::string> answer;
    if (options.malformed)
        answer = MalformedReplies();
    answer.insert(answer.end(), options.rawReplies.begin(), options.rawReplies.end());
    if (answer.empty())
        answer.push_back(BuildDiscoveryReply(device.fields));
    return answer;
}

std::vector<std::string> MalformedReplies()
{
    using namespace std::string_literals;
    std::vector<std::string> replies {
        "#198.18.0.1\0@nas\0x@02:00\0@1.0@\0@0@"s,     // NUL bytes inside fields
        "\0#@@@@@@"s,                                   // a NUL first
        "#"s + std::string(1000, '@'),                  // 1000 '@' in a row
        "#"s + std::string(99, '@'),                    // 100 bytes, all separators
        "#no separator at all"s,
        "#"s,
        "$"s,
    };
    // Every byte from 0x80 to 0xFF, 32 to a reply so each stays under 100 bytes.
    for (int start = 0x80; start <= 0xFF; start += 32) {
        std::string high;
        for (int b = start; b < start + 32; ++b)
            high += static_cast<char>(b);
        replies.push_back("#198.18.0.1@" + high + "@02:00:00:00:00:01@1.0@255.255.255.0@0@");
    }
    return replies;
}

ChangeDecision DecideChange(const SimDevice& device, const ChangeRequest& request, const SimOptions& options)
{
    ChangeDecision decision;
    decision.addressed = request.current == device.address.ToText();
    if (!decision.addressed)
        return decision;
    if (options.changeReply) {
        decision.reply = *options.changeReply;
        return decision;
    }
    if (request.user != device.user || request.password != device.password) {
        decision.reply = { wire::kChangeMark, wire::kStatusDenied };
        return decision;
    }
    std::optional<Ipv4> netmask = Ipv4::Parse(request.netmask);
    if (request.mode == AddressMode::Static
        && (!Ipv4::Parse(request.address) || !netmask || !netmask->PrefixLength())) {
        decision.reply = { wire::kChangeMark, '2' };
        return decision;
    }
    decision.reply = { wire::kChangeMark, wire::kStatusChanged };
    decision.apply = true;
    return decision;
}

void ApplyChangeFields(SimDevice& device, const ChangeRequest& request)
{
    if (request.mode != AddressMode::Static) {
        device.fields.mode = "1";
        return;
    }
    device.address = Ipv4::Parse(request.address).value_or(device.address);
    device.fields.gateway = request.gateway;
    device.fields.netmask = request.netmask;
    device.fields.mode = "0";
}
