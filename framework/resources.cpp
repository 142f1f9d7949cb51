#include "resources.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>

#include <map>
#include <memory>

namespace {

struct Registry {
    std::map<int, const DialogTemplate*> dialogs;
    std::map<int, std::function<QIcon()>> iconMakers;
    std::map<int, std::unique_ptr<QIcon>> icons;
    std::map<int, const char*> strings;
    QStringList fontFallbacks;
};

Registry& Resources()
{
    static Registry registry;
    return registry;
}

// Rounds like MulDiv: a * b / c to the nearest integer, halves away from 0.
int MulDiv(int a, int b, int c)
{
    long long p = static_cast<long long>(a) * b;
    long long q = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
    return static_cast<int>(q);
}

} // namespace

void AfxRegisterDialogTemplate(const DialogTemplate& dialog)
{
    Resources().dialogs[dialog.id] = &dialog;
}

const DialogTemplate* AfxFindDialogTemplate(int id)
{
    auto& dialogs = Resources().dialogs;
    auto it = dialogs.find(id);
    return it == dialogs.end() ? nullptr : it->second;
}

void AfxRegisterIcon(int id, std::function<QIcon()> make)
{
    Resources().iconMakers[id] = std::move(make);
    Resources().icons.erase(id);
}

HICON LoadIcon(int id)
{
    Registry& r = Resources();
    auto it = r.icons.find(id);
    if (it != r.icons.end())
        return it->second.get();
    auto maker = r.iconMakers.find(id);
    if (maker == r.iconMakers.end())
        return nullptr;
    auto icon = std::make_unique<QIcon>(maker->second());
    HICON h = icon.get();
    r.icons[id] = std::move(icon);
    return h;
}

void AfxRegisterString(int id, const char* text)
{
    Resources().strings[id] = text;
}

const char* AfxFindString(int id)
{
    auto& strings = Resources().strings;
    auto it = strings.find(id);
    return it == strings.end() ? nullptr : it->second;
}

QString AfxTranslateResource(const char* text)
{
    if (!text || !*text)
        return QString();
    return QCoreApplication::translate(kAfxResourceContext, text);
}

BOOL CString::LoadString(UINT id)
{
    const char* text = AfxFindString(static_cast<int>(id));
    if (!text) {
        clear();
        return FALSE;
    }
    assign(AfxTranslateResource(text).toStdString());
    return TRUE;
}

DialogBaseUnits AfxGetDialogBaseUnits(const QFont& font)
{
    QFontMetrics fm(font);
    // The average width of the 52 Latin letters, rounded, as dialog managers
    // measure a dialog font; the height is the font's cell height.
    int total = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(total / 26 + 1) / 2, fm.height()};
}

int AfxDialogUnitsToPixelsX(int du, const DialogBaseUnits& base)
{
    return MulDiv(du, base.cx, 4);
}

int AfxDialogUnitsToPixelsY(int du, const DialogBaseUnits& base)
{
    return MulDiv(du, base.cy, 8);
}

void AfxRegisterFontFallbacks(const QStringList& families)
{
    Resources().fontFallbacks = families;
}

QFont AfxTemplateFont(const char* face, int pointSize)
{
    QFont font;
    font.setFamilies(QStringList{QString::fromUtf8(face)} + Resources().fontFallbacks);
    font.setPointSize(pointSize);
    return font;
}
