#pragma once

#include "afxtypes.h"

// Puts UTF-8 text on the desktop's clipboard, for pasting in another program.
void AfxSetClipboardText(const CString& text);
