#pragma once

// The language the desktop program speaks: Orbisk's translation (built into
// the program from ui/translations) and Qt's own (qtbase_*.qm of the Qt
// installation), for the first of the session's languages that Orbisk has.

#include <QString>
#include <QStringList>

// Replaces the installed translations by those of the first language in
// uiLanguages (as QLocale::uiLanguages() lists them) that Orbisk is
// translated to; English, or none of them, leaves every text English,
// silently. Returns the language installed ("de", "zh_TW", ...), or "" for
// English. Call before the first dialog is built.
QString InstallTranslations(const QStringList& uiLanguages);

// The language InstallTranslations installed last, "" for English.
QString InstalledLanguage();

// The languages Orbisk is translated to, as their .ts files name them.
QStringList TranslatedLanguages();
