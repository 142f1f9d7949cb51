#pragma once

// The program's resources: dialog templates 100, 102, 130 and 131, icon 128,
// strings 101 and 103, the program's name and the template font's fallbacks.

#include "resources.h"

class QImage;

// Registers every resource with the framework, once at start before any
// dialog is built; safe to call again.
void LoadOrbiskResources();

// The faces that stand in for the templates' face, for a language as
// InstallTranslations names it ("" for English).
QStringList OrbiskFontFallbacks(const QString& language);

// The application icon, drawn at size x size pixels.
QImage PaintOrbiskIcon(int size);

extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kScanTemplate;
extern const DialogTemplate kAuthTemplate;
extern const DialogTemplate kSetupIpTemplate;
