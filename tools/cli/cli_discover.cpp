#include "cli_discover.h"

#include "device_record.h"

#include <algorithm>
#include <string_view>

namespace {

// Room for the largest bursts measured; beyond it the containers grow as usual.
constexpr size_t kExpectedDevices = 16384;

} // namespace

std::optional<DeviceReply> ReplyOf(const Datagram& d)
{
    return ParseDeviceReply(std::span<const char>(d.data, static_cast<size_t>(d.length)), d.sender.ToString(), d.ifindex);
}

bool Discover(CReplyChannel& channel, const std::vector<Route>& routes, int timeoutMs, int repeat,
    const DeviceTest& done, ScanResult& result, std::ostream& err)
{
    // Everything that can be made ready is, before the clock starts: replies
    // are under way as soon as the request leaves.
    const std::string request = BuildDiscoveryRequest();
    const std::vector<int> offsetsMs = RequestOffsetsMs(repeat, timeoutMs);
    result.devices.reserve(kExpectedDevices);
    result.listed.reserve(kExpectedDevices);
    result.arrivalNs.reserve(kExpectedDevices);
    result.listedNs.reserve(kExpectedDevices);
    CliDevice device;
    bool stop = false;
    auto take = [&](const Datagram& d) {
        auto reply = ReplyOf(d);
        if (!reply)
            return false;
        device.reply = std::move(*reply);
        // A device that answers every request is listed at its first reply.
        if (!result.listed.insert(ListingKey(device.reply)).second)
            return false;
        device.number = static_cast<int>(result.devices.size());
        device.interfaceName = channel.InterfaceName(d.ifindex);
        result.devices.push_back(std::move(device));
        result.arrivalNs.push_back(d.arrivalNs);
        result.listedNs.push_back(RealtimeNs());
        stop = done && done(result.devices.back());
        return stop;
    };

    int64_t cpuStart = CpuTimeNs();
    result.sentNs = RealtimeNs();
    int64_t start = MonotonicNs();
    int64_t deadline = start + static_cast<int64_t>(timeoutMs) * 1000000;
    Result<int> sent = channel.Send(routes, request);
    // Broadcast is not acknowledged: the request goes again at each offset,
    // with replies read in between. The timeout stays the scan's length.
    for (size_t next = 1; sent.Ok() && *sent > 0 && !stop; ++next) {
        bool more = next < offsetsMs.size();
        int64_t until = deadline;
        if (more)
            until = std::min(deadline, start + static_cast<int64_t>(offsetsMs[next]) * 1000000);
        channel.Collect(until, take);
        if (!more || stop || channel.Interrupted() || MonotonicNs() >= deadline)
            break;
        channel.Send(routes, request); // how each port took the request is told by the first sending
    }
    result.scanCpuNs = CpuTimeNs() - cpuStart;
    result.scanNs = MonotonicNs() - start;
    result.portsUsed = sent.Ok() ? *sent : 0;
    if (!sent.Ok())
        Complain(err, sent.Failure().Message());
    return result.portsUsed > 0;
}


void Complain(std::ostream& err, const std::string& lines)
{
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = lines.find('\n', start);
        end = end == std::string::npos ? lines.size() : end + 1;
        err << "orbisk-cli: " << std::string_view(lines).substr(start, end - start);
        start = end;
    }
    if (!lines.empty() && lines.back() != '\n')
        err << '\n';
}

bool PrepareNetwork(const SendPlan& plan, std::vector<Route>& routes, CReplyChannel& channel, std::ostream& err)
{
    Result<std::vector<Route>> planned = PlanRoutes(ToRoutePlan(plan));
    Status failed = planned.Ok() ? channel.Open() : planned.Failure();
    if (failed.Ok())
        routes = std::move(*planned);
    else
        err << "orbisk-cli: " << failed.Message() << '\n';
    return failed.Ok();
}

bool AwaitDevices(CReplyChannel& channel, const std::vector<Route>& routes, const std::vector<DeviceTest>& tests,
    int timeoutMs, std::vector<std::optional<CliDevice>>& found, std::ostream& err)
{
    found.assign(tests.size(), std::nullopt);
    int64_t deadline = MonotonicNs() + static_cast<int64_t>(timeoutMs) * 1000000;
    auto accept = [&](const CliDevice& device) {
        bool all = true;
        for (size_t i = 0; i < tests.size(); ++i) {
            if (!found[i] && tests[i](device))
                found[i] = device;
            all = all && found[i].has_value();
        }
        return all;
    };
    for (bool done = false; !done && !channel.Interrupted();) {
        int64_t left = (deadline - MonotonicNs()) / 1000000;
        if (left <= 0)
            break;
        ScanResult result;
        if (!Discover(channel, routes, static_cast<int>(std::min<int64_t>(left, kDefaultScanMs)), kDefaultRepeat,
                accept, result, err))
            return false;
        Remember(result.devices, err);
        done = std::all_of(found.begin(), found.end(), [](const auto& f) { return f.has_value(); });
    }
    return true;
}

std::string FormatDevices(std::vector<CliDevice> devices, OutputFormat format)
{
    for (size_t i = 0; i < devices.size(); ++i)
        devices[i].number = static_cast<int>(i);
    if (format == OutputFormat::Json)
        return FormatJson(devices);
    if (format == OutputFormat::Csv)
        return FormatCsv(devices);
    return devices.empty() ? std::string() : FormatTable(devices, false);
}
