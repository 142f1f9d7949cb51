#pragma once

// The program's resources: dialog templates 100, 102, 130 and 131, icon 128,
// strings 101 and 103.

#include "resources.h"

class QImage;

// Registers every resource with the framework; safe to call again.
void LoadOrbiskResources();

// The application icon, drawn at size x size pixels.
QImage PaintOrbiskIcon(int size);

extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kScanTemplate;
extern const DialogTemplate kAuthTemplate;
extern const DialogTemplate kSetupIpTemplate;
