// orbisk-cli known: the devices heard before, newest first.

#include "cli_scan.h"
#include "device_record.h"

int RunKnown(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Result<KnownOptions> options = ParseKnownOptions(args);
    if (!options.Ok()) {
        err << "orbisk-cli known: " << options.Failure().Message() << "\n" << Synopsis(KnownUsage(), "known");
        return StatusUsage;
    }
    if (options->help) {
        out << KnownUsage();
        return StatusOk;
    }
    CDeviceRecord record;
    if (options->forget) {
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
    if (options->format == OutputFormat::Json)
        out << FormatJson(devices, true);
    else if (options->format == OutputFormat::Csv)
        out << FormatCsv(devices, true);
    else if (!devices.empty())
        out << FormatTable(devices, true, true);
    else if (!options->forget)
        err << "No device is remembered\n";
    return StatusOk;
}

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
