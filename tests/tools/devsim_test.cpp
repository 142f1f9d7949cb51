// orbisk-devsim: its pieces on their own, then the real program on a virtual
// LAN, seen from an operator host through the tool's own socket layer.

#include "devsim_options.h"
#include "sim_device.h"

#include "devsim_process.h"
#include "lan_test.h"
#include "tool_port.h"
#include "udp_socket.h"
#include "virtual_lan.h"
#include "wire.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <set>

using namespace std::string_literals;
using Clock = std::chrono::steady_clock;

namespace {

SimOptions Parse(std::vector<std::string> args, SimAction expected = SimAction::Run)
{
    Result<SimCommand> parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.Ok()) << parsed.Failure().Message();
    if (!parsed.Ok())
        return {};
    EXPECT_EQ(parsed->action, expected);
    return parsed->options;
}

std::string ParseError(std::vector<std::string> args)
{
    Result<SimCommand> parsed = ParseOptions(args);
    EXPECT_FALSE(parsed.Ok());
    return parsed.Failure().Message();
}

// The bytes, or the reason they were refused in `error`.
bool Decode(const std::string& text, std::string& bytes, std::string& error)
{
    Result<std::string> decoded = DecodeBytes(text);
    bytes = decoded.Ok() ? *decoded : std::string();
    error = decoded.Failure().Message();
    return decoded.Ok();
}

Ipv4 Ip(const char* text)
{
    return *Ipv4::Parse(text);
}

// The prefix of a dotted netmask, -1 when it is none.
int PrefixOfNetmask(const char* text)
{
    std::optional<Ipv4> mask = Ipv4::Parse(text);
    return mask ? mask->PrefixLength().value_or(-1) : -1;
}

} // namespace

// ---- Pieces without a network ----

TEST(DevsimBytes, HexAndEscapesDecodeToTheExactBytes)
{
    std::string bytes, error;
    ASSERT_TRUE(Decode("hex:2430", bytes, error));
    EXPECT_EQ(bytes, "$0");
    ASSERT_TRUE(Decode("hex:23 00 ff 40", bytes, error));
    EXPECT_EQ(bytes, "#\0\xff@"s);
    ASSERT_TRUE(Decode("hex:", bytes, error));
    EXPECT_EQ(bytes, "");
    ASSERT_TRUE(Decode(R"(#a\0b\x80\xFF\\\n\r\t@)", bytes, error));
    EXPECT_EQ(bytes, "#a\0b\x80\xff\\\n\r\t@"s);
    // "\01" is a NUL followed by the digit, never an octal escape.
    ASSERT_TRUE(Decode(R"(\01)", bytes, error));
    EXPECT_EQ(bytes, "\0"s "1");
    // Text without a "hex:" prefix is taken literally, hex digits included.
    ASSERT_TRUE(Decode("2430", bytes, error));
    EXPECT_EQ(bytes, "2430");
}

TEST(DevsimBytes, BrokenNotationIsRefused)
{
    std::string bytes, error;
    EXPECT_FALSE(Decode("hex:243", bytes, error));
    EXPECT_FALSE(Decode("hex:2g", bytes, error));
    EXPECT_FALSE(Decode(R"(ab\)", bytes, error));
    EXPECT_FALSE(Decode(R"(\x4)", bytes, error));
    EXPECT_FALSE(Decode(R"(\q)", bytes, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ToHex("\0\x7f\x80\xff#"s), "007f80ff23");
}

TEST(DevsimOptions, ValuesAreTakenInBothSpellings)
{
    SimOptions o = Parse({ "--hostname", "box", "--mac=02:00:00:00:00:0a", "--mode", "1", "--count", "3",
        "--address", "198.18.0.100", "--raw-reply", "hex:2330", "--raw-reply", "#x@", "--change-reply=$7",
        "--duplicates", "2", "--reply-delay", "40", "--jitter", "5", "--target", "198.18.0.10", "--flood", "500",
        "--flood-seconds", "0.25", "--malformed", "-v", "--log", "/tmp/x", "--loss", "20", "--seed=4294967295",
        "--drop-first", "2", "--drop-first-replies", "1" });
    EXPECT_EQ(o.hostname, "box");
    EXPECT_EQ(o.mac, "02:00:00:00:00:0a");
    EXPECT_EQ(o.mode, 1);
    EXPECT_EQ(o.count, 3);
    EXPECT_EQ(o.rawReplies, (std::vector<std::string> { "#0", "#x@" }));
    EXPECT_EQ(o.changeReply, "$7");
    EXPECT_EQ(o.duplicates, 2);
    EXPECT_EQ(o.replyDelayMs, 40);
    EXPECT_EQ(o.jitterMs, 5);
    EXPECT_EQ(o.floodRate, 500);
    EXPECT_DOUBLE_EQ(o.floodSeconds, 0.25);
    EXPECT_EQ(o.floodTarget, "198.18.0.10"); // falls back on --target
    EXPECT_TRUE(o.malformed);
    EXPECT_TRUE(o.verbose);
    EXPECT_EQ(o.logFile, "/tmp/x");
    EXPECT_EQ(o.lossPercent, 20);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.dropFirst, 2);
    EXPECT_EQ(o.dropFirstReplies, 1);
    EXPECT_FALSE(Parse({}).seed); // from the clock
    Parse({ "--help" }, SimAction::Help);
}

TEST(DevsimOptions, BadCommandLinesNameTheProblem)
{
    EXPECT_NE(ParseError({ "--mode", "2" }).find("--mode"), std::string::npos);
    EXPECT_NE(ParseError({ "--count", "0" }).find("--count"), std::string::npos);
    EXPECT_NE(ParseError({ "--duplicates", "x" }).find("--duplicates"), std::string::npos);
    EXPECT_NE(ParseError({ "--address", "198.18.0.300" }).find("198.18.0.300"), std::string::npos);
    EXPECT_NE(ParseError({ "--nonsense" }).find("--nonsense"), std::string::npos);
    EXPECT_NE(ParseError({ "--hostname" }).find("needs a value"), std::string::npos);
    EXPECT_NE(ParseError({ "--malformed=1" }).find("takes no value"), std::string::npos);
    EXPECT_NE(ParseError({ "stray" }).find("stray"), std::string::npos);
    EXPECT_NE(ParseError({ "--raw-reply", "hex:1" }).find("odd"), std::string::npos);
    EXPECT_NE(ParseError({ "--flood", "100" }).find("--flood-target"), std::string::npos);
    EXPECT_NE(ParseError({ "--unsolicited", "$0" }).find("--target"), std::string::npos);
    EXPECT_NE(ParseError({ "--flood-seconds", "0" }).find("seconds"), std::string::npos);
    EXPECT_NE(ParseError({ "--loss", "101" }).find("--loss"), std::string::npos);
    EXPECT_NE(ParseError({ "--seed", "-1" }).find("--seed"), std::string::npos);
    EXPECT_NE(ParseError({ "--seed", "4294967296" }).find("--seed"), std::string::npos);
    ParseError({ "--address", "198.18.0.1", "--address", "198.18.0.2", "--count", "3" });
}

TEST(DevsimIdentity, ManyDevicesGetConsecutiveAddressesAndTheirOwnNames)
{
    SimOptions o = Parse({ "--count", "3", "--address", "198.18.0.254", "--hostname", "nas", "--mac",
        "02:00:00:00:00:FF" });
    std::vector<Ipv4> addresses = DeviceAddresses(o, Ip("127.0.0.1"));
    ASSERT_EQ(addresses.size(), 3u);
    std::vector<SimDevice> devices = MakeDevices(o, addresses);
    EXPECT_EQ(devices[0].address.ToText(), "198.18.0.254");
    EXPECT_EQ(devices[2].address.ToText(), "198.18.1.0"); // carries into the next octet
    EXPECT_EQ(devices[0].fields.hostname, "nas-0001");
    EXPECT_EQ(devices[2].fields.hostname, "nas-0003");
    EXPECT_EQ(devices[0].fields.mac, "02:00:00:00:00:FF");
    EXPECT_EQ(devices[1].fields.mac, "02:00:00:00:01:00");
    EXPECT_EQ(devices[0].fields.gateway, "198.18.0.1");
    EXPECT_EQ(devices[2].fields.gateway, "198.18.1.1");

    // One device keeps the plain name; without an address it takes the fallback.
    std::vector<SimDevice> one = MakeDevices(Parse({}), DeviceAddresses(Parse({}), Ip("198.18.3.7")));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].fields.hostname, "NAS");
    EXPECT_EQ(one[0].address.ToText(), "198.18.3.7");

    // Several addresses are taken as they are, in their order.
    SimOptions listed = Parse({ "--address", "198.18.0.9", "--address", "198.18.0.3" });
    std::vector<Ipv4> two = DeviceAddresses(listed, Ip("127.0.0.1"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].ToText(), "198.18.0.3");
}

TEST(DevsimIdentity, MacIncrementCarriesAndLeavesFreeTextAlone)
{
    EXPECT_EQ(IncrementMac("02:00:00:00:00:01", 0), "02:00:00:00:00:01");
    EXPECT_EQ(IncrementMac("02:00:00:00:00:01", 9), "02:00:00:00:00:0a");
    EXPECT_EQ(IncrementMac("02-00-00-00-ff-ff", 1), "02-00-00-01-00-00");
    EXPECT_EQ(IncrementMac("ff:ff:ff:ff:ff:ff", 1), "00:00:00:00:00:00");
    EXPECT_EQ(IncrementMac("not a mac", 5), "not a mac");
    EXPECT_EQ(IncrementMac("02:00:00:00:00:01x", 5), "02:00:00:00:00:01x");
}

TEST(DevsimIdentity, NetmaskPrefixAndRequestRecognition)
{
    EXPECT_EQ(PrefixOfNetmask("255.255.255.0"), 24);
    EXPECT_EQ(PrefixOfNetmask("255.255.128.0"), 17);
    EXPECT_EQ(PrefixOfNetmask("0.0.0.0"), 0);
    EXPECT_EQ(PrefixOfNetmask("255.255.255.255"), 32);
    EXPECT_EQ(PrefixOfNetmask("255.0.255.0"), -1);
    EXPECT_EQ(PrefixOfNetmask("255.255.255"), -1);

    EXPECT_TRUE(IsDiscoveryRequest("STSS\0"s));
    EXPECT_TRUE(IsDiscoveryRequest("STSS"));
    EXPECT_FALSE(IsDiscoveryRequest("STSS\0\0"s));
    EXPECT_FALSE(IsDiscoveryRequest("STSSX"));
    EXPECT_FALSE(IsDiscoveryRequest("STS"));
}

TEST(DevsimIdentity, ChangeDecisionFollowsAddressAndCredentials)
{
    SimDevice d = MakeDevices(Parse({ "--password", "pw" }), { Ip("198.18.0.20") })[0];
    ChangeRequest r { "198.18.0.20", "admin", "pw", "198.18.0.30", "255.255.0.0", "198.18.0.1", AddressMode::Static };
    SimOptions plain = Parse({});

    ChangeDecision ok = DecideChange(d, r, plain);
    EXPECT_TRUE(ok.addressed && ok.apply);
    EXPECT_EQ(ok.reply, "$0");

    ChangeRequest wrong = r;
    wrong.password = "PW";
    ChangeDecision denied = DecideChange(d, wrong, plain);
    EXPECT_TRUE(denied.addressed);
    EXPECT_FALSE(denied.apply);
    EXPECT_EQ(denied.reply, "$1");

    ChangeRequest other = r;
    other.current = "198.18.0.2"; // a prefix of the device's address is another address
    EXPECT_FALSE(DecideChange(d, other, plain).addressed);

    ChangeRequest badAddress = r;
    badAddress.address = "198.18.0";
    EXPECT_EQ(DecideChange(d, badAddress, plain).reply, "$2");
    ChangeRequest badMask = r;
    badMask.netmask = "255.0.255.0";
    EXPECT_FALSE(DecideChange(d, badMask, plain).apply);
    // DHCP does not look at the address fields.
    ChangeRequest dhcp = badAddress;
    dhcp.mode = AddressMode::Dhcp;
    EXPECT_EQ(DecideChange(d, dhcp, plain).reply, "$0");

    ChangeDecision overridden = DecideChange(d, r, Parse({ "--change-reply", "$7" }));
    EXPECT_EQ(overridden.reply, "$7");
    EXPECT_FALSE(overridden.apply);

    ApplyChangeFields(d, r);
    EXPECT_EQ(d.address.ToText(), "198.18.0.30");
    EXPECT_EQ(d.fields.gateway, "198.18.0.1");
    EXPECT_EQ(d.fields.netmask, "255.255.0.0");
    ApplyChangeFields(d, dhcp);
    EXPECT_EQ(d.fields.mode, "1");
    EXPECT_EQ(d.address.ToText(), "198.18.0.30");
}

TEST(DevsimIdentity, MalformedSetHoldsEveryKindOfBrokenReply)
{
    std::vector<std::string> replies = MalformedReplies();
    std::set<std::string> all(replies.begin(), replies.end());
    EXPECT_TRUE(all.contains("#"));
    EXPECT_TRUE(all.contains("#"s + std::string(1000, '@')));
    bool withNul = false, withoutSeparator = false;
    std::set<unsigned char> high;
    for (const std::string& r : replies) {
        withNul = withNul || (r.size() > 1 && r.find('\0') != std::string::npos);
        withoutSeparator = withoutSeparator || (r.size() > 1 && r.find('@') == std::string::npos);
        for (unsigned char c : r) {
            if (c >= 0x80)
                high.insert(c);
        }
    }
    EXPECT_TRUE(withNul);
    EXPECT_TRUE(withoutSeparator);
    EXPECT_EQ(high.size(), 128u);
}

// ---- The program on a virtual LAN ----

namespace {

struct Datagram {
    std::string from;
    int port = 0;
    std::string bytes;
};

class DevsimOnLan : public LanTest {
protected:
    void SetUpLan() override
    {
        m_dev = &lan.AddHost("dev", 0, 20);
        ASSERT_TRUE(lan.Ok()) << lan.Error();
        ASSERT_TRUE(lan.Enter(*op));
        ASSERT_EQ(OpenListener(), 0);
        // A flood must not overflow the tool's port while the test reads it.
        int bytes = 8 << 20;
        setsockopt(g_listener.m_hRawSocket, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes);
    }

    void TearDown() override
    {
        CloseListener();
        if (m_devsim.Pid() > 0)
            StopDevsim();
    }

    // Gives the device host 198.18.0.100 and the next count - 1 addresses,
    // for as many simulated devices; returns them.
    std::vector<std::string> AddDeviceAddresses(int count)
    {
        std::vector<std::string> added;
        for (int i = 0; i < count; ++i)
            added.push_back("198.18.0." + std::to_string(100 + i));
        lan.AddAddresses(*m_dev, added);
        return added;
    }

    // Starts the simulator on the device host and waits until it listens.
    void StartDevsim(const std::vector<std::string>& args)
    {
        ASSERT_TRUE(m_devsim.Start(*m_dev, args, std::chrono::seconds(5))) << m_devsim.Failure();
    }

    // SIGTERM must end it at once with status 0.
    void StopDevsim()
    {
        int status = m_devsim.Stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << ": " << m_devsim.Output();
    }

    // Reads what arrives at port 10001 until `expected` datagrams came or
    // `limitMs` passed; then goes on for `quietMs` to catch any extra one.
    std::vector<Datagram> Collect(size_t expected, int limitMs = 2000, int quietMs = 0)
    {
        std::vector<Datagram> got;
        auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        bool extra = false;
        for (;;) {
            auto now = Clock::now();
            if (!extra && got.size() >= expected) {
                extra = true;
                deadline = now + std::chrono::milliseconds(quietMs);
            }
            if (now >= deadline)
                return got;
            int wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count());
            if (WaitReadable(g_listener.m_hRawSocket, wait + 1) <= 0)
                continue;
            static char buffer[65536];
            sockaddr_in from {};
            socklen_t length = sizeof from;
            ssize_t n = recvfrom(g_listener.m_hRawSocket, buffer, sizeof buffer, MSG_DONTWAIT,
                reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0)
                continue;
            got.push_back({ Ipv4::FromInAddr(from.sin_addr).ToText(), ntohs(from.sin_port),
                std::string(buffer, static_cast<size_t>(n)) });
        }
    }

    // Sends a datagram to one address of the device host, port 10000.
    void SendTo(const std::string& address, const std::string& bytes)
    {
        CUdpSocket s;
        ASSERT_TRUE(s.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET));
        CSockAddr to(address.c_str(), kDevicePort);
        EXPECT_EQ(s.SendTo(bytes.data(), static_cast<int>(bytes.size()), to, 0), static_cast<int>(bytes.size()));
        s.Close();
    }

    std::string Addresses(const vlan::Host& host)
    {
        std::string out;
        lan.Run(host, { "ip", "-4", "-o", "addr", "show" }, &out);
        return out;
    }

    vlan::Host* m_dev = nullptr;
    CDevsimProcess m_devsim { lan };
};

} // namespace

TEST_F(DevsimOnLan, DiscoveryRequestArrivesAsFiveBytesAndIsAnsweredWithTheIdentity)
{
    StartDevsim({ "--hostname", "nas-a", "--mac", "02:aa:bb:cc:dd:0e", "--firmware", "2.1 beta", "--gateway",
        "198.18.0.1", "--netmask", "255.255.255.0", "--mode", "1" });
    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    std::vector<Datagram> got = Collect(1, 2000, 150);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.20");
    EXPECT_EQ(got[0].bytes, "#198.18.0.1@nas-a@02:aa:bb:cc:dd:0e@2.1 beta@255.255.255.0@1@");
    auto fields = SplitDiscoveryReply(got[0].bytes);
    EXPECT_EQ(fields[1], "nas-a");
    EXPECT_EQ(WalkAddressMode(got[0].bytes, -1), 1);

    std::vector<LoggedDatagram> log = m_devsim.Received();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].length, 5u);
    EXPECT_EQ(log[0].bytes, "STSS\0"s); // "STSS" and its NUL, nothing else
    EXPECT_EQ(log[0].destination, "255.255.255.255");
    EXPECT_EQ(log[0].source, "198.18.0.10");
}

TEST_F(DevsimOnLan, StaticChangeArrivesByteExactAndTheDeviceMovesToTheNewAddress)
{
    StartDevsim({ "--password", "s3cret", "--netmask", "255.255.0.0" });
    // New address in the old /24: it goes on as a secondary of the old
    // primary, which must not take it along when removed.
    ChangeRequest request { "198.18.0.20", "admin", "s3cret", "198.18.0.77", "255.255.255.0", "198.18.0.254", AddressMode::Static };
    std::string text = BuildChangeRequest(request);
    ASSERT_EQ(SendBroadcast(text), 1);
    std::vector<Datagram> got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].bytes, "$0");
    EXPECT_EQ(got[0].from, "198.18.0.77"); // moved before it answered

    std::vector<LoggedDatagram> log = m_devsim.Received();
    ASSERT_EQ(log.size(), 1u);
    const std::string expected = "STLG@198.18.0.20@admin@s3cret@198.18.0.77@255.255.255.0@198.18.0.254@0\0"s;
    EXPECT_EQ(log[0].length, text.size() + 1);
    EXPECT_EQ(log[0].bytes, expected);

    // The interface holds the new address only, and the device answers from it.
    std::string addresses = Addresses(*m_dev);
    EXPECT_NE(addresses.find("198.18.0.77/24"), std::string::npos) << addresses;
    EXPECT_EQ(addresses.find("198.18.0.20/"), std::string::npos) << addresses;
    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.77");
    EXPECT_EQ(got[0].bytes, "#198.18.0.254@NAS@02:00:00:00:00:01@1.0.0@255.255.255.0@0@");
    EXPECT_NE(m_devsim.Output().find("198.18.0.20 is now 198.18.0.77"), std::string::npos) << m_devsim.Output();
}

TEST_F(DevsimOnLan, DhcpChangeEndsWithItsOwnSeparatorAndKeepsTheAddress)
{
    StartDevsim({ "--user", "root", "--password", "pw" });
    ChangeRequest request { "198.18.0.20", "root", "pw", "198.18.0.20", "255.255.255.0", "198.18.0.1", AddressMode::Dhcp };
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(request)), 1);
    std::vector<Datagram> got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].bytes, "$0");

    std::vector<LoggedDatagram> log = m_devsim.Received();
    ASSERT_EQ(log.size(), 1u);
    const std::string expected = "STLG@198.18.0.20@root@pw@198.18.0.20@255.255.255.0@198.18.0.1@1@\0"s;
    EXPECT_EQ(log[0].length, expected.size());
    EXPECT_EQ(log[0].bytes, expected);

    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.20");
    EXPECT_EQ(WalkAddressMode(got[0].bytes, -1), 1);
}

TEST_F(DevsimOnLan, WrongCredentialsAreDeniedAndChangeNothing)
{
    StartDevsim({ "--user", "admin", "--password", "pw" });
    ChangeRequest request { "198.18.0.20", "admin", "pw ", "198.18.0.77", "255.255.255.0", "198.18.0.1", AddressMode::Static };
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(request)), 1);
    request.user = "Admin";
    request.password = "pw";
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(request)), 1);
    std::vector<Datagram> got = Collect(2, 2000, 100);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].bytes, "$1");
    EXPECT_EQ(got[1].bytes, "$1");
    EXPECT_NE(Addresses(*m_dev).find("198.18.0.20/24"), std::string::npos);

    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.20");
    EXPECT_EQ(got[0].bytes, "#198.18.0.1@NAS@02:00:00:00:00:01@1.0.0@255.255.255.0@0@");
}

TEST_F(DevsimOnLan, RequestsForOthersAndBrokenRequestsAreIgnored)
{
    StartDevsim({});
    ChangeRequest other { "198.18.0.2", "admin", "admin", "198.18.0.77", "255.255.255.0", "198.18.0.1", AddressMode::Static };
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(other)), 1);
    // Static ending with a DHCP-style '@' after it, and an unknown mode.
    ASSERT_EQ(SendBroadcast("STLG@198.18.0.20@admin@admin@198.18.0.77@255.255.255.0@198.18.0.1@0@"), 1);
    ASSERT_EQ(SendBroadcast("STLG@198.18.0.20@admin@admin@198.18.0.77@255.255.255.0@198.18.0.1@2"), 1);
    ASSERT_EQ(SendBroadcast("STSS "), 1);
    std::vector<Datagram> got = Collect(1, 300);
    EXPECT_TRUE(got.empty()) << got[0].bytes;
    EXPECT_EQ(m_devsim.Received().size(), 4u); // all arrived, none answered
    EXPECT_NE(Addresses(*m_dev).find("198.18.0.20/24"), std::string::npos);
}

TEST_F(DevsimOnLan, TwentyFiveDevicesAnswerFromTheirOwnAddresses)
{
    std::vector<std::string> extra = AddDeviceAddresses(25);
    ASSERT_TRUE(lan.Ok()) << lan.Error();
    StartDevsim({ "--count", "25", "--address", "198.18.0.100", "--hostname", "nas" });

    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    std::vector<Datagram> got = Collect(25, 3000, 150);
    ASSERT_EQ(got.size(), 25u);
    std::set<std::string> senders;
    for (const Datagram& d : got) {
        senders.insert(d.from);
        int index = std::stoi(d.from.substr(d.from.rfind('.') + 1)) - 100;
        char name[16], mac[18];
        std::snprintf(name, sizeof name, "nas-%04d", index + 1);
        std::snprintf(mac, sizeof mac, "02:00:00:00:00:%02x", index + 1);
        auto fields = SplitDiscoveryReply(d.bytes);
        EXPECT_EQ(fields[1], name) << d.from;
        EXPECT_EQ(fields[2], mac) << d.from;
    }
    EXPECT_EQ(senders, std::set<std::string>(extra.begin(), extra.end()));

    // Sent to one device's own address, the request is that device's alone.
    SendTo("198.18.0.107", "STSS\0"s);
    got = Collect(1, 2000, 200);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.107");
    EXPECT_EQ(SplitDiscoveryReply(got[0].bytes)[1], "nas-0008");

    // One device moves; the others stay where they are.
    ChangeRequest move { "198.18.0.110", "admin", "admin", "198.18.0.210", "255.255.255.0", "198.18.0.1", AddressMode::Static };
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(move)), 1);
    got = Collect(1, 2000, 100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, "198.18.0.210");
    EXPECT_EQ(got[0].bytes, "$0");
    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    got = Collect(25, 3000, 150);
    senders.clear();
    for (const Datagram& d : got)
        senders.insert(d.from);
    EXPECT_EQ(senders.size(), 25u);
    EXPECT_TRUE(senders.contains("198.18.0.210"));
    EXPECT_FALSE(senders.contains("198.18.0.110"));
    EXPECT_TRUE(senders.contains("198.18.0.124"));
}

// Each device loses requests and replies on its own, at random: the same
// ones again for the same seed, about the share asked for.
TEST_F(DevsimOnLan, LossIsPerDeviceAndTheSameForTheSameSeed)
{
    AddDeviceAddresses(40);
    ASSERT_TRUE(lan.Ok()) << lan.Error();
    // The senders answering each of three requests, sorted.
    auto answers = [&](const char* seed) {
        StartDevsim({ "--count", "40", "--address", "198.18.0.100", "--loss", "30", "--seed", seed });
        std::vector<std::string> senders;
        for (int round = 0; round < 3; ++round) {
            EXPECT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
            std::vector<std::string> heard;
            for (const Datagram& d : Collect(40, 400))
                heard.push_back(d.from);
            std::sort(heard.begin(), heard.end());
            senders.insert(senders.end(), heard.begin(), heard.end());
            senders.push_back("--");
        }
        StopDevsim();
        return senders;
    };
    std::vector<std::string> first = answers("7");
    size_t replies = first.size() - 3;
    EXPECT_GT(replies, 24u); // of 120, each kept with a chance of 0.7 x 0.7
    EXPECT_LT(replies, 96u);
    EXPECT_EQ(answers("7"), first);
    EXPECT_NE(answers("8"), first);
}

TEST_F(DevsimOnLan, RawRepliesComeOutByteForByteAndDuplicatesRepeatTheWholeAnswer)
{
    StartDevsim({ "--raw-reply", "hex:2300ff40", "--raw-reply", R"(#a@b\x80@\0)", "--duplicates", "3" });
    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    std::vector<Datagram> got = Collect(6, 2000, 200);
    ASSERT_EQ(got.size(), 6u);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].bytes, i % 2 == 0 ? "#\0\xff@"s : "#a@b\x80@\0"s) << i;
        EXPECT_EQ(got[i].from, "198.18.0.20");
    }
}

TEST_F(DevsimOnLan, ChangeReplyOverrideComesAfterTheDelayAndChangesNothing)
{
    StartDevsim({ "--change-reply", "$7", "--reply-delay", "150" });
    ChangeRequest request { "198.18.0.20", "admin", "admin", "198.18.0.77", "255.255.255.0", "198.18.0.1", AddressMode::Static };
    auto sent = Clock::now();
    ASSERT_EQ(SendBroadcast(BuildChangeRequest(request)), 1);
    std::vector<Datagram> got = Collect(1, 2000);
    auto took = Clock::now() - sent;
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].bytes, "$7");
    EXPECT_GE(took, std::chrono::milliseconds(150));
    EXPECT_LT(took, std::chrono::milliseconds(1500));
    EXPECT_NE(Addresses(*m_dev).find("198.18.0.20/24"), std::string::npos);
    EXPECT_EQ(Addresses(*m_dev).find("198.18.0.77"), std::string::npos);
}

TEST_F(DevsimOnLan, MalformedRepliesAreSentWhole)
{
    StartDevsim({ "--malformed" });
    ASSERT_EQ(SendBroadcast(BuildDiscoveryRequest()), 1);
    std::vector<std::string> expected = MalformedReplies();
    std::vector<Datagram> got = Collect(expected.size(), 2000, 150);
    ASSERT_EQ(got.size(), expected.size());
    std::multiset<std::string> wanted(expected.begin(), expected.end()), received;
    for (const Datagram& d : got)
        received.insert(d.bytes);
    EXPECT_EQ(received, wanted);
}

TEST_F(DevsimOnLan, FloodKeepsItsRateAndEnds)
{
    StartDevsim({ "--flood", "2000", "--flood-seconds", "0.5", "--flood-target", "198.18.0.10" });
    std::vector<Clock::time_point> times;
    std::vector<Datagram> got;
    auto deadline = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < deadline && got.size() < 1000) {
        std::vector<Datagram> some = Collect(1, 300);
        if (some.empty())
            break;
        times.push_back(Clock::now());
        got.insert(got.end(), some.begin(), some.end());
    }
    std::vector<Datagram> after = Collect(1, 300);
    EXPECT_EQ(got.size(), 1000u);
    EXPECT_TRUE(after.empty()) << "flood went on";
    ASSERT_FALSE(times.empty());
    auto span = times.back() - times.front();
    // Paced, not in one burst (which takes a few ms); a reader held up on a
    // loaded machine finds some of them queued, so less than the 500 ms.
    EXPECT_GT(span, std::chrono::milliseconds(200));
    EXPECT_LT(span, std::chrono::milliseconds(2000));
    size_t marked = 0;
    for (const Datagram& d : got) {
        EXPECT_EQ(d.from, "198.18.0.20");
        marked += !d.bytes.empty() && (d.bytes[0] == '#' || d.bytes[0] == '$');
    }
    EXPECT_GT(marked, 600u); // two thirds pose as replies
    EXPECT_NE(m_devsim.Output().find("flood done, 1000 datagrams"), std::string::npos) << m_devsim.Output();
}

TEST_F(DevsimOnLan, EveryLengthStartsAtZeroAndGrowsByOne)
{
    StartDevsim({ "--every-length", "198.18.0.10" });
    // The first few hundred are small and all fit in the receive buffer.
    std::vector<Datagram> got = Collect(300, 3000);
    ASSERT_GE(got.size(), 300u);
    for (size_t i = 0; i < 300; ++i) {
        ASSERT_EQ(got[i].bytes.size(), i);
        if (i > 0) {
            EXPECT_EQ(got[i].bytes[0], i % 2 ? '$' : '#');
        }
    }
    // Stopped in the middle of the stream, it still ends cleanly (TearDown).
}

TEST_F(DevsimOnLan, UnsolicitedRepliesComeFromEveryDeviceAtTheInterval)
{
    lan.AddAddresses(*m_dev, { "198.18.0.100", "198.18.0.101", "198.18.0.102" });
    ASSERT_TRUE(lan.Ok()) << lan.Error();
    auto started = Clock::now();
    StartDevsim({ "--count", "3", "--address", "198.18.0.100", "--unsolicited", "$0", "--unsolicited", "#u@",
        "--interval", "100", "--target", "198.18.0.10" });
    std::vector<Datagram> got = Collect(1000, 450);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    // One round at start, then one every 100 ms: 6 datagrams a round.
    size_t rounds = got.size() / 6;
    EXPECT_GE(rounds, 2u);
    EXPECT_LE(rounds, static_cast<size_t>(elapsed / 100 + 1));
    std::set<std::string> senders;
    for (const Datagram& d : got) {
        senders.insert(d.from);
        EXPECT_TRUE(d.bytes == "$0" || d.bytes == "#u@") << d.bytes;
    }
    EXPECT_EQ(senders, (std::set<std::string> { "198.18.0.100", "198.18.0.101", "198.18.0.102" }));
}

TEST_F(DevsimOnLan, StartFailuresAreReportedWithTheirStatus)
{
    std::string out;
    EXPECT_EQ(lan.Run(*m_dev, { DevsimPath(), "--mode", "3" }, &out), 2);
    EXPECT_NE(out.find("--mode"), std::string::npos) << out;
    EXPECT_EQ(lan.Run(*m_dev, { DevsimPath(), "--address", "198.18.0.99" }, &out), 1);
    EXPECT_NE(out.find("198.18.0.99 is not an address of this host"), std::string::npos) << out;
    EXPECT_EQ(lan.Run(*m_dev, { DevsimPath(), "--help" }, &out), 0);
    EXPECT_NE(out.find("Usage: orbisk-devsim"), std::string::npos);
}
