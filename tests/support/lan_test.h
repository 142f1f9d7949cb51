#pragma once

// A test on a virtual LAN of its own (virtual_lan.h), made before each test
// with the operator's host "op" at 198.18.0.10.

#include "virtual_lan.h"

#include <gtest/gtest.h>

class LanTest : public ::testing::Test {
protected:
    // A LAN that cannot be made skips the test, or fails it under CI; the
    // fixture's own hosts come after, in SetUpLan.
    void SetUp() override
    {
        VLAN_REQUIRE(lan);
        op = &lan.AddHost("op", 0, 10);
        SetUpLan();
    }

    // The fixture's device hosts and whatever runs on them. A skip or a
    // failed assertion here ends the test as one in SetUp does.
    virtual void SetUpLan() { }

    vlan::VirtualLan lan;
    vlan::Host* op = nullptr;
};
