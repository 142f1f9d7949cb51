#pragma once

// The main window's shape. The device list takes whatever the window gains
// over its template size; the other controls (the button row) keep their
// distance to the bottom and their share of the width. The columns fit their
// headings and the widest text each is made for, so that all of them show at
// the template's size in every language and at every dpi. The window's size
// and the column widths the user set are kept for the next start.

#include <QRect>
#include <QSize>
#include <QString>

#include <span>
#include <vector>

class QTreeWidget;
class QWidget;

class MainWindowLayout {
public:
    // Before the window shows, with the controls at their template places
    // and the list's columns inserted; `samples` holds each column's widest
    // text. Fits the columns, then takes back what the last run kept.
    void Init(QWidget* window, QTreeWidget* list, std::span<const char* const> samples);
    // Places the controls for the window's client size.
    void Resize(QSize client);
    // Keeps the window's size, and the column widths when the user changed
    // them (fitted ones follow the language and dpi of each start). A file
    // that cannot be written is let be.
    void Save() const;

private:
    std::vector<int> ColumnWidths() const;

    struct Placed {
        QWidget* control;
        QRect rect;   // at the template's size
    };
    QWidget* m_window = nullptr;
    QTreeWidget* m_list = nullptr;
    QSize m_templateSize;
    std::vector<Placed> m_controls;
    std::vector<int> m_fittedWidths;
};

// $XDG_CONFIG_HOME/orbisk/orbisk.conf, ~/.config/orbisk/orbisk.conf when unset.
QString MainWindowSettingsPath();
