#include "orbisk_resources.h"

#include "afxids.h"
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
    AfxRegisterIcon(IDR_MAINFRAME, [] {
        QIcon icon;
        for (int size : {16, 24, 32, 48, 64, 128})
            icon.addPixmap(QPixmap::fromImage(PaintOrbiskIcon(size)));
        return icon;
    });
    // The templates' face where the desktop has it; else the CJK faces of the
    // distribution, which also cover Latin text, so every dialog's script
    // renders in one face.
    AfxRegisterFontFallbacks({"SimSun", "Noto Sans CJK SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                              "AR PL UMing CN", "Droid Sans Fallback"});
    AfxRegisterString(AFX_IDS_APP_TITLE, "Orbisk");
    AfxRegisterString(IDS_ABOUTBOX, "About Orbisk(&A)...");
    AfxRegisterString(IDS_SOCKETS_INIT_FAILED, "Communication port initialization failure");
    // "&" marks each entry's mnemonic; a screen reader reads the text without it.
    AfxRegisterString(ID_DEVICE_OPEN_PAGE, "Open &Web Page");
    AfxRegisterString(ID_DEVICE_OPEN_SHARES, "Open Shared &Folders");
    AfxRegisterString(ID_DEVICE_COPY_ADDRESS, "Copy &IP Address");
    AfxRegisterString(ID_DEVICE_COPY_MAC, "Copy &MAC Address");
    AfxRegisterString(ID_DEVICE_COPY_ROW, "Copy &Row");
    AfxRegisterString(ID_DEVICE_COPY_ALL, "Copy &All Rows");
    AfxRegisterString(ID_DEVICE_SETUP_IP, "&Setup IP...");
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
