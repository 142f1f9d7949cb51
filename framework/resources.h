#pragma once

// Resources: dialog templates as data, icons and strings, looked up by id.
// A program registers its resources once at start; DoModal, LoadIcon and
// CString::LoadString read them.
//
// Positions and sizes in a template are dialog units, which scale with the
// template font: one horizontal unit is a quarter of the font's average
// character width, one vertical unit an eighth of its height.

#include "afxtypes.h"

#include <QFont>
#include <QIcon>
#include <QStringList>

#include <functional>
#include <span>

struct DialogItemTemplate {
    int id;             // -1 for controls that are never addressed
    const char* cls;    // "Button", "Static", "Edit", "SysListView32", "SysIPAddress32"
    const char* text;   // an icon static names its icon as "#<id>"
    DWORD style;
    short x, y, cx, cy; // dialog units
};

// What a screen reader reads for a control that its own text does not name
// (an edit, an IP-address control, a list), and which texts it announces.
// Kept beside a template so that the template's texts, sizes and order stay
// as stored.
enum class AccessKind {
    LabelledBy,    // the template's static showing `text` labels the control
    Named,         // `text` names the control without being shown
    AnnouncesText, // a status line: each new text is announced
};

struct ControlAccess {
    int id;
    AccessKind kind;
    const char* text;
};

struct DialogTemplate {
    int id;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy; // client area, dialog units
    const char* fontFace;
    int pointSize;
    std::span<const DialogItemTemplate> items;
    std::span<const ControlAccess> access;
};

void AfxRegisterDialogTemplate(const DialogTemplate& dialog);
const DialogTemplate* AfxFindDialogTemplate(int id);

// The icon is made on first use (a QGuiApplication must exist by then).
void AfxRegisterIcon(int id, std::function<QIcon()> make);
HICON LoadIcon(int id);

void AfxRegisterString(int id, const char* text);
// The registered text as registered, or null.
const char* AfxFindString(int id);

// Template captions, control texts, accessible names and string resources are
// source texts: the framework shows them through Qt's translators, in this
// context, where it builds a dialog and in CString::LoadString. A program
// marks them with QT_TRANSLATE_NOOP("Resources", ...) for lupdate.
inline constexpr char kAfxResourceContext[] = "Resources";
// The text in the installed translation, else the text itself; null gives "".
QString AfxTranslateResource(const char* text);

// Dialog base units of a font: average character width and height in pixels.
struct DialogBaseUnits {
    int cx;
    int cy;
};
DialogBaseUnits AfxGetDialogBaseUnits(const QFont& font);
// MulDiv-style rounding, as dialog managers convert units.
int AfxDialogUnitsToPixelsX(int du, const DialogBaseUnits& base);
int AfxDialogUnitsToPixelsY(int du, const DialogBaseUnits& base);

// The faces, in order, that stand in for a template face missing on this
// machine; the program picks them for the scripts of its dialogs.
void AfxRegisterFontFallbacks(const QStringList& families);
// The template font: the template's face, else the registered fallbacks.
QFont AfxTemplateFont(const char* face, int pointSize);
