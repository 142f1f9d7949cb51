#pragma once

// The socket side of orbisk-cli: the reply channel of net/, and the send
// options turned into its routes.

#include "cli_options.h"
#include "reply_channel.h"

// The net routes of a send plan: its --target texts as addresses.
RoutePlan ToRoutePlan(const SendPlan& plan);
