#include "device_table.h"
#include "tool_port.h"
#include "reply_receiver.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

// Stands in for the main window: the memory target, which also keeps each
// reply it was handed.
class FakeWindow : public CMemoryReplyTarget {
public:
    void AddDeviceRow(const DeviceReply& reply) override
    {
        m_replies.push_back(reply);
        CMemoryReplyTarget::AddDeviceRow(reply);
    }

    std::vector<DeviceReply> m_replies;
};

long long MillisSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// Each test runs in a private network namespace: only loopback, where every
// 127.x.y.z address is local, so a sender bound to 127.0.0.5 is "device 127.0.0.5".
class ReplyReceiver : public ::testing::Test {
protected:
    void SetUp() override
    {
        PRIVATE_NET_REQUIRE();
        ASSERT_EQ(OpenListener(), 0);
    }

    void TearDown() override
    {
        CloseListener();
        for (auto& [from, socket] : m_senders)
            socket->Close();
    }

    // Sends one datagram to the listener from the given local address.
    void Send(const std::string& datagram, const std::string& from = "127.0.0.5")
    {
        CUdpSocket& socket = Sender(from);
        CSockAddr to("127.0.0.1", 10001);
        ASSERT_EQ(socket.SendTo(datagram.data(), static_cast<int>(datagram.size()), to, 0),
                  static_cast<int>(datagram.size()));
    }

    CUdpSocket& Sender(const std::string& from)
    {
        for (auto& [address, socket] : m_senders) {
            if (address == from)
                return *socket;
        }
        auto socket = std::make_unique<CUdpSocket>();
        EXPECT_TRUE(socket->Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET));
        CSockAddr local(from.c_str(), 0);
        EXPECT_EQ(bind(socket->m_hRawSocket, reinterpret_cast<sockaddr*>(&local.m_addr), sizeof local.m_addr), 0)
            << from;
        m_senders.emplace_back(from, std::move(socket));
        return *m_senders.back().second;
    }

    std::vector<std::pair<std::string, std::unique_ptr<CUdpSocket>>> m_senders;
    FakeWindow m_window;
};

TEST_F(ReplyReceiver, ClassifiesByFirstAndSecondByte)
{
    struct Case {
        std::string datagram;
        ReplyKind expected;
    };
    const Case cases[] = {
        { "$0", ReplyChanged },
        { "$1", ReplyDenied },
        { "$7", ReplyOther },
        { "$", ReplyOther },
        { "$0 more text", ReplyChanged },
        { "$1@0", ReplyDenied },
        { "$x0", ReplyOther },
        { Bytes("$\0"), ReplyOther },
        { Bytes("$0\0"), ReplyChanged },
        { "STSS", ReplyNone },
        { "x#G@H@M@V@N@1@", ReplyNone },
        { Bytes("\0#G@H@M@V@N@1@"), ReplyNone },
        { "", ReplyNone },
        { "0$", ReplyNone },
    };
    m_window.m_nMode = 0;
    for (const Case& c : cases) {
        Send(c.datagram);
        EXPECT_EQ(PollReply(&m_window), c.expected) << '"' << c.datagram << '"';
    }
    // None of these is a discovery reply: the window is untouched.
    EXPECT_EQ(m_window.m_nMode, 0);
    EXPECT_TRUE(m_window.m_replies.empty());
    EXPECT_EQ(m_window.m_list.GetItemCount(), 0);
}

TEST_F(ReplyReceiver, ReadsExactlyHundredBytesAndDropsLongerWhole)
{
    // The unclosed mode field ends with the datagram: its last byte sets the mode.
    std::string head = "#G@H@M@V@N@";
    std::string hundred = head + std::string(99 - head.size(), 'x') + "1";
    ASSERT_EQ(hundred.size(), 100u);
    std::string longer = head + std::string(100 - head.size(), 'x') + "0";
    ASSERT_EQ(longer.size(), 101u);

    Send(longer, "127.0.0.6");
    Send(std::string(1000, '#'), "127.0.0.7");
    Send(hundred, "127.0.0.5");
    Send("$1", "127.0.0.6");

    EXPECT_EQ(PollReply(&m_window), ReplyNone);
    EXPECT_EQ(m_window.m_nMode, -1);
    EXPECT_EQ(PollReply(&m_window), ReplyNone);
    EXPECT_EQ(m_window.m_nMode, -1);
    EXPECT_EQ(m_window.m_list.GetItemCount(), 0);

    EXPECT_EQ(PollReply(&m_window), ReplyDevice);
    EXPECT_EQ(m_window.m_nMode, 1);
    ASSERT_EQ(m_window.m_replies.size(), 1u);
    EXPECT_EQ(m_window.m_replies[0].gateway, SplitDiscoveryReply(hundred)[0]);
    EXPECT_EQ(m_window.m_list.GetItemText(0, ColAddress), "127.0.0.5");

    EXPECT_EQ(PollReply(&m_window), ReplyDenied);
}

TEST_F(ReplyReceiver, AddressModeComesFromTheSixthField)
{
    struct Case {
        std::string datagram;
        int before;
        int after;
    };
    const Case cases[] = {
        { "#G@H@M@V@N@0@", 1, 0 },
        { "#G@H@M@V@N@1@", 0, 1 },
        { "#G@H@M@V@N@10@", 1, 0 },
        { "#G@H@M@V@N@01@", 0, 1 },
        { "#G@H@M@V@N@@", 1, 1 },
        { "#G@H@M@V@N@@", 0, 0 },
        { "#G@H@M@V@N@x@", 1, 1 },
        { "#G@H@M@V@N@7@", -1, -1 },
        { "#1@1@1@1@1@@", 0, 0 },
        { "#G@H@M@V@N@0@1@1", 1, 0 },
        { "#G@H@M@V@N@1", 0, 1 },       // not closed: counts up to the end
        { "#G@H@M@V@N@1x0", 1, 0 },
        { "#G@H@M@V@1", 0, 0 },         // no fifth '@': no mode field
        { Bytes("#G@H@M@V@N@\0" "1@"), 0, 1 }, // a NUL is just a byte to the walk
        { Bytes("#G@H@M@V@N@0@\0" "1@"), 1, 0 },
    };
    for (const Case& c : cases) {
        m_window.m_nMode = c.before;
        Send(c.datagram);
        EXPECT_EQ(PollReply(&m_window), ReplyDevice) << c.datagram;
        EXPECT_EQ(m_window.m_nMode, c.after) << c.datagram << " from " << c.before;
    }
    EXPECT_EQ(m_window.m_list.GetItemCount(), 1); // one sender
}

TEST_F(ReplyReceiver, HandsOverTheTextUpToTheFirstNulAndTheSender)
{
    Send(Bytes("#G@H@M@V@N@1@\0tail"), "127.0.0.5");
    Send(Bytes("#G@H\0@M@V@N@0@"), "127.200.100.250");
    Send("#g@h@m@v@n@@after", "127.0.0.50");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(PollReply(&m_window), ReplyDevice);

    ASSERT_EQ(m_window.m_replies.size(), 3u);
    EXPECT_EQ(m_window.m_replies[0].netmask, "N");
    EXPECT_EQ(m_window.m_replies[0].sender, "127.0.0.5");
    EXPECT_EQ(m_window.m_replies[1].gateway, "G");
    EXPECT_EQ(m_window.m_replies[1].hostname, ""); // cut at the NUL: no closing '@'
    EXPECT_EQ(m_window.m_replies[1].sender, "127.200.100.250");
    EXPECT_EQ(m_window.m_replies[2].netmask, "n");
    EXPECT_EQ(m_window.m_nMode, 0); // the second reply's mode, read past its NUL

    CMemoryListView& list = m_window.m_list;
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, ColAddress), "127.0.0.5");
    EXPECT_EQ(list.GetItemText(0, ColNetmask), "N");
    EXPECT_EQ(list.GetItemText(1, ColAddress), "127.200.100.250");
    EXPECT_EQ(list.GetItemText(1, ColGateway), "G");
    EXPECT_EQ(list.GetItemText(1, ColHostname), "");
    EXPECT_EQ(list.GetItemText(2, ColAddress), "127.0.0.50");
    // Each row keeps the mode of its own reply, not the window's.
    EXPECT_EQ(list.GetItemData(0).reply.mode, AddressMode::Dhcp);
    EXPECT_EQ(list.GetItemData(1).reply.mode, AddressMode::Static);
    EXPECT_EQ(list.GetItemData(2).reply.mode, AddressMode::NotGiven);
}

TEST_F(ReplyReceiver, SameReplyTwiceSetsTheModeTwiceButAddsOneRow)
{
    Send("#G@H@M@V@N@1@");
    Send("#G@H@M@V@N@1@");
    EXPECT_EQ(PollReply(&m_window), ReplyDevice);
    EXPECT_EQ(m_window.m_nMode, 1);
    m_window.m_nMode = 0;
    EXPECT_EQ(PollReply(&m_window), ReplyDevice);
    EXPECT_EQ(m_window.m_nMode, 1);
    EXPECT_EQ(m_window.m_list.GetItemCount(), 1);
    EXPECT_EQ(m_window.m_nDeviceCount, 1);
}

TEST_F(ReplyReceiver, LastReplyDecidesTheMode)
{
    Send("#G@H@M@V@N@1@", "127.0.0.5");
    Send("#G@H@M@V@N@0@", "127.0.0.6");
    EXPECT_EQ(PollReply(&m_window), ReplyDevice);
    EXPECT_EQ(PollReply(&m_window), ReplyDevice);
    EXPECT_EQ(m_window.m_nMode, 0);
    EXPECT_EQ(m_window.m_list.GetItemCount(), 2);
}

TEST_F(ReplyReceiver, ThreeQueuedRepliesTakeThreeCalls)
{
    Send("#a@@@@@@", "127.0.0.5");
    Send("#b@@@@@@", "127.0.0.6");
    Send("#c@@@@@@", "127.0.0.7");
    for (int call = 1; call <= 3; ++call) {
        EXPECT_EQ(PollReply(&m_window), ReplyDevice);
        EXPECT_EQ(m_window.m_list.GetItemCount(), call);
    }
    EXPECT_EQ(m_window.m_list.GetItemText(0, ColGateway), "a");
    EXPECT_EQ(m_window.m_list.GetItemText(2, ColNumber), "2");
    EXPECT_EQ(m_window.m_list.GetItemText(2, ColAddress), "127.0.0.7");
}

TEST_F(ReplyReceiver, WithoutTargetADiscoveryReplyIsConsumedOnly)
{
    m_window.m_nMode = 0;
    Send("#G@H@M@V@N@1@", "127.0.0.5");
    Send("$0", "127.0.0.6");
    EXPECT_EQ(PollReply(nullptr), ReplyDevice);
    // The next call reads what came after it, and nothing of it reached the window.
    EXPECT_EQ(PollReply(&m_window), ReplyChanged);
    EXPECT_EQ(m_window.m_nMode, 0);
    EXPECT_TRUE(m_window.m_replies.empty());
}

TEST_F(ReplyReceiver, ListenerIsLeftNonBlocking)
{
    int flags = fcntl(g_listener.m_hRawSocket, F_GETFL);
    ASSERT_NE(flags, -1);
    EXPECT_EQ(flags & O_NONBLOCK, 0); // OpenListener leaves it blocking
    Send("$0");
    EXPECT_EQ(PollReply(nullptr), ReplyChanged);
    EXPECT_NE(fcntl(g_listener.m_hRawSocket, F_GETFL) & O_NONBLOCK, 0);
}

TEST_F(ReplyReceiver, DatagramArrivingDuringTheWaitEndsIt)
{
    CUdpSocket& sender = Sender("127.0.0.5");
    std::chrono::steady_clock::time_point sent;
    std::thread late([&sender, &sent] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        CSockAddr to("127.0.0.1", 10001);
        sender.SendTo("$1", 2, to, 0);
        sent = std::chrono::steady_clock::now();
    });
    auto start = std::chrono::steady_clock::now();
    ReplyKind kind = PollReply(&m_window);
    auto end = std::chrono::steady_clock::now();
    late.join();
    EXPECT_EQ(kind, ReplyDenied);
    EXPECT_GE(MillisSince(start), 80);
    // Measured from the send, not from the start: a sender held up on a
    // loaded machine does not count; waiting out the 500 ms would.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(end - sent).count(), 300);
}

TEST_F(ReplyReceiver, WaitsAboutHalfASecondWhenNothingIsPending)
{
    m_window.m_nMode = 1;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PollReply(&m_window), ReplyNone);
    long long elapsed = MillisSince(start);
    EXPECT_GE(elapsed, 480);
    EXPECT_LT(elapsed, 1500); // not a second wait; headroom for a loaded machine
    EXPECT_EQ(m_window.m_nMode, 1);
    EXPECT_EQ(m_window.m_list.GetItemCount(), 0);
}

TEST_F(ReplyReceiver, ReturnsAtOnceWhenTheListenerIsClosed)
{
    Send("#G@H@M@V@N@1@");
    CloseListener();
    ASSERT_EQ(g_listener.m_hRawSocket, -1);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PollReply(&m_window), ReplyNone);
    EXPECT_EQ(PollReply(nullptr), ReplyNone);
    EXPECT_LT(MillisSince(start), 50);
    EXPECT_EQ(g_listener.m_hRawSocket, -1);
    EXPECT_EQ(m_window.m_nMode, -1);
    EXPECT_EQ(m_window.m_list.GetItemCount(), 0);
}

} // namespace
