// A program started while the listener is open (the browser, from the device
// list) must not keep port 10001: the next scan has to be able to listen.

#include "virtual_lan.h"

#include "tool_port.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(InheritedSocket, AChildStartedDuringAScanDoesNotHoldThePort)
{
    PRIVATE_NET_REQUIRE();
    ASSERT_EQ(OpenListener(), 0);
    pid_t child = fork();
    if (child == 0) {
        execlp("sleep", "sleep", "5", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    usleep(100 * 1000); // let it exec: close-on-exec acts there
    CloseListener();
    int reopened = OpenListener();
    CloseListener();
    vlan::EndChild(child, std::chrono::seconds(0)); // killed and reaped
    EXPECT_EQ(reopened, 0) << "port 10001 still held by the child: " << strerror(reopened);
}
