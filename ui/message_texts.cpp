#include "message_texts.h"

#include "resources.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <vector>

namespace {

// Each text exactly as ops/operations.h and protocol/change_check.cpp write
// it, one line each; %1, %2 stand for the values they fill in.
constexpr const char* kMessages[] = {
    // The scan and the address change (text:: in operations.h).
    QT_TRANSLATE_NOOP("Resources", "Scan"),
    QT_TRANSLATE_NOOP("Resources", "Finished"),
    QT_TRANSLATE_NOOP("Resources", "Select the NAS to modify its IP address"),
    QT_TRANSLATE_NOOP("Resources", "Could not modify the IP address, please check the administrator name, "
                                   "password or the format of parameters"),
    QT_TRANSLATE_NOOP("Resources", "Success"),
    QT_TRANSLATE_NOOP("Resources", "Wrong user or password!"),
    QT_TRANSLATE_NOOP("Resources", "Could not modify the IP address!"),
    QT_TRANSLATE_NOOP("Resources", "Not set"),
    QT_TRANSLATE_NOOP("Resources", "Select Static IP or DHCP"),
    QT_TRANSLATE_NOOP("Resources", "Port 10001 is in use by another program; replies cannot be received."),
    QT_TRANSLATE_NOOP("Resources", "Replies cannot be received: %1"),
    QT_TRANSLATE_NOOP("Resources", "The request could not be sent: %1"),
    QT_TRANSLATE_NOOP("Resources", "Send the request anyway?"),
    // The checks before an address change (change_check.cpp).
    QT_TRANSLATE_NOOP("Resources", "The netmask \"%1\" is not an IPv4 address."),
    QT_TRANSLATE_NOOP("Resources", "The netmask 0.0.0.0 is not usable: it makes every address part of the subnet."),
    QT_TRANSLATE_NOOP("Resources", "The netmask 255.255.255.255 is not usable: it leaves no other host, "
                                   "not even the gateway, in the subnet."),
    QT_TRANSLATE_NOOP("Resources", "The netmask %1 is not contiguous: its one bits must all come first."),
    QT_TRANSLATE_NOOP("Resources", "The address \"%1\" is not an IPv4 address."),
    QT_TRANSLATE_NOOP("Resources", "The address 255.255.255.255 is the broadcast address."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is not usable: 0.x.x.x addresses mean \"this network\"."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is a loopback address: the device would reach only itself."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is a multicast address."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is the network address of the subnet %2."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is the broadcast address of the subnet %2."),
    QT_TRANSLATE_NOOP("Resources", "The gateway \"%1\" is not an IPv4 address."),
    QT_TRANSLATE_NOOP("Resources", "The gateway %1 is the new address itself."),
    QT_TRANSLATE_NOOP("Resources", "The gateway %1 is not a host of the subnet %2 of the new address."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is this computer's own address (%2)."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is already in use by the device with MAC address %2 "
                                   "that the last scan listed."),
    QT_TRANSLATE_NOOP("Resources", "The address %1 is already in use by the host with MAC address %2."),
    QT_TRANSLATE_NOOP("Resources", "Several devices answer at %1 (MAC addresses %2); "
                                   "a change request would change all of them."),
};

// Stands in a list of MAC addresses for a device that gave none.
constexpr const char* kNoneGiven = QT_TRANSLATE_NOOP("Resources", "(none given)");

struct Pattern {
    const char* source;
    QRegularExpression match;
};

const std::vector<Pattern>& Patterns()
{
    static const std::vector<Pattern> patterns = [] {
        std::vector<Pattern> list;
        static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
        for (const char* source : kMessages) {
            const QString text = QString::fromUtf8(source);
            QString expression;
            qsizetype from = 0;
            for (auto m = placeholder.globalMatch(text); m.hasNext();) {
                const auto hit = m.next();
                expression += QRegularExpression::escape(text.mid(from, hit.capturedStart() - from));
                expression += QStringLiteral("(.+)");
                from = hit.capturedEnd();
            }
            expression += QRegularExpression::escape(text.mid(from));
            list.push_back({source, QRegularExpression(QRegularExpression::anchoredPattern(expression))});
        }
        return list;
    }();
    return patterns;
}

QString Translate(const char* source)
{
    return QCoreApplication::translate(kAfxResourceContext, source);
}

// The line translated, or null when it is none of the known texts.
QString TranslateLine(const QString& line)
{
    for (const Pattern& pattern : Patterns()) {
        const auto m = pattern.match.match(line);
        if (!m.hasMatch())
            continue;
        const QString out = Translate(pattern.source);
        QStringList values = m.capturedTexts().mid(1);
        for (QString& value : values)
            value.replace(QLatin1String(kNoneGiven), Translate(kNoneGiven));
        // All values in one pass, so that a "%2" inside a value stays as it is.
        switch (values.size()) {
        case 0:
            return out;
        case 1:
            return out.arg(values[0]);
        default:
            return out.arg(values[0], values[1]);
        }
    }
    return QString();
}

} // namespace

QString TranslateMessage(const std::string& text)
{
    QStringList lines = QString::fromStdString(text).split(u'\n');
    for (QString& line : lines) {
        if (line.isEmpty())
            continue;
        QString translated = TranslateLine(line);
        if (!translated.isNull())
            line = translated;
    }
    return lines.join(u'\n');
}

bool IsKnownMessage(const std::string& text)
{
    const QStringList lines = QString::fromStdString(text).split(u'\n');
    for (const QString& line : lines) {
        if (!line.isEmpty() && TranslateLine(line).isNull())
            return false;
    }
    return true;
}
