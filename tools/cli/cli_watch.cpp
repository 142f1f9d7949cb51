// orbisk-cli watch: scans on a fixed rhythm and tells what changed between
// scans, one line per event, until a stop signal or --count scans.

#include "cli_command.h"
#include "cli_discover.h"
#include "device_record.h"
#include "prom_textfile.h"

#include <signal.h>

#include <algorithm>
#include <map>

namespace {

constexpr int kDefaultWatchSeconds = 10;
constexpr int kDefaultMisses = 3;

struct WatchOptions {
    int intervalMs = kDefaultWatchSeconds * 1000;
    int count = 0;   // scans before it ends; 0: until a stop signal
    int misses = kDefaultMisses;
    bool json = false;
    std::string textfile; // --textfile: Prometheus metrics written there after every scan
    SendPlan plan;
    bool help = false;
};

std::vector<Option> WatchTable(WatchOptions& options, SharedOptions& shared)
{
    std::vector<Option> table {
        { "--interval", Takes::Value, ReadSeconds(options.intervalMs, 0.1, 86400), "SECONDS",
            "time from one scan to the next (default " + std::to_string(kDefaultWatchSeconds) + ")" },
        { "--count", Takes::Value, RangedNumber(options.count, 1, 1000000000, IsNot("a number")), "N",
            "stop after N scans" },
        { "--misses", Takes::Value, RangedNumber(options.misses, 1, 1000, IsNot("a number")), "N",
            "a device is gone after N scans in a row without it\n(default " + std::to_string(kDefaultMisses)
                + ", so one lost reply is no event)" },
        { "--json", Takes::Nothing, SetFlag(options.json), {}, "one JSON object per line" },
        { "--textfile", Takes::Value,
            [&options](std::string_view, const std::string& text) {
                options.textfile = text;
                return text.empty() ? BadUsage("--textfile needs a file name") : Status();
            },
            "FILE",
            "after every scan, replace FILE with the devices as\nPrometheus metrics (for the node exporter)" },
    };
    shared.AddPlan(table, options.plan);
    return table;
}

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

// The columns whose change is an event, in the order the lines give them.
constexpr int kWatched[] = { ColAddress, ColHostname, ColVersion, ColNetmask, ColGateway, ColMac, ColMode };

struct Change {
    std::string key, before, after;
};

std::vector<Change> Changes(const DeviceReply& before, const DeviceReply& after)
{
    std::vector<Change> changes;
    for (int column : kWatched) {
        std::string was = ColumnText(before, column), now = ColumnText(after, column);
        if (was != now)
            changes.push_back({ std::string(kColumnNames[column].key), was, now });
    }
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

// Every watched column but the MAC address, which names the device, then the interface.
std::string Fields(const CliDevice& device)
{
    std::string text;
    for (int column : kWatched) {
        if (column != ColMac)
            text += std::string(kColumnNames[column].key) + "=" + Value(ColumnText(device.reply, column)) + " ";
    }
    return text + "interface=" + Value(device.interfaceName);
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
            m_out << time << ' ' << event << ' ' << EscapeForTerminal(WatchName(device.reply)) << ' ' << text << '\n';
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
        now.emplace(RecordKey(device.reply), &device); // the first reply of a device heard on two ports
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

// The round's devices into the metrics, and the metrics into the file.
bool WriteMetrics(const std::string& path, const std::map<std::string, Watched>& watched, int64_t durationNs,
    CWatchMetrics& metrics, std::ostream& err)
{
    std::map<std::string, CWatchMetrics::Present> present;
    for (const auto& [key, known] : watched)
        present.emplace(key, CWatchMetrics::Present { &known.device, known.misses == 0 });
    metrics.Round(present, durationNs, RealtimeNs());
    if (Status status = WriteTextfile(path, metrics.Text()); !status.Ok()) {
        err << "orbisk-cli watch: " << status.Message() << "\n";
        return false;
    }
    return true;
}

int RunWatch(const WatchOptions& options, std::ostream& out, std::ostream& err)
{
    // A textfile that cannot be written is said at once, not after the first scan.
    if (!options.textfile.empty()) {
        if (Status status = CheckTextfile(options.textfile); !status.Ok()) {
            err << "orbisk-cli watch: " << status.Message() << "\n";
            return StatusNetwork;
        }
    }
    CStopSignals signals;
    std::vector<Route> routes;
    CReplyChannel channel;
    if (!PrepareNetwork(options.plan, routes, channel, err))
        return StatusNetwork;
    channel.StopOn(signals.WaitMask(), &g_stop);

    CEventWriter events(out, options.json);
    std::map<std::string, Watched> watched;
    CWatchMetrics metrics;
    // A scan as long as scan's, or the interval when that is shorter.
    const int scanMs = std::min(kDefaultScanMs, options.intervalMs);
    int64_t next = MonotonicNs();
    for (int done = 0; !channel.Interrupted() && (options.count == 0 || done < options.count); ++done) {
        int64_t started = MonotonicNs();
        ScanResult result;
        if (!Discover(channel, routes, scanMs, kDefaultRepeat, nullptr, result, err))
            return StatusNetwork;
        if (channel.Interrupted())
            break; // a scan cut short would count its silent devices as missed
        int64_t durationNs = MonotonicNs() - started;
        Compare(result.devices, watched, options.misses, events);
        Remember(result.devices, err);
        if (!options.textfile.empty() && !WriteMetrics(options.textfile, watched, durationNs, metrics, err))
            return StatusNetwork;
        // After a stall the rhythm starts again from now, with no burst of scans.
        next = std::max(next + static_cast<int64_t>(options.intervalMs) * 1000000, MonotonicNs());
        if (options.count != 0 && done + 1 == options.count)
            break;
        // Late replies between scans are read and left aside.
        channel.Collect(next, [](const Datagram&) { return false; });
    }
    return StatusOk;
}

} // namespace

CliCommand WatchCommand()
{
    return MakeCommand<WatchOptions>({ { "watch", "scan again and again and tell when devices appear, change or go",
        "Usage: orbisk-cli watch [--interval] [--count] [--misses] [--json]\n"
        "                        [--textfile] [--interface | --all-interfaces]\n"
        "                        [--target]...\n",
        "Scans every --interval seconds, as scan does, and prints a line when a device\n"
        "appears, when one of its fields changes (old and new value), and when it is\n"
        "gone. The first scan reports every device as appeared. Each line begins with\n"
        "the time (UTC) and is written at once. It runs until SIGINT or SIGTERM.\n"
        "With --textfile, after every scan FILE is replaced whole by the devices in\n"
        "Prometheus's text format (orbisk_device_up, orbisk_device_info, ...), for the\n"
        "node exporter's textfile collector; a device once seen stays listed, 0 when gone.\n",
        {},
        "Exit status: 0 stopped by a signal or after --count scans, 2 bad options,\n"
        "7 the network cannot be used or the --textfile could not be written.\n" },
        WatchTable, 0, nullptr, nullptr, RunWatch });
}
