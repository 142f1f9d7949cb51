// orbisk: finds NAS devices on the local network, lists them, opens their web
// pages and changes their IP configuration.

#include "scan_app.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

CScanApp theApp;

namespace {

constexpr const char* kHelp =
    "Usage: orbisk [--help | --version]\n"
    "\n"
    "Finds the NAS devices of the local network with one UDP broadcast, lists\n"
    "them, opens a device's web page and changes a device's IP configuration.\n"
    "Replies arrive on UDP port 10001: a firewall must let them in\n"
    "(sudo ufw allow Orbisk, or sudo firewall-cmd --permanent --add-service=orbisk).\n"
    "\n"
    "  -h, --help     this text\n"
    "  -v, --version  the program's version\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted as well.\n"
    "See orbisk(1) and orbisk-cli(1).\n";

} // namespace

int main(int argc, char** argv)
{
    // Read before the window system is touched, so these work without a display.
    // Other options are left to Qt, which knows its own.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    QCommandLineOption help({ "h", "help" }, "this text");
    QCommandLineOption version({ "v", "version" }, "the program's version");
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(args);
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("orbisk " ORBISK_VERSION "\n", stdout);
        return 0;
    }
    return AfxWinMain(argc, argv);
}
