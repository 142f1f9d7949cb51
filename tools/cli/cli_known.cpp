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
    record.Load(err);
    if (options->forget) {
        record.Clear();
        if (Status saved = record.Save(); !saved.Ok()) {
            Complain(err, saved.Message());
            return StatusNetwork;
        }
    }
    std::vector<CliDevice> devices;
    for (const KnownDevice& known : record.Newest())
        devices.push_back(known.device);
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
