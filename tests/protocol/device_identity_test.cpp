#include "device_identity.h"

#include <gtest/gtest.h>

namespace {

DeviceReply Reply(std::string sender, std::string hostname, std::string mac)
{
    return DeviceReply { std::move(sender), "198.18.0.1", std::move(hostname), std::move(mac), "1.0", "255.255.255.0",
        AddressMode::Static, 0 };
}

// Every listing and every look-up compares MAC addresses one way, and an
// operator's target names a device by one rule.
TEST(DeviceIdentity, OneMacEqualityAndOneTargetRule)
{
    EXPECT_TRUE(SameMac("02:AA:bb:00:00:01", "02-aa-BB-00-00-01"));
    EXPECT_TRUE(SameMac("02aa.bb00.0001", "02AABB000001"));
    EXPECT_FALSE(SameMac("02:aa:bb:00:00:01", "02:aa:bb:00:00:02"));
    // A text that is no MAC address is the same only as itself, case aside.
    EXPECT_TRUE(SameMac("no-mac", "NO-MAC"));
    EXPECT_FALSE(SameMac("no-mac", "02:aa:bb:00:00:01"));
    EXPECT_TRUE(SameMac("", ""));
    EXPECT_FALSE(SameMac("", "02:aa:bb:00:00:01"));

    const DeviceReply nas = Reply("198.18.0.20", "Nas-01", "02:AA:BB:00:00:01");
    for (const char* names : { "02aa.bb00.0001", "02-aa-bb-00-00-01", "nas-01", "NAS-01", "198.18.0.20" })
        EXPECT_TRUE(IsNamedBy(nas, names)) << names;
    for (const char* other : { "02:aa:bb:00:00:02", "nas", "198.18.0.2", "198.18.0.020", "" })
        EXPECT_FALSE(IsNamedBy(nas, other)) << other;
    // A dotted quad is an address, whatever host name a device gives itself.
    EXPECT_FALSE(IsNamedBy(Reply("198.18.0.21", "198.18.0.20", "02:aa:bb:00:00:03"), "198.18.0.20"));
    // No MAC address sent: a MAC target does not name it.
    EXPECT_FALSE(IsNamedBy(Reply("198.18.0.22", "bare", ""), "02:aa:bb:00:00:01"));

    // The keys: each listing's rule, the MAC address in any notation alike.
    const DeviceReply moved = Reply("198.18.0.30", "nas-01", "02-aa-bb-00-00-01");
    const DeviceReply twin = Reply("198.18.0.20", "twin", "02:aa:bb:00:00:09");
    EXPECT_EQ(ListingKey(nas), ListingKey(Reply("198.18.0.20", "x", "02aabb000001")));
    EXPECT_NE(ListingKey(nas), ListingKey(twin));
    EXPECT_NE(ListingKey(nas), ListingKey(moved));
    EXPECT_EQ(DesktopRowKey(nas), DesktopRowKey(twin));
    EXPECT_EQ(RecordKey(nas), RecordKey(moved));
    EXPECT_NE(RecordKey(nas), RecordKey(twin));
    EXPECT_NE(RecordKey(Reply("198.18.0.40", "a", "")), RecordKey(Reply("198.18.0.41", "a", "")));
    EXPECT_EQ(WatchName(nas), "02:AA:BB:00:00:01");
    EXPECT_EQ(WatchName(Reply("198.18.0.40", "a", "")), "198.18.0.40");
}

} // namespace
