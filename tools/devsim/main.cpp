#include "devsim_options.h"
#include "simulator.h"

#include <cstdio>
#include <utility>

int main(int argc, char** argv)
{
    SimOptions options;
    std::string error;
    switch (ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    case ParseResult::Help:
        std::fputs(UsageText(), stdout);
        return 0;
    case ParseResult::Version:
        std::fputs("orbisk-devsim " ORBISK_VERSION "\n", stdout);
        return 0;
    case ParseResult::Error:
        std::fprintf(stderr, "orbisk-devsim: %s\nTry orbisk-devsim --help.\n", error.c_str());
        return 2;
    case ParseResult::Run:
        break;
    }
    CDeviceSimulator simulator(std::move(options));
    return simulator.Run();
}
