#include "language.h"

#include "orbisk_resources.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// Where the build puts the .qm files among the program's resources.
constexpr char kQmDirectory[] = ":/i18n";

struct Installed {
    std::unique_ptr<QTranslator> own;
    std::unique_ptr<QTranslator> qt;
    QString language;
};

Installed& Current()
{
    static Installed installed;
    return installed;
}

void Uninstall()
{
    Installed& current = Current();
    for (QTranslator* t : {current.own.get(), current.qt.get()}) {
        if (t)
            QCoreApplication::removeTranslator(t);
    }
    current = {};
}

} // namespace

QString InstallTranslations(const QStringList& uiLanguages)
{
    Uninstall();
    Installed& current = Current();
    for (const QString& name : uiLanguages) {
        const QLocale locale(name);
        // English is the source language: an English entry ahead of the
        // others means English, not the next language in the list.
        if (locale.language() == QLocale::English)
            break;
        if (locale.language() == QLocale::C)
            continue;
        auto own = std::make_unique<QTranslator>();
        if (!own->load(locale, QStringLiteral("orbisk"), QStringLiteral("_"), QString::fromLatin1(kQmDirectory)))
            continue;
        current.language = own->language();
        QCoreApplication::installTranslator(own.get());
        current.own = std::move(own);
        // Qt's own texts (Yes, No, the edit menus) where the Qt installation
        // has them; without them those few stay English.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            current.qt = std::move(qt);
        }
        break;
    }
    AfxRegisterFontFallbacks(OrbiskFontFallbacks(current.language));
    return current.language;
}

QString InstalledLanguage()
{
    return Current().language;
}

QStringList TranslatedLanguages()
{
    QStringList languages;
    QDirIterator it(QString::fromLatin1(kQmDirectory), {QStringLiteral("orbisk_*.qm")});
    while (it.hasNext()) {
        QString file = it.next().section(u'/', -1);
        languages << file.mid(7, file.size() - 7 - 3);
    }
    languages.sort();
    return languages;
}
