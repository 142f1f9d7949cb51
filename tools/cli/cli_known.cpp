// orbisk-cli known: the devices heard before, newest first.

#include "cli_command.h"
#include "cli_scan.h"
#include "cli_state.h"

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
    record.Load(err);
    if (options.forget) {
        record.Clear();
        if (Status saved = record.Save(); !saved.Ok()) {
            Complain(err, saved.Message());
            return StatusNetwork;
        }
    }
    std::vector<CliDevice> devices;
    for (const KnownDevice& known : record.Newest())
        devices.push_back(known.device);
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
