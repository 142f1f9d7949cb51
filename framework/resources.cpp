#include "resources.h"

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

BOOL CString::LoadString(UINT id)
{
    auto& strings = Resources().strings;
    auto it = strings.find(static_cast<int>(id));
    if (it == strings.end() || !it->second) {
        clear();
        return FALSE;
    }
    assign(it->second);
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

QFont AfxTemplateFont(const char* face, int pointSize)
{
    QFont font;
    QStringList families{QString::fromUtf8(face)};
    // The template's face where the desktop has it; else the CJK faces of
    // the distribution, which also cover Latin text.
    for (const char* fallback : {"SimSun", "Noto Sans CJK SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                                 "AR PL UMing CN", "Droid Sans Fallback"}) {
        families << QString::fromLatin1(fallback);
    }
    font.setFamilies(families);
    font.setPointSize(pointSize);
    return font;
}
