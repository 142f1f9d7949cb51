#include "cli_commands.h"

#include "cli_command.h"

// The commands, in the order of the main usage text. A command is one entry
// here and the file of its own that makes it (cli_command.h).
CliCommand ScanCommand();
CliCommand SetIpCommand();
CliCommand KnownCommand();
CliCommand WakeCommand();
CliCommand WatchCommand();
CliCommand WaitCommand();

const std::vector<CliCommand>& Commands()
{
    static const std::vector<CliCommand> commands {
        ScanCommand(), SetIpCommand(), KnownCommand(), WakeCommand(), WatchCommand(), WaitCommand(),
    };
    return commands;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << MainUsage();
        return StatusUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        out << MainUsage();
        return StatusOk;
    }
    if (name == "--version") {
        out << "orbisk-cli " ORBISK_VERSION "\n";
        return StatusOk;
    }
    if (const CliCommand* command = FindCommand(name))
        return command->run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    err << "orbisk-cli: unknown command \"" << name << "\"\n\n" << MainUsage();
    return StatusUsage;
}
