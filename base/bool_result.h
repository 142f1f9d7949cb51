#pragma once

// 1 or 0: what the dialog framework's calls and the socket object's return.
using BOOL = int;
