#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void AfxSetClipboardText(const CString& text)
{
    // No application (a command line use): nothing to paste into anyway.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
