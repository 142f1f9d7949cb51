#pragma once

#include "udp_socket.h"

#include <string>

// The one process-wide socket on which device replies arrive (UDP port 10001).
extern CUdpSocket g_listener;

// Sends the text and its terminating NUL to 255.255.255.255:10000 from local
// port 10001 (or any port while 10001 is taken), then closes the socket.
// Returns 1 when sent; otherwise 0 and, with pError, the errno of the failure.
BOOL SendBroadcast(std::string text, int* pError = nullptr);

// (Re)opens g_listener bound to 0.0.0.0:10001. Returns 0, or the errno of the
// step that failed (EADDRINUSE when another program holds the port).
int OpenListener();

void CloseListener();
