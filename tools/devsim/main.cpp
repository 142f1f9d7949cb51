#include "devsim_options.h"
#include "simulator.h"

#include <cstdio>
#include <utility>

int main(int argc, char** argv)
{
    Result<SimCommand> command = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!command.Ok()) {
        std::fprintf(stderr, "orbisk-devsim: %s\nTry orbisk-devsim --help.\n", command.Failure().Message().c_str());
        return 2;
    }
    switch (command->action) {
    case SimAction::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case SimAction::Version:
        std::fputs("orbisk-devsim " ORBISK_VERSION "\n", stdout);
        return 0;
    case SimAction::Run:
        break;
    }
    CDeviceSimulator simulator(std::move(command->options));
    return simulator.Run();
}
