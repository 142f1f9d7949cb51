// orbisk-cli watch: scans on a fixed rhythm and tells what changed between
// scans, one line per event, until a stop signal or --count scans.

#include "cli_scan.h"
#include "device_record.h"

#include <signal.h>

#include <algorithm>
#include <map>

namespace {

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int)
{
    g_stop = 1;
}

// SIGINT and SIGTERM set g_stop while this lives. They stay blocked except
// inside the channel's wait (ppoll), so one that arrives between the check
// of the flag and the wait is not lost: the wait returns at once.
class CStopSignals {
public:
    CStopSignals()
    {
        g_stop = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        sigprocmask(SIG_BLOCK, &stops, &m_oldMask);
        m_waitMask = m_oldMask;
        sigdelset(&m_waitMask, SIGINT);
        sigdelset(&m_waitMask, SIGTERM);
    }
    ~CStopSignals()
    {
        sigprocmask(SIG_SETMASK, &m_oldMask, nullptr);
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
    }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    const sigset_t* WaitMask() const { return &m_waitMask; }

private:
    struct sigaction m_oldInt {}, m_oldTerm {};
    sigset_t m_oldMask {}, m_waitMask {};
};

struct Field {
    const char* key;
    std::string DeviceReply::*member;
};

// The fields whose change is an event; the mode is compared as text.
const Field kFields[] = {
    { "address", &DeviceReply::sender }, { "hostname", &DeviceReply::hostname },
    { "version", &DeviceReply::version }, { "netmask", &DeviceReply::netmask },
    { "gateway", &DeviceReply::gateway }, { "mac", &DeviceReply::mac },
};

struct Change {
    std::string key, before, after;
};

std::vector<Change> Changes(const DeviceReply& before, const DeviceReply& after)
{
    std::vector<Change> changes;
    for (const Field& field : kFields) {
        if (before.*field.member != after.*field.member)
            changes.push_back({ field.key, before.*field.member, after.*field.member });
    }
    if (before.mode != after.mode)
        changes.push_back({ "mode", ModeText(before.mode), ModeText(after.mode) });
    return changes;
}

// A value on a text line: escaped for the terminal, and quoted when a blank,
// a quote, '=' or an arrow would make the line ambiguous.
std::string Value(const std::string& text)
{
    std::string escaped = EscapeForTerminal(text);
    bool quote = escaped.empty() || escaped.find_first_of(" \"=") != std::string::npos
        || escaped.find("->") != std::string::npos;
    if (!quote)
        return escaped;
    std::string quoted = "\"";
    for (char c : escaped)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Name(const CliDevice& device)
{
    return EscapeForTerminal(device.reply.mac.empty() ? device.reply.sender : device.reply.mac);
}

std::string Fields(const CliDevice& device)
{
    const DeviceReply& r = device.reply;
    return "address=" + Value(r.sender) + " hostname=" + Value(r.hostname) + " version=" + Value(r.version)
        + " netmask=" + Value(r.netmask) + " gateway=" + Value(r.gateway) + " mode=" + Value(ModeText(r.mode))
        + " interface=" + Value(device.interfaceName);
}

class CEventWriter {
public:
    CEventWriter(std::ostream& out, bool json) : m_out(out), m_json(json) {}

    void Appeared(const CliDevice& device) { Write("appeared", device, Fields(device), {}); }
    void Gone(const CliDevice& device) { Write("gone", device, Fields(device), {}); }
    void Changed(const CliDevice& device, const std::vector<Change>& changes)
    {
        std::string text, json;
        for (const Change& c : changes) {
            text += (text.empty() ? "" : " ") + c.key + "=" + Value(c.before) + "->" + Value(c.after);
            json += std::string(json.empty() ? "" : ", ") + JsonString(c.key) + ": {\"old\": " + JsonString(c.before)
                + ", \"new\": " + JsonString(c.after) + "}";
        }
        Write("changed", device, text, ", \"changes\": {" + json + "}");
    }

private:
    // One line, flushed, so that a pipe sees each event as it happens.
    void Write(const char* event, const CliDevice& device, const std::string& text, const std::string& moreJson)
    {
        std::string time = TimestampText(RealtimeNs(), true);
        if (m_json)
            m_out << "{\"time\": \"" << time << "\", \"event\": \"" << event << "\", \"device\": "
                  << JsonObject(device, false) << moreJson << "}\n";
        else
            m_out << time << ' ' << event << ' ' << Name(device) << ' ' << text << '\n';
        m_out.flush();
    }

    std::ostream& m_out;
    bool m_json;
};

struct Watched {
    CliDevice device; // as last heard
    int misses = 0;   // scans in a row without it
};

// Compares one scan with what was known: appeared, changed, gone.
void Compare(const std::vector<CliDevice>& heard, std::map<std::string, Watched>& watched, int misses,
    CEventWriter& events)
{
    std::map<std::string, const CliDevice*> now;
    for (const CliDevice& device : heard)
        now.emplace(DeviceKey(device.reply), &device); // the first reply of a device heard on two ports
    for (const auto& [key, device] : now) {
        auto known = watched.find(key);
        if (known == watched.end()) {
            watched[key] = { *device, 0 };
            events.Appeared(*device);
            continue;
        }
        if (std::vector<Change> changes = Changes(known->second.device.reply, device->reply); !changes.empty())
            events.Changed(*device, changes);
        known->second = { *device, 0 };
    }
    for (auto it = watched.begin(); it != watched.end();) {
        if (!now.contains(it->first) && ++it->second.misses >= misses) {
            events.Gone(it->second.device);
            it = watched.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

int RunWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Result<WatchOptions> parsed = ParseWatchOptions(args);
    if (!parsed.Ok()) {
        err << "orbisk-cli watch: " << parsed.Failure().Message() << "\n" << Synopsis(WatchUsage(), "watch");
        return StatusUsage;
    }
    const WatchOptions& options = *parsed;
    if (options.help) {
        out << WatchUsage();
        return StatusOk;
    }
    CStopSignals signals;
    std::vector<Route> routes;
    CReplyChannel channel;
    if (!PrepareNetwork(options.plan, routes, channel, err))
        return StatusNetwork;
    channel.StopOn(signals.WaitMask(), &g_stop);

    CEventWriter events(out, options.json);
    std::map<std::string, Watched> watched;
    // A scan as long as scan's, or the interval when that is shorter.
    const int scanMs = std::min(kDefaultScanMs, options.intervalMs);
    int64_t next = MonotonicNs();
    for (int done = 0; !channel.Interrupted() && (options.count == 0 || done < options.count); ++done) {
        ScanResult result;
        if (!Discover(channel, routes, scanMs, kDefaultRepeat, nullptr, result, err))
            return StatusNetwork;
        if (channel.Interrupted())
            break; // a scan cut short would count its silent devices as missed
        Compare(result.devices, watched, options.misses, events);
        Remember(result.devices, err);
        // After a stall the rhythm starts again from now, with no burst of scans.
        next = std::max(next + static_cast<int64_t>(options.intervalMs) * 1000000, MonotonicNs());
        if (options.count != 0 && done + 1 == options.count)
            break;
        // Late replies between scans are read and left aside.
        channel.Collect(next, [](const Datagram&) { return false; });
    }
    return StatusOk;
}
