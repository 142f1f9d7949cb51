// Whole address changes through the real dialogs, against orbisk-devsim on
// the virtual LAN: the operator's clicks and keys become the exact request,
// and the device's answers the status line.
//
// The simulator sends every reply twice: the blocking wait reads the first,
// the first tick the second, so each test sees both halves of the flow
// without sitting through empty 500 ms polls. The dialog is closed while
// its ticks still run, which ends its timer with the window.

#include "dialog_helpers.h"
#include "ops_lan.h"
#include "qt_test_support.h"
#include "setup_ip_dlg.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>

#include <algorithm>

namespace {

constexpr char kDevice[] = "198.18.0.20";

class DialogsOnLan : public OpsLanTest {
protected:
    void SetUp() override
    {
        OpsLanTest::SetUp();
        SelectedDevice = {kDevice, "198.18.0.1", "255.255.255.0"};
    }
    void TearDown() override
    {
        CancelAllWhenShown();
        ExpectNoWindowOpen();
        OpsLanTest::TearDown();
    }

    const CDevsimProcess& StartDevice(std::vector<std::string> args = {})
    {
        args.insert(args.end(), {"--duplicates", "2"});
        return StartSimulator(AddDeviceHost(20), args);
    }

    // Every change request the device received.
    std::vector<std::string> ChangeRequests(const CDevsimProcess& sim)
    {
        std::vector<std::string> requests;
        for (const LoggedDatagram& d : sim.Received()) {
            if (d.bytes.rfind("STLG@", 0) == 0)
                requests.push_back(d.bytes);
        }
        return requests;
    }

    // Opens the Setup IP dialog, runs body in it and closes it with Back.
    void OpenAndBack(const std::function<void(QWidget*)>& body)
    {
        WhenShown("dlg131", [&](QWidget* w) {
            body(w);
            Click(Ctl(w, IDCANCEL));
        });
        EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    }

    CSetupIpDlg m_dlg;
};

// In the Authentication dialog that the Setup button opens: types and confirms.
void AnswerAuthentication(const QString& user, const QString& password)
{
    WhenShown("dlg130", [=](QWidget* a) {
        Ctl<QLineEdit>(a, IDC_USER)->setText(user);
        Ctl<QLineEdit>(a, IDC_PASSWORD)->setText(password);
        Click(Ctl(a, IDOK));
    });
}

std::string Nul(std::string text)
{
    return text + std::string(1, '\0');
}

} // namespace

TEST_F(DialogsOnLan, StaticChangeSendsTheTypedAddressAndShowsSuccess)
{
    const CDevsimProcess& sim = StartDevice();
    m_dlg.m_nMode = 1; // the operator moves the radios to Static IP
    OpenAndBack([&](QWidget* w) {
        Click(Ctl(w, IDC_STATIC_IP));
        TypeAndLeave(w, IDC_NEW_ADDRESS, 3, "77", IDC_NEW_NETMASK);
        EXPECT_TRUE(Ctl(w, IDC_STATIC_IP)->property("checked").toBool());
        AnswerAuthentication("admin", "admin");
        Click(Ctl(w, IDC_SETUP));
        // The request is out and the blocking wait has read the first "$0".
        EXPECT_FALSE(Ctl(w, IDC_SETUP)->isEnabled());
        EXPECT_EQ(m_dlg.m_AuthDlg.m_strUser, "");
        EXPECT_EQ(m_dlg.m_AuthDlg.m_strPassword, "");
        EXPECT_TRUE(WaitUntil([&] { return Text(w, IDC_STATUS) == "Success"; }, 5000)) << Text(w, IDC_STATUS).toStdString();
        EXPECT_EQ(m_dlg.m_nMode, 0);
    });
    EXPECT_EQ(ChangeRequests(sim),
              std::vector<std::string>{Nul("STLG@198.18.0.20@admin@admin@198.18.0.77@255.255.255.0@198.18.0.1@0")});
}

TEST_F(DialogsOnLan, DhcpChangeSendsTheFieldTextsAndTheNextAuthenticationStartsEmpty)
{
    const CDevsimProcess& sim = StartDevice();
    m_dlg.m_nMode = 1;
    WhenShown("dlg131", [&](QWidget* w) {
        EXPECT_FALSE(Ctl(w, IDC_NEW_ADDRESS)->isEnabled());
        AnswerAuthentication("root", "pa ss");
        // Enter runs the default button, Setup.
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_TRUE(WaitUntil([&] { return Text(w, IDC_STATUS) == "Wrong user or password!"; }, 5000))
            << Text(w, IDC_STATUS).toStdString();
        Click(Ctl(w, IDCANCEL));
    });
    // The wrong credentials are refused in the blocking wait too: a box
    // without owner, then the status line from the duplicate.
    QString waitMessage;
    QWidget* waitOwner = this->m_dlg.m_hWnd;
    WhenShown("msgbox", [&](QWidget* box) {
        waitMessage = MessageText(box);
        waitOwner = box->parentWidget();
        Click(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
    }, 8000);
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(waitMessage.toStdString(),
              "Could not modify the IP address, please check the administrator name, password or the format of parameters");
    EXPECT_EQ(waitOwner, nullptr);

    // Second opening: the credentials were emptied by the sent request; a
    // cancelled Authentication dialog sends nothing and frees Setup at once.
    OpenAndBack([&](QWidget* w) {
        EXPECT_EQ(Text(w, IDC_STATUS), "Not set");
        WhenShown("dlg130", [](QWidget* a) {
            EXPECT_EQ(Ctl<QLineEdit>(a, IDC_USER)->text(), "");
            EXPECT_EQ(Ctl<QLineEdit>(a, IDC_PASSWORD)->text(), "");
            Click(Ctl(a, IDCANCEL));
        });
        Click(Ctl(w, IDC_SETUP));
        EXPECT_TRUE(Ctl(w, IDC_SETUP)->isEnabled());
    });
    EXPECT_EQ(ChangeRequests(sim),
              std::vector<std::string>{Nul("STLG@198.18.0.20@root@pa ss@198.18.0.20@255.255.255.0@198.18.0.1@1@")});
}

TEST_F(DialogsOnLan, AcceptedDhcpChangeShowsSuccess)
{
    const CDevsimProcess& sim = StartDevice();
    m_dlg.m_nMode = 0;
    OpenAndBack([&](QWidget* w) {
        Click(Ctl(w, IDC_DHCP));
        EXPECT_FALSE(Ctl(w, IDC_NEW_GATEWAY)->isEnabled());
        AnswerAuthentication("admin", "admin");
        Click(Ctl(w, IDC_SETUP));
        EXPECT_TRUE(WaitUntil([&] { return Text(w, IDC_STATUS) == "Success"; }, 5000)) << Text(w, IDC_STATUS).toStdString();
    });
    EXPECT_EQ(m_dlg.m_nMode, 1);
    EXPECT_EQ(ChangeRequests(sim),
              std::vector<std::string>{Nul("STLG@198.18.0.20@admin@admin@198.18.0.20@255.255.255.0@198.18.0.1@1@")});
}
