#include "cli_password.h"

#include <gtest/gtest.h>

#include <algorithm>

// A short password lives inside the string object itself, so moving it
// copies the bytes and leaves them behind in the source unless they are wiped.
TEST(SecretText, MovingLeavesNothingBehind)
{
    SecretText source(std::string("hunter2"));
    const char* left = source.Text().data();
    const size_t room = source.Text().capacity();
    SecretText taken(std::move(source));
    EXPECT_EQ(taken.Text(), "hunter2");
    EXPECT_TRUE(std::all_of(left, left + room, [](char c) { return c == '\0'; }));

    SecretText assigned;
    assigned = std::move(taken);
    EXPECT_EQ(assigned.Text(), "hunter2");
    EXPECT_TRUE(taken.Empty());
}

TEST(SecretText, GrowingKeepsEveryByte)
{
    SecretText text;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        text.Append(static_cast<char>('a' + i % 26));
        expected += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(text.Text(), expected);
}
