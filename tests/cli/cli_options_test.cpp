#include "cli_command.h"
#include "cli_net.h"
#include "cli_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

// The arguments after the command's name as its command line reads them;
// nothing when refused, with the message for standard error in `error`.
template <class O>
std::optional<O> Parse(const CommandDefinition<O>& definition, const std::vector<std::string>& args, std::string* error)
{
    Result<O> o = ParseCommand(args, definition);
    if (error)
        *error = o.Failure().Message();
    return o.Ok() ? std::optional<O>(*o) : std::nullopt;
}

std::optional<ScanOptions> Scan(const std::vector<std::string>& args, std::string* error = nullptr)
{
    return Parse(ScanDefinition(), args, error);
}

std::optional<SetIpOptions> SetIp(const std::vector<std::string>& args, std::string* error = nullptr)
{
    return Parse(SetIpDefinition(), args, error);
}

const std::vector<std::string> kStatic = { "198.18.0.20", "--static", "--address", "198.18.0.77", "--netmask",
    "255.255.255.0", "--gateway", "198.18.0.1", "--user", "admin" };

TEST(CliOptions, DottedQuadIsStrict)
{
    for (const char* good : { "0.0.0.0", "255.255.255.255", "192.168.1.20", "10.0.0.1" })
        EXPECT_TRUE(IsDottedQuadIpv4(good)) << good;
    for (const char* bad : { "", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.04", "01.2.3.4", "1..2.3", "1.2.3.4.",
             ".1.2.3", "1.2.3.a", " 1.2.3.4", "1.2.3.4 ", "+1.2.3.4", "1.2.3.1000", "0x1.2.3.4", "1.2.3.-1" })
        EXPECT_FALSE(IsDottedQuadIpv4(bad)) << bad;
}

TEST(CliOptions, TargetIsAnAddressOrTheSubnetBroadcast)
{
    const std::pair<const char*, const char*> destinations[] = {
        { "198.18.5.7", "198.18.5.7" },
        { "198.18.5.0/24", "198.18.5.255" },
        { "198.18.5.9/24", "198.18.5.255" },
        { "198.18.0.0/15", "198.19.255.255" },
        { "198.18.5.7/32", "198.18.5.7" },
        { "10.1.2.3/0", "255.255.255.255" },
    };
    for (const auto& [target, destination] : destinations)
        EXPECT_EQ(TargetDestination(target), destination) << target;
    for (const char* bad : { "198.18.5.0/", "198.18.5.0/33", "198.18.5.0/2a", "198.18.5/24", "host/24", "/24" })
        EXPECT_FALSE(TargetDestination(bad)) << bad;
}

TEST(CliOptions, ScanDefaultsAndFormats)
{
    auto o = Scan({});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->timeoutMs, 1500);
    EXPECT_EQ(o->format, OutputFormat::Table);
    EXPECT_FALSE(o->plan.allInterfaces);
    EXPECT_TRUE(o->plan.interfaceName.empty());
    EXPECT_TRUE(o->plan.targets.empty());

    EXPECT_EQ(Scan({ "--json" })->format, OutputFormat::Json);
    EXPECT_EQ(Scan({ "--csv" })->format, OutputFormat::Csv);
    EXPECT_EQ(Scan({ "--timeout", "250" })->timeoutMs, 250);
    EXPECT_EQ(Scan({ "--timeout=40" })->timeoutMs, 40);
    EXPECT_EQ(o->repeat, 3);
    EXPECT_EQ(Scan({ "--repeat", "1" })->repeat, 1);
    EXPECT_EQ(Scan({ "--repeat=5" })->repeat, 5);
    EXPECT_EQ(Scan({ "--interface", "eth1" })->plan.interfaceName, "eth1");
    EXPECT_TRUE(Scan({ "--all-interfaces" })->plan.allInterfaces);
    auto targets = Scan({ "--target", "198.18.5.0/24", "--target=198.18.6.3" });
    ASSERT_TRUE(targets);
    EXPECT_EQ(targets->plan.targets, (std::vector<std::string> { "198.18.5.255", "198.18.6.3" }));
    EXPECT_TRUE(Scan({ "--json", "--help" })->help);
}

TEST(CliOptions, ScanRefusesBadOptionsWithAReason)
{
    std::string error;
    EXPECT_FALSE(Scan({ "--json", "--csv" }, &error));
    EXPECT_NE(error.find("exclude"), std::string::npos);
    EXPECT_FALSE(Scan({ "--interface", "eth0", "--all-interfaces" }, &error));
    EXPECT_FALSE(Scan({ "--target", "1.2.3.4", "--all-interfaces" }, &error));
    EXPECT_FALSE(Scan({ "--timeout" }, &error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
    for (const char* bad : { "0", "-5", "12x", "", "99999999999" }) {
        EXPECT_FALSE(Scan({ "--timeout", bad }, &error)) << bad;
        EXPECT_NE(error.find("--timeout"), std::string::npos);
    }
    for (const char* bad : { "0", "6", "-1", "2x", "", "03" }) {
        EXPECT_FALSE(Scan({ "--repeat", bad }, &error)) << bad;
        EXPECT_EQ(error, "--repeat \"" + std::string(bad) + "\" is not a number of requests from 1 to 5");
    }
    EXPECT_FALSE(Scan({ "--target", "300.1.1.1" }, &error));
    EXPECT_NE(error.find("300.1.1.1"), std::string::npos);
    EXPECT_FALSE(Scan({ "--interface", "" }, &error));
    EXPECT_FALSE(Scan({ "--verbose" }, &error));
    EXPECT_EQ(error, "unknown option --verbose");
    EXPECT_FALSE(Scan({ "extra" }, &error));
    EXPECT_FALSE(Scan({ "--json=yes" }, &error));
}

// The requests of one scan: a few hundred ms apart, none in the second half
// of the timeout, where its answers might not arrive in time.
TEST(CliOptions, RepeatedRequestsLeaveEarlyInTheTimeout)
{
    EXPECT_EQ(RequestOffsetsMs(1, 1500), (std::vector<int> { 0 }));
    EXPECT_EQ(RequestOffsetsMs(3, 1500), (std::vector<int> { 0, 250, 600 }));
    for (int timeout : { 1, 300, 1000, 1500, 60000 }) {
        for (int repeat = 1; repeat <= 5; ++repeat) {
            std::vector<int> offsets = RequestOffsetsMs(repeat, timeout);
            ASSERT_EQ(offsets.size(), static_cast<size_t>(repeat));
            EXPECT_EQ(offsets[0], 0);
            EXPECT_LE(offsets.back(), timeout / 2) << repeat << " in " << timeout;
            EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
        }
    }
    EXPECT_EQ(RequestOffsetsMs(3, 300), (std::vector<int> { 0, 62, 150 }));
}

TEST(CliOptions, SetIpStaticTakesTheValuesAsGiven)
{
    auto o = SetIp(kStatic);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->device, "198.18.0.20");
    EXPECT_EQ(o->mode, AddressMode::Static);
    EXPECT_EQ(o->address, "198.18.0.77");
    EXPECT_EQ(o->netmask, "255.255.255.0");
    EXPECT_EQ(o->gateway, "198.18.0.1");
    EXPECT_EQ(o->user, "admin");
    EXPECT_EQ(o->timeoutMs, 3000);
    EXPECT_FALSE(o->passwordStdin);
    EXPECT_FALSE(o->verify);

    auto more = kStatic;
    more.insert(more.end(), { "--password-stdin", "--verify", "--timeout", "500", "--interface", "eth1" });
    o = SetIp(more);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->passwordStdin);
    EXPECT_TRUE(o->verify);
    EXPECT_EQ(o->timeoutMs, 500);
    EXPECT_EQ(o->plan.interfaceName, "eth1");
}

TEST(CliOptions, SetIpDhcpNeedsNoAddressValues)
{
    auto o = SetIp({ "198.18.0.20", "--dhcp", "--user", "root" });
    ASSERT_TRUE(o);
    EXPECT_EQ(o->mode, AddressMode::Dhcp);
    std::string error;
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--dhcp", "--user", "root", "--address", "1.2.3.4" }, &error));
    EXPECT_NE(error.find("--dhcp"), std::string::npos);
}

TEST(CliOptions, SetIpNamesTheMalformedValue)
{
    struct Case {
        const char* option;
        const char* value;
    };
    for (Case c : { Case { "--address", "198.18.0.256" }, Case { "--netmask", "255.255.255" },
             Case { "--gateway", "gw.example" }, Case { "--address", "198.18.0.077" } }) {
        auto args = kStatic;
        for (size_t i = 0; i + 1 < args.size(); ++i) {
            if (args[i] == c.option)
                args[i + 1] = c.value;
        }
        std::string error;
        EXPECT_FALSE(SetIp(args, &error)) << c.option;
        EXPECT_NE(error.find(c.option), std::string::npos) << error;
        EXPECT_NE(error.find(std::string("\"") + c.value + "\""), std::string::npos) << error;
    }
    auto args = kStatic;
    args[0] = "198.18.0";
    std::string error;
    EXPECT_FALSE(SetIp(args, &error));
    EXPECT_NE(error.find("\"198.18.0\""), std::string::npos);
}

TEST(CliOptions, SetIpRefusesIncompleteOrContradictoryCommands)
{
    std::string error;
    EXPECT_FALSE(SetIp({ "--static", "--address", "1.2.3.4", "--netmask", "255.0.0.0", "--gateway", "1.0.0.1",
                           "--user", "a" },
        &error));
    EXPECT_NE(error.find("present address"), std::string::npos);
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--user", "a" }, &error));
    EXPECT_NE(error.find("--static or --dhcp"), std::string::npos);
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--static", "--dhcp", "--user", "a" }, &error));
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--static", "--address", "1.2.3.4", "--netmask", "255.0.0.0", "--user", "a" },
        &error));
    EXPECT_EQ(error, "--static needs --gateway");
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--dhcp" }, &error));
    EXPECT_NE(error.find("--user"), std::string::npos);
    EXPECT_FALSE(SetIp({ "198.18.0.20", "--dhcp", "--user", "" }, &error));
    EXPECT_FALSE(SetIp({ "198.18.0.20", "198.18.0.21", "--dhcp", "--user", "a" }, &error));
    EXPECT_NE(error.find("198.18.0.21"), std::string::npos);
}

TEST(CliOptions, ThereIsNoWayToPutThePasswordOnTheCommandLine)
{
    std::string error;
    for (auto extra : { std::vector<std::string> { "--password", "secret" },
             std::vector<std::string> { "--password=secret" } }) {
        auto args = kStatic;
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_FALSE(SetIp(args, &error));
        EXPECT_NE(error.find("--password-stdin"), std::string::npos);
    }
}

} // namespace
