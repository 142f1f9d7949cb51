#include "wire.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A byte string with embedded NULs, taken whole from a literal.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

ChangeRequest Sample(AddressMode mode)
{
    return { "198.18.0.20", "admin", "pw", "198.18.0.30", "255.255.0.0", "198.18.0.1", mode };
}

TEST(WireRequests, DiscoveryRequestIsFourCharacters)
{
    std::string text = BuildDiscoveryRequest();
    EXPECT_EQ(text, "STSS");
}

TEST(WireRequests, ChangeRequestEndingsDifferInLength)
{
    EXPECT_EQ(BuildChangeRequest(Sample(AddressMode::Static)),
              "STLG@198.18.0.20@admin@pw@198.18.0.30@255.255.0.0@198.18.0.1@0");
    EXPECT_EQ(BuildChangeRequest(Sample(AddressMode::Dhcp)),
              "STLG@198.18.0.20@admin@pw@198.18.0.30@255.255.0.0@198.18.0.1@1@");
    // A mode not given goes out as DHCP.
    EXPECT_EQ(BuildChangeRequest(Sample(AddressMode::NotGiven)), BuildChangeRequest(Sample(AddressMode::Dhcp)));
}

TEST(WireRequests, ChangeRequestFieldOrderIsNetmaskBeforeGateway)
{
    ChangeRequest r { "C", "U", "P", "A", "N", "G", AddressMode::Static };
    EXPECT_EQ(BuildChangeRequest(r), "STLG@C@U@P@A@N@G@0");
    r.mode = AddressMode::Dhcp;
    EXPECT_EQ(BuildChangeRequest(r), "STLG@C@U@P@A@N@G@1@");
}

TEST(WireRequests, ValuesGoOutUnescaped)
{
    ChangeRequest r { "C", "a@b", "p\xb2\xe2", "A", "N", "", AddressMode::Static };
    EXPECT_EQ(BuildChangeRequest(r), "STLG@C@a@b@p\xb2\xe2@A@N@@0");
}

TEST(WireRequests, ParseReadsBackBothForms)
{
    for (AddressMode mode : { AddressMode::Static, AddressMode::Dhcp }) {
        std::string text = BuildChangeRequest(Sample(mode));
        for (std::string datagram : { text, text + std::string(1, '\0'), text + std::string("\0junk", 5) }) {
            auto parsed = ParseChangeRequest(datagram);
            ASSERT_TRUE(parsed.has_value()) << datagram;
            ChangeRequest expected = Sample(mode);
            EXPECT_EQ(parsed->current, expected.current);
            EXPECT_EQ(parsed->user, expected.user);
            EXPECT_EQ(parsed->password, expected.password);
            EXPECT_EQ(parsed->address, expected.address);
            EXPECT_EQ(parsed->netmask, expected.netmask);
            EXPECT_EQ(parsed->gateway, expected.gateway);
            EXPECT_EQ(parsed->mode, mode);
        }
    }
    auto empties = ParseChangeRequest("STLG@@@@@@@0");
    ASSERT_TRUE(empties.has_value());
    EXPECT_EQ(empties->current, "");
    EXPECT_EQ(empties->gateway, "");
}

TEST(WireRequests, ParseRejectsTruncatedAndGarbage)
{
    for (AddressMode mode : { AddressMode::Static, AddressMode::Dhcp }) {
        std::string text = BuildChangeRequest(Sample(mode));
        for (size_t n = 0; n < text.size(); ++n)
            EXPECT_FALSE(ParseChangeRequest(text.substr(0, n)).has_value()) << text.substr(0, n);
    }
    for (const char* garbage : { "", "STSS", "stlg@C@U@P@A@N@G@0", "STLG@C@U@P@A@N@G@0@", "STLG@C@U@P@A@N@G@1",
             "STLG@C@U@P@A@N@G@2", "STLG@C@U@P@A@N@G@0x", "STLG@C@U@P@A@N@G@1@x", "XSTLG@C@U@P@A@N@G@0",
             "STLG@C@a@b@P@A@N@G@0" })
        EXPECT_FALSE(ParseChangeRequest(garbage).has_value()) << garbage;
    // A NUL cuts the text, so an ending after it does not count.
    EXPECT_FALSE(ParseChangeRequest(Bytes("STLG@C@U@P@A@N@G\0@0")).has_value());
}

TEST(WireReplies, BuiltDiscoveryReplySplitsIntoItsFields)
{
    std::string reply = BuildDiscoveryReply({ "G", "H", "M", "V", "N", "1" });
    EXPECT_EQ(reply, "#G@H@M@V@N@1@");
    auto f = SplitDiscoveryReply(reply);
    EXPECT_EQ(f[0], "G");
    EXPECT_EQ(f[1], "H");
    EXPECT_EQ(f[2], "M");
    EXPECT_EQ(f[3], "V");
    EXPECT_EQ(f[4], "N");
    EXPECT_EQ(f[5], "1");
    EXPECT_TRUE(IsCompleteDiscoveryReply(reply));
}

TEST(WireReplies, SplitLeavesFieldsWithoutBothSeparatorsEmpty)
{
    auto f = SplitDiscoveryReply("#G@H@Mac");
    EXPECT_EQ(f[0], "G");
    EXPECT_EQ(f[1], "H");
    for (int j = 2; j < wire::kDiscoveryFields; ++j)
        EXPECT_EQ(f[j], "") << j;

    auto five = SplitDiscoveryReply("#G@H@M@V@N@1");
    EXPECT_EQ(five[4], "N");
    EXPECT_EQ(five[5], "");

    auto adjacent = SplitDiscoveryReply("#@@x@@@@tail");
    EXPECT_EQ(adjacent[0], "");
    EXPECT_EQ(adjacent[2], "x");
    EXPECT_EQ(adjacent[5], "");

    for (const auto& field : SplitDiscoveryReply("#"))
        EXPECT_EQ(field, "");
}

TEST(WireReplies, CompleteMeansFiveClosedFields)
{
    EXPECT_TRUE(IsCompleteDiscoveryReply("#@@@@@"));
    EXPECT_TRUE(IsCompleteDiscoveryReply("#G@H@M@V@N@1"));
    EXPECT_FALSE(IsCompleteDiscoveryReply("#G@H@M@V@N"));
    EXPECT_FALSE(IsCompleteDiscoveryReply("G@H@M@V@N@1@"));
    EXPECT_FALSE(IsCompleteDiscoveryReply(""));
}

int Walk(const std::string& datagram, int current)
{
    return WalkAddressMode(std::span<const char>(datagram.data(), datagram.size()), current);
}

TEST(WireReplies, AddressModeWalkTakesTheLastDigitOfTheSixthField)
{
    EXPECT_EQ(Walk("#G@H@M@V@N@0@", 1), 0);
    EXPECT_EQ(Walk("#G@H@M@V@N@1@", 0), 1);
    EXPECT_EQ(Walk("#G@H@M@V@N@10@", 1), 0);
    EXPECT_EQ(Walk("#G@H@M@V@N@01@", 0), 1);
    EXPECT_EQ(Walk("#G@H@M@V@N@x1y@", 0), 1);
    EXPECT_EQ(Walk("#G@H@M@V@N@@", 1), 1);
    EXPECT_EQ(Walk("#G@H@M@V@N@@", -1), -1);
    EXPECT_EQ(Walk("#G@H@M@V@N@2@", 0), 0);
    // Digits in the other fields and after the sixth '@' do not count.
    EXPECT_EQ(Walk("#1@1@1@1@1@@1", 0), 0);
    EXPECT_EQ(Walk("#G@H@M@V@N@0@1", 1), 0);
}

TEST(WireReplies, AddressModeWalkStopsAtTheEndOfTheDatagram)
{
    EXPECT_EQ(Walk("#G@H@M@V@N@1", 0), 1);
    EXPECT_EQ(Walk("#G@H@M@V@N@10", 1), 0);
    EXPECT_EQ(Walk("#G@H@M@V@1", 0), 0); // no fifth '@': no mode field
    EXPECT_EQ(Walk(Bytes("#G@H@M@V@N@\0" "1@"), 0), 1);
    // Bytes beyond the span are never read.
    std::string buffer = "#G@H@M@V@N@01@";
    EXPECT_EQ(WalkAddressMode(std::span<const char>(buffer.data(), 12), 1), 0);
    EXPECT_EQ(WalkAddressMode(std::span<const char>(buffer.data(), 10), 0), 0);
}

} // namespace
