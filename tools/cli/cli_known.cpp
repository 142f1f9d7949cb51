// orbisk-cli known: the devices heard before, newest first.

#include "cli_command.h"
#include "cli_discover.h"
#include "device_record.h"

namespace {

struct KnownOptions {
    OutputFormat format = OutputFormat::Table;
    bool forget = false;
    bool help = false;
};

std::vector<Option> KnownTable(KnownOptions& options, SharedOptions& shared)
{
    std::vector<Option> table;
    shared.AddFormats(table, options.format);
    table.push_back({ "--forget", Takes::Nothing, SetFlag(options.forget), {}, "forget every device, and list none" });
    return table;
}

int RunKnown(const KnownOptions& options, std::ostream& out, std::ostream& err)
{
    CDeviceRecord record;
    if (options.forget) {
        RecordProblem problem;
        Status saved = UpdateRecord(record.Path(), [](CDeviceRecord& all) { all.Clear(); }, problem);
        WarnOfRecord(problem, err);
        if (!saved.Ok()) {
            Complain(err, saved.Message());
            return StatusNetwork;
        }
    }
    record.Load();
    WarnOfRecord(record.Problem(), err);
    std::vector<CliDevice> devices = KnownRows(record.Newest());
    if (options.format == OutputFormat::Json)
        out << FormatJson(devices, true);
    else if (options.format == OutputFormat::Csv)
        out << FormatCsv(devices, true);
    else if (!devices.empty())
        out << FormatTable(devices, true, true);
    else if (!options.forget)
        err << "No device is remembered\n";
    return StatusOk;
}

} // namespace

void Remember(const std::vector<CliDevice>& heard, std::ostream& err)
{
    std::vector<HeardDevice> devices;
    for (const CliDevice& device : heard)
        devices.push_back({ device.reply, device.interfaceName });
    RecordProblem problem;
    Status saved = RecordHeard(devices, problem);
    WarnOfRecord(problem, err);
    if (!saved.Ok())
        err << "orbisk-cli: warning: the devices heard are not remembered: " << saved.Message() << '\n';
}

void WarnOfRecord(const RecordProblem& problem, std::ostream& err)
{
    if (problem.kind != RecordProblem::None)
        err << "orbisk-cli: warning: " << ProblemText(problem) << '\n';
}

std::vector<CliDevice> KnownRows(const std::vector<KnownDevice>& known)
{
    std::vector<CliDevice> rows;
    for (const KnownDevice& device : known) {
        rows.push_back({ .number = static_cast<int>(rows.size()), .reply = device.device.reply,
            .interfaceName = device.device.interfaceName,
            // A device added by hand in the desktop program was never heard.
            .lastSeen = device.lastSeenNs > 0 ? TimestampText(device.lastSeenNs) : "" });
    }
    return rows;
}

CliCommand KnownCommand()
{
    return MakeCommand<KnownOptions>({ { "known", "list the devices heard before, newest first",
        "Usage: orbisk-cli known [--json | --csv] [--forget]\n",
        "Lists the devices that scan, set-ip, watch, wait and wake --wait have heard,\n"
        "newest first, with when each was last heard (UTC). They are kept in\n"
        "$XDG_STATE_HOME/orbisk/devices (~/.local/state/orbisk/devices by default);\n"
        "ORBISK_NO_STATE=1 in the environment stops the recording.\n",
        {},
        "Exit status: 0, or 2 bad options, 7 the record could not be emptied.\n" },
        KnownTable, 0, nullptr, nullptr, RunKnown });
}
