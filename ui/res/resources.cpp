#include "orbisk_resources.h"

#include "afxids.h"
#include "language.h"
#include "control_ids.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

void LoadOrbiskResources()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    AfxRegisterDialogTemplate(kAboutTemplate);
    AfxRegisterDialogTemplate(kScanTemplate);
    AfxRegisterDialogTemplate(kAuthTemplate);
    AfxRegisterDialogTemplate(kSetupIpTemplate);
    AfxRegisterDialogTemplate(kRememberedTemplate);
    AfxRegisterDialogTemplate(kAddDeviceTemplate);
    AfxRegisterIcon(IDR_MAINFRAME, [] {
        QIcon icon;
        for (int size : {16, 24, 32, 48, 64, 128})
            icon.addPixmap(QPixmap::fromImage(PaintOrbiskIcon(size)));
        return icon;
    });
    AfxRegisterFontFallbacks(OrbiskFontFallbacks(InstalledLanguage()));
    AfxRegisterString(AFX_IDS_APP_TITLE, "Orbisk");
    AfxRegisterString(IDS_ABOUTBOX, QT_TRANSLATE_NOOP("Resources", "About Orbisk(&A)..."));
    AfxRegisterString(IDS_SOCKETS_INIT_FAILED, QT_TRANSLATE_NOOP("Resources", "Communication port initialization failure"));
    // "&" marks each entry's mnemonic; a screen reader reads the text without it.
    AfxRegisterString(ID_DEVICE_OPEN_PAGE, QT_TRANSLATE_NOOP("Resources", "Open &Web Page"));
    AfxRegisterString(ID_DEVICE_OPEN_SHARES, QT_TRANSLATE_NOOP("Resources", "Open Shared &Folders"));
    AfxRegisterString(ID_DEVICE_COPY_ADDRESS, QT_TRANSLATE_NOOP("Resources", "Copy &IP Address"));
    AfxRegisterString(ID_DEVICE_COPY_MAC, QT_TRANSLATE_NOOP("Resources", "Copy &MAC Address"));
    AfxRegisterString(ID_DEVICE_COPY_ROW, QT_TRANSLATE_NOOP("Resources", "Copy &Row"));
    AfxRegisterString(ID_DEVICE_COPY_ALL, QT_TRANSLATE_NOOP("Resources", "Copy &All Rows"));
    AfxRegisterString(ID_DEVICE_SETUP_IP, QT_TRANSLATE_NOOP("Resources", "&Setup IP..."));
    AfxRegisterString(ID_REMEMBERED, QT_TRANSLATE_NOOP("Resources", "Remembered &Devices..."));
}

QStringList OrbiskFontFallbacks(const QString& language)
{
    // Noto's face for the reader's own script first: Japan, Korea, Taiwan and
    // China draw many of the same characters differently, at the same width.
    QString noto = QStringLiteral("Noto Sans CJK SC");
    if (language.startsWith(QLatin1String("ja")))
        noto = QStringLiteral("Noto Sans CJK JP");
    else if (language.startsWith(QLatin1String("ko")))
        noto = QStringLiteral("Noto Sans CJK KR");
    else if (language == QLatin1String("zh_TW"))
        noto = QStringLiteral("Noto Sans CJK TC");
    // The templates' face where the desktop has it; else the CJK faces of the
    // distribution, which also cover Latin text, so every dialog's script
    // renders in one face.
    return {QStringLiteral("SimSun"), noto, QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
            QStringLiteral("AR PL UMing CN"), QStringLiteral("Droid Sans Fallback")};
}

// A storage box seen from the front, three drive bays with their lights, and
// radar arcs going out from its top right corner.
QImage PaintOrbiskIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);

    // Radar arcs behind the box.
    QPointF centre(84, 44);
    for (int i = 0; i < 3; ++i) {
        double r = 15 + i * 11;
        QPen pen(QColor(40, 170, 120, 255 - i * 60), 6, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -10 * 16, 110 * 16);
    }

    // The box.
    QRectF body(14, 40, 78, 78);
    QLinearGradient shade(body.topLeft(), body.bottomRight());
    shade.setColorAt(0, QColor(74, 88, 110));
    shade.setColorAt(1, QColor(36, 44, 60));
    p.setPen(QPen(QColor(22, 28, 40), 2));
    p.setBrush(shade);
    p.drawRoundedRect(body, 9, 9);

    // Drive bays with a light each.
    for (int i = 0; i < 3; ++i) {
        QRectF bay(22, 50 + i * 21, 62, 15);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 25, 35));
        p.drawRoundedRect(bay, 3, 3);
        p.setBrush(QColor(160, 170, 185));
        p.drawRect(QRectF(bay.left() + 6, bay.center().y() - 1.5, 34, 3));
        p.setBrush(i == 0 ? QColor(60, 220, 140) : QColor(60, 160, 230));
        p.drawEllipse(QPointF(bay.right() - 9, bay.center().y()), 3.5, 3.5);
    }

    // The radar's source point.
    p.setBrush(QColor(60, 220, 140));
    p.setPen(QPen(QColor(22, 28, 40), 2));
    p.drawEllipse(centre, 6, 6);
    return image;
}
