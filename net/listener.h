#pragma once

#include "status.h"
#include "udp_socket.h"

#include <string>

// The one process-wide socket on which device replies arrive (UDP port 10001).
extern CUdpSocket g_listener;

// Sends the text and its terminating NUL to 255.255.255.255:10000 from local
// port 10001 (or any port while 10001 is taken) out of every network port, or
// out of port `ifindex` alone when it is not 0, then closes the socket.
// Returns 1 when at least one port took it; otherwise 0 and, with pError, the
// errno of the first failure.
BOOL SendBroadcast(std::string text, int* pError = nullptr, unsigned ifindex = 0);

// The same, failure as a Status: of the first port that refused, or of the
// socket when none took it.
Status BroadcastRequest(const std::string& text, unsigned ifindex = 0);

// Binds an open socket to 0.0.0.0:10001, without SO_REUSEADDR: another
// program holding the port shows as EADDRINUSE.
Status BindToolPort(CUdpSocket& socket);

// (Re)opens g_listener bound to 0.0.0.0:10001. Returns 0, or the errno of the
// step that failed (EADDRINUSE when another program holds the port).
int OpenListener();

void CloseListener();

// Takes one datagram from g_listener without waiting: its length, or -1 when
// none is queued or it was longer than `length`; its sender; the interface it
// arrived on (0 when unknown).
int ReceiveOnListener(void* buffer, int length, CSockAddr& sender, unsigned& ifindex);
