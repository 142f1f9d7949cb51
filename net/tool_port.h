#pragma once

// The desktop program's tool port: the one process-wide socket that a scan
// and an address change share, and the operations they call it by. Each is
// a thin name over the reply channel (reply_channel.h), which orbisk-cli
// uses as it is.

#include "status.h"
#include "udp_socket.h"

#include <string>

class CReplyChannel;

// The one process-wide socket on which device replies arrive (UDP port 10001),
// and the reply channel that binds, sends from and reads it.
extern CUdpSocket g_listener;
extern CReplyChannel g_replies;

// Sends the text and its terminating NUL to 255.255.255.255:10000 out of
// every network port, or out of port `ifindex` alone when it is not 0. It
// leaves from local port 10001: from g_listener's own socket when that holds
// the port (the listener stays open), otherwise from a socket of its own,
// closed again (from any port while another program holds 10001).
// Returns 1 when at least one port took it; otherwise 0 and, with pError, the
// errno of the first failure.
BOOL SendBroadcast(std::string text, int* pError = nullptr, unsigned ifindex = 0);

// The same, failure as a Status: of the first port that refused, or of the
// socket when none took it.
Status BroadcastRequest(const std::string& text, unsigned ifindex = 0);

// Binds an open socket to 0.0.0.0:10001, without SO_REUSEADDR: another
// program holding the port shows as EADDRINUSE.
Status BindToolPort(CUdpSocket& socket);

// Opens g_listener through g_replies (CReplyChannel::Open): bound to
// 0.0.0.0:10001 with a deep queue; one that holds the port already is kept,
// with the replies queued on it. Returns 0, or the errno of the step that
// failed (EADDRINUSE when another program holds the port for 200 ms).
int OpenListener();

// Closes g_listener; whatever it had taken and not handed is dropped.
void CloseListener();

// Takes one datagram from g_replies without waiting: its length, or -1 when
// none is ready or it was longer than `length`; its sender; the interface it
// arrived on (0 when unknown).
int ReceiveOnListener(void* buffer, int length, CSockAddr& sender, unsigned& ifindex);
