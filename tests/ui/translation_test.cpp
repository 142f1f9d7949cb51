// Every language Orbisk is translated to, offscreen: each window, status
// text and message reads in that language, with no English text of the
// program's own left (names and addresses aside), and every text fits its
// control in the dialog's font for that language, and the main window shows
// all its columns.

#include "about_box.h"
#include "auth_dlg.h"
#include "change_check.h"
#include "control_ids.h"
#include "dialog_helpers.h"
#include "language.h"
#include "message_texts.h"
#include "operations.h"
#include "orbisk_resources.h"
#include "remembered_dlg.h"
#include "qt_test_support.h"
#include "scan_dlg.h"
#include "setup_ip_dlg.h"
#include "window_adapters.h"

#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <map>
#include <memory>
#include <set>

namespace {

const QStringList kLanguages = {"de", "es", "fr", "it", "ja", "ko", "pt_BR", "ru", "zh_CN", "zh_TW"};

// Names and terms every language writes as English does.
const std::set<QString> kNames = {"orbisk", "nas", "ip", "ipv4", "dhcp", "mac", "ok", "udp", "http", "web"};

// Words a language writes as English does: its own words of the same
// spelling, and the English terms its routers and desktops use.
const std::map<QString, std::set<QString>> kOwnWords = {
    {"de", {"version", "gateway", "hostname", "port", "broadcast", "loopback", "multicast", "format", "bits",
            "computer", "name", "optional"}},
    {"fr", {"version", "port", "format", "bits", "page", "communication", "interface"}},
    {"es", {"host", "bits"}},
    {"it", {"gateway", "password", "subnet", "mask", "broadcast", "loopback", "multicast", "host", "computer",
            "all"}},
    {"pt_BR", {"gateway", "broadcast", "loopback", "multicast", "host", "bits", "interface"}},
};

// What a window shows or names, by where it is: "dlg131/ctl1002 text".
using Texts = std::map<std::string, QString>;

std::string Where(QWidget* dlg, QWidget* w, int index)
{
    const QString name = w->objectName().isEmpty()
        ? QStringLiteral("%1#%2").arg(QLatin1String(w->metaObject()->className())).arg(index)
        : w->objectName();
    return (dlg->objectName() + u'/' + name).toStdString();
}

void Collect(QWidget* dlg, Texts& out)
{
    out[dlg->objectName().toStdString() + " caption"] = dlg->windowTitle();
    const QList<QWidget*> children = dlg->findChildren<QWidget*>();
    for (int i = 0; i < children.size(); ++i) {
        QWidget* w = children[i];
        const std::string at = Where(dlg, w, i);
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            out[at + " text"] = button->text();
        if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull() && !label->isHidden())
            out[at + " text"] = label->text();
        if (!w->accessibleName().isEmpty())
            out[at + " name"] = w->accessibleName();
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (int col = 0; col < tree->columnCount(); ++col)
                out[at + " column " + std::to_string(col)] = tree->headerItem()->text(col);
        }
    }
    // The window menu and the device list's menu.
    for (QMenu* menu : dlg->findChildren<QMenu*>()) {
        const QList<QAction*> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i) {
            if (!actions[i]->isSeparator())
                out[Where(dlg, menu, 0) + " entry " + std::to_string(i)] = actions[i]->text();
        }
    }
}

QString WithoutMnemonic(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return text.remove(u'&');
}

// Between a label's or radio's text and the next control, so that the two
// do not read as one.
constexpr int kGap = 4;

// The room a control's text takes: a label or radio grows to its text, a
// push button keeps its size and must hold its text inside its frame.
QRect Taken(QWidget* w, QStringList& faults, const QString& what)
{
    QRect r = w->geometry();
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
        const int width = fm.horizontalAdvance(label->text());
        if (label->wordWrap()) {
            // A status line of several lines: the text's lines within its height.
            if (label->heightForWidth(w->width()) > w->height())
                faults << QStringLiteral("%1: \"%2\" needs %3 px of height %4")
                              .arg(what, label->text()).arg(label->heightForWidth(w->width())).arg(w->height());
        } else if (label->alignment() & Qt::AlignHCenter) {
            if (width > w->width())
                faults << QStringLiteral("%1: \"%2\" needs %3 px of %4").arg(what, label->text()).arg(width).arg(w->width());
        } else {
            r.setWidth(std::max(r.width(), width + kGap));
        }
    } else if (qobject_cast<QRadioButton*>(w)) {
        r.setWidth(std::max(r.width(), w->sizeHint().width() + kGap));
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect inside = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int width = fm.horizontalAdvance(WithoutMnemonic(button->text()));
        if (width > inside.width())
            faults << QStringLiteral("%1: \"%2\" needs %3 px of %4").arg(what, button->text()).arg(width).arg(inside.width());
    }
    return r;
}

// Every visible control's text inside the control, the control inside the
// dialog and clear of the others (the group frame around some aside).
void CheckFit(QWidget* dlg, QStringList& faults)
{
    std::vector<std::pair<QRect, QString>> taken;
    for (QWidget* w : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isHidden() || qobject_cast<QGroupBox*>(w) || w->property("ctrlId").isNull())
            continue;
        QString what = dlg->objectName() + u'/'
            + (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
        if (auto* label = qobject_cast<QLabel*>(w))
            what += QStringLiteral(" \"%1\"").arg(label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            what += QStringLiteral(" \"%1\"").arg(button->text());
        const QRect r = Taken(w, faults, what);
        if (!dlg->rect().contains(r))
            faults << QStringLiteral("%1 leaves the dialog").arg(what);
        for (const auto& [other, otherWhat] : taken) {
            if (r.intersects(other))
                faults << QStringLiteral("%1 runs into %2").arg(what, otherWhat);
        }
        taken.emplace_back(r, what);
    }
    if (auto* tree = dlg->findChild<QTreeWidget*>()) {
        QHeaderView* header = tree->header();
        const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int col = 0; col < tree->columnCount(); ++col) {
            const QString text = tree->headerItem()->text(col);
            const int width = QFontMetrics(header->font()).horizontalAdvance(text) + margin;
            if (width > header->sectionSize(col))
                faults << QStringLiteral("column \"%1\" needs %2 px of %3").arg(text).arg(width).arg(header->sectionSize(col));
        }
        // Every column whole at the window's first size, without scrolling,
        // also once rows bring the vertical scroll bar.
        const int room = tree->viewport()->width() - tree->verticalScrollBar()->sizeHint().width();
        if (header->length() > room)
            faults << QStringLiteral("the columns need %1 px of %2").arg(header->length()).arg(room);
    }
}

// Every text lupdate found marked in the sources, by context: the catalogues
// of all languages together (translations_complete holds them to the sources).
std::set<std::pair<QString, QString>> MarkedTexts()
{
    std::set<std::pair<QString, QString>> out;
    for (const QString& language : kLanguages) {
        QFile file(QStringLiteral(ORBISK_TRANSLATIONS_DIR "/orbisk_%1.ts").arg(language));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                out.emplace(context, xml.readElementText());
        }
        EXPECT_FALSE(xml.hasError()) << file.fileName().toStdString() << ": " << xml.errorString().toStdString();
    }
    return out;
}

// The main window as the Remembered Devices window sees it: every device listed.
class ListingWaker : public IDeviceWaker {
public:
    bool IsListed(const DeviceReply&) const override { return true; }
    void AwaitDevice(const MacAddress&, int, std::function<void(const std::string&)>) override {}
    void StopAwaiting() override {}
    std::string TakeRecordNote() override { return {}; }
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("Resources", text);
}

// The Remembered Devices window over a record of one device, with each status
// its wake and its record can show, Add with a MAC address that is none,
// and Forget's question.
void OpenRemembered(Texts& texts, QStringList& faults)
{
    HeardDevice device;
    device.reply = {.sender = "198.18.0.20", .gateway = "198.18.0.1", .hostname = "nas-01", .mac = "02:00:00:00:00:20",
        .version = "1.0", .netmask = "255.255.255.0", .mode = AddressMode::Static, .ifindex = 2};
    device.interfaceName = "eth0";
    RecordProblem problem;
    ASSERT_TRUE(UpdateRecord(DeviceRecordPath(), [&](CDeviceRecord& r) { r.Note(device, 1700000000000000000); },
        problem).Ok());
    // Arguments that no language translates: names, numbers, a path of names.
    const QString path = QStringLiteral("/nas/orbisk");
    const QString statuses[] = {
        Tr("Waiting for %1...").arg("nas-01"),
        Tr("%1 is up at %2.").arg("nas-01", "198.18.0.20"),
        Tr("%1 did not answer within %2 s.").arg("nas-01").arg(120),
        Tr("%1 has no MAC address to wake it by.").arg("nas-01"),
        Tr("The magic packet could not be sent: %1").arg(101),
        Tr("The record of remembered devices could not be read; it is kept as %1 and a new one is started.")
            .arg(path + "/orbisk-2026-12-08T055900Z-1"),
        Tr("The record of remembered devices %1 could not be read.").arg(path),
        Tr("Lines of the record that could not be read and are left out: %1.").arg(12),
        Tr("The record could not be written: %1").arg(28),
    };
    ListingWaker waker;
    CRememberedDlg remembered(waker);
    WhenShown("dlg132", [&](QWidget* w) {
        Collect(w, texts);
        CheckFit(w, faults);
        auto* list = Ctl<QTreeWidget>(w, IDC_REMEMBERED_LIST);
        texts["dlg132 listed"] = list->topLevelItemCount() == 1 ? list->topLevelItem(0)->text(5) : QString();
        auto* status = Ctl<QLabel>(w, IDC_REMEMBERED_STATUS);
        for (size_t i = 0; i < std::size(statuses); ++i) {
            status->setText(statuses[i]);
            texts["dlg132 status " + std::to_string(i)] = statuses[i];
            CheckFit(w, faults);
        }
        Ctl<QPushButton>(w, IDC_WAKE)->setText(Tr("Stop Waiting"));
        texts["dlg132 stop"] = Tr("Stop Waiting");
        CheckFit(w, faults);
        WhenShown("dlg133", [&](QWidget* add) {
            Collect(add, texts);
            CheckFit(add, faults);
            Ctl<QLineEdit>(add, IDC_ADD_MAC)->setText("nas-01");
            Click(Ctl(add, IDOK));
            texts["dlg133 problem"] = Ctl<QLabel>(add, IDC_ADD_PROBLEM)->text();
            CheckFit(add, faults);
            Click(Ctl(add, IDCANCEL));
        });
        Click(Ctl(w, IDC_ADD));
        AnswerMessageBox(QMessageBox::No, &texts["dlg132 forget"]);
        Click(Ctl(w, IDC_FORGET));
        Click(Ctl(w, IDCANCEL));
    });
    remembered.DoModal();
}

// Opens each window, with each text the program puts in it later, and
// reads what it shows; checks the fit of each on the way.
Texts OpenEverything(QStringList& faults)
{
    Texts texts;
    auto read = [&](QWidget* w) {
        Collect(w, texts);
        CheckFit(w, faults);
    };
    {
        CAboutBox about;
        WhenShown("dlg100", [&](QWidget* w) {
            read(w);
            Click(Ctl(w, IDOK));
        });
        about.DoModal();
    }
    {
        CScanDlg scan;
        WhenShown("dlg102", [&](QWidget* w) {
            read(w);
            CWndServices services(scan);
            services.SetItemText(IDC_SCAN, text::kFinished);
            read(w);
            texts["dlg102 finished"] = Ctl<QPushButton>(w, IDC_SCAN)->text();
            services.SetItemText(IDC_SCAN, text::kScan);
            Click(Ctl(w, IDCANCEL));
        });
        scan.DoModal();
    }
    {
        CAuthDlg auth;
        WhenShown("dlg130", [&](QWidget* w) {
            read(w);
            AnswerMessageBox(QMessageBox::Ok, &texts["dlg130 empty"]);
            Click(Ctl(w, IDOK));
            Click(Ctl(w, IDCANCEL));
        });
        auth.DoModal();
    }
    {
        SelectedDevice = {"198.18.0.20", "198.18.0.1", "255.255.255.0"};
        CSetupIpDlg setup;
        setup.m_nMode = 0;
        WhenShown("dlg131", [&](QWidget* w) {
            read(w);
            CWndServices services(setup);
            for (TextId status : {text::kSuccess, text::kWrongCredentials, text::kNotModified}) {
                services.SetItemText(IDC_STATUS, status);
                texts[std::string("dlg131 status ") + status.source] = Ctl<QLabel>(w, IDC_STATUS)->text();
                CheckFit(w, faults);
            }
            Click(Ctl(w, IDCANCEL));
        });
        setup.DoModal();
        SelectedDevice = {};
    }
    OpenRemembered(texts, faults);
    // Every marked text, the messages of the scan, the address change and its
    // checks among them, whatever shows it.
    for (const auto& [context, source] : MarkedTexts()) {
        texts[QStringLiteral("marked %1: %2").arg(context, source).toStdString()] =
            QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData());
    }
    // Qt's own: the buttons of a question, a line edit's menu.
    QMessageBox box(QMessageBox::Warning, "", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    texts["qt yes"] = box.button(QMessageBox::Yes)->text();
    texts["qt no"] = box.button(QMessageBox::No)->text();
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    const QList<QAction*> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (!actions[i]->isSeparator())
            texts["qt edit menu " + std::to_string(i)] = actions[i]->text();
    }
    return texts;
}

// The English words of `english` (three letters or more, names and the
// language's loanwords aside) that `shown` still has.
QStringList EnglishLeft(const QString& english, const QString& shown, const QString& language)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9]*"));
    static const QRegularExpression letter(QStringLiteral("[A-Za-z]"));
    const auto own = kOwnWords.find(language);
    // A shortcut's key names (Ctrl+Z) are no text to translate.
    const QString text = WithoutMnemonic(english).section(u'\t', 0, 0);
    QStringList left;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured().toLower();
        if (w.count(letter) < 3 || kNames.count(w) || (own != kOwnWords.end() && own->second.count(w)))
            continue;
        const QRegularExpression inShown(QStringLiteral("(?<![A-Za-z])%1(?![A-Za-z])").arg(w),
                                         QRegularExpression::CaseInsensitiveOption);
        if (inShown.match(shown).hasMatch())
            left << w;
    }
    return left;
}

// The placeholders of a text, %1 ... %9, which its translation keeps: the
// values (addresses, a system error) are filled in there.
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QStringList found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

class TranslationTest : public WidgetTest {
protected:
    void TearDown() override
    {
        InstallTranslations({});
        WidgetTest::TearDown();
    }
};

TEST_F(TranslationTest, EveryLanguageReadsWhollyTranslatedAndFits)
{
    // ctest runs this at 96 dpi and at 144 dpi (tests/ui/CMakeLists.txt);
    // the screen must be what the run is for.
    const int dpi = qEnvironmentVariableIsSet("QT_FONT_DPI") ? qEnvironmentVariableIntValue("QT_FONT_DPI") : 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NEAR(screen->logicalDotsPerInch() * screen->devicePixelRatio(), dpi, 1);

    EXPECT_EQ(TranslatedLanguages(), kLanguages);
    // The faces a reader of each language has (fonts-noto-cjk, as `make test` installs).
    for (const char* face : {"Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans CJK JP", "Noto Sans CJK KR"})
        ASSERT_TRUE(QFontDatabase::hasFamily(face)) << face;

    ASSERT_EQ(InstallTranslations({"en_US"}), "");
    QStringList faults;
    const Texts english = OpenEverything(faults);
    EXPECT_TRUE(faults.isEmpty()) << "English: " << faults.join("\n").toStdString();

    for (const QString& language : kLanguages) {
        ASSERT_EQ(InstallTranslations({language}), language);
        faults.clear();
        const Texts shown = OpenEverything(faults);
        ASSERT_EQ(shown.size(), english.size()) << language.toStdString();
        for (const auto& [where, text] : english) {
            const QString translated = shown.at(where);
            // The one source text in Chinese is to be translated like the others.
            static const QRegularExpression han(QStringLiteral("\\p{Han}"));
            if (text.contains(han) && language != "zh_CN" && translated == text)
                faults << QStringLiteral("%1: \"%2\" untranslated").arg(QString::fromStdString(where), text);
            const QStringList left = EnglishLeft(text, translated, language);
            if (!left.isEmpty())
                faults << QStringLiteral("%1: \"%2\" keeps %3").arg(QString::fromStdString(where), translated, left.join(", "));
            if (Placeholders(translated) != Placeholders(text))
                faults << QStringLiteral("%1: \"%2\" has not the placeholders %3")
                              .arg(QString::fromStdString(where), translated, Placeholders(text).join(u' '));
        }
        EXPECT_TRUE(faults.isEmpty()) << language.toStdString() << ":\n" << faults.join("\n").toStdString();
    }
}

// A message with values, as the address change shows it: the values go into
// the translated sentence in one pass (a "%1" a device sent stays as it is),
// a value that is itself a marked text comes translated too, and the same
// message reads in English for orbisk-cli.
TEST_F(TranslationTest, ValuesGoIntoTheTranslatedSentence)
{
    const Status shared = SharedAddressProblem("198.18.0.20", {"%1", ""});
    ASSERT_EQ(InstallTranslations({"de"}), "de");
    const QString sentence = QCoreApplication::translate("ChangeCheck",
        "Several devices answer at %1 (MAC addresses %2); a change request would change all of them.");
    const QString none = QCoreApplication::translate("ChangeCheck", "(none given)");
    ASSERT_NE(none, "(none given)");
    EXPECT_EQ(QString::fromStdString(Translated(shared.Sentence())), sentence.arg("198.18.0.20", "%1, " + none));
    EXPECT_EQ(shared.Message(), "Several devices answer at 198.18.0.20 (MAC addresses %1, (none given)); "
                                "a change request would change all of them.");
}

} // namespace
