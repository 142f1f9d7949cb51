// orbisk: finds NAS devices on the local network, lists them, opens their web
// pages and changes their IP configuration.

#include "scan_app.h"

CScanApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
