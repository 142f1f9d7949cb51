#include "main_window_layout.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr char kWidth[] = "MainWindow/width";
constexpr char kHeight[] = "MainWindow/height";
constexpr char kMaximized[] = "MainWindow/maximized";
constexpr char kColumns[] = "MainWindow/columns";

// Anything larger is no size a screen has: the file is broken.
constexpr int kMostPixels = 16384;

// The whole number `value` holds, within [least, kMostPixels], else -1.
int Pixels(const QVariant& value, int least)
{
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok && n >= least && n <= kMostPixels ? n : -1;
}

} // namespace

QString MainWindowSettingsPath()
{
    // QStandardPaths reads XDG_CONFIG_HOME, and takes ~/.config without it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/orbisk/orbisk.conf");
}

void MainWindowLayout::Init(QWidget* window, QTreeWidget* list, std::span<const char* const> samples)
{
    m_window = window;
    m_list = list;
    m_templateSize = window->size();
    m_controls.clear();
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->property("ctrlId").isNull())
            m_controls.push_back({w, w->geometry()});
    }

    // Each column as wide as its heading or its widest text, padded as the
    // list pads a cell; the room left over is shared out, less the scroll
    // bar that rows beyond the list's height bring.
    list->ensurePolished();
    const int columns = std::min(list->columnCount(), static_cast<int>(samples.size()));
    const QFontMetrics metrics(list->font());
    const int padding = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    m_fittedWidths.clear();
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        const int text = metrics.horizontalAdvance(QString::fromUtf8(samples[c])) + padding;
        m_fittedWidths.push_back(std::max(list->header()->sectionSizeHint(c), text));
        total += m_fittedWidths.back();
    }
    const int room = list->contentsRect().width() - list->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columns; ++c) {
        if (room > total)
            m_fittedWidths[c] += (room - total) / columns;
        list->setColumnWidth(c, m_fittedWidths[c]);
    }

    // What the last run kept, where it makes sense; anything else leaves
    // the template's size and the fitted widths.
    const QSettings settings(MainWindowSettingsPath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return;
    const int width = Pixels(settings.value(kWidth), 1);
    const int height = Pixels(settings.value(kHeight), 1);
    if (width > 0 && height > 0) {
        QSize size(width, height);
        if (QScreen* screen = window->screen())
            size = size.boundedTo(screen->availableGeometry().size());
        window->resize(size.expandedTo(m_templateSize));
        if (settings.value(kMaximized).toString() == QLatin1String("true"))
            window->setWindowState(window->windowState() | Qt::WindowMaximized);
    }
    const QStringList saved = settings.value(kColumns).toStringList();
    std::vector<int> widths;
    for (const QString& text : saved) {
        const int w = Pixels(text, list->header()->minimumSectionSize());
        if (w < 0)
            return;
        widths.push_back(w);
    }
    if (static_cast<int>(widths.size()) != columns)
        return;
    for (int c = 0; c < columns; ++c)
        list->setColumnWidth(c, widths[c]);
}

void MainWindowLayout::Resize(QSize client)
{
    if (m_templateSize.isEmpty())
        return;
    const int dx = std::max(0, client.width() - m_templateSize.width());
    const int dy = std::max(0, client.height() - m_templateSize.height());
    for (const Placed& placed : m_controls) {
        if (placed.control == m_list) {
            placed.control->setGeometry(placed.rect.adjusted(0, 0, dx, dy));
        } else {
            // Its centre keeps its share of the width: the row stays spread as at the template's size.
            const int shift = placed.rect.center().x() * dx / m_templateSize.width();
            placed.control->move(placed.rect.topLeft() + QPoint(shift, dy));
        }
    }
}

std::vector<int> MainWindowLayout::ColumnWidths() const
{
    std::vector<int> widths;
    for (int c = 0; c < static_cast<int>(m_fittedWidths.size()); ++c)
        widths.push_back(m_list->columnWidth(c));
    return widths;
}

void MainWindowLayout::Save() const
{
    if (!m_window)
        return;
    QSettings settings(MainWindowSettingsPath(), QSettings::IniFormat);
    const bool maximized = m_window->isMaximized();
    const QSize size = maximized ? m_window->normalGeometry().size() : m_window->size();
    settings.setValue(kWidth, size.width());
    settings.setValue(kHeight, size.height());
    settings.setValue(kMaximized, maximized);
    const std::vector<int> widths = ColumnWidths();
    if (widths == m_fittedWidths) {
        settings.remove(kColumns);
        return;
    }
    QStringList texts;
    for (int w : widths)
        texts << QString::number(w);
    settings.setValue(kColumns, texts);
}
