#include "socket_startup.h"

#include <gtest/gtest.h>

TEST(SocketStartup, OnlyVersionOneOneWithoutErrorIsReady)
{
    struct {
        int result;
        uint16_t version;
        socket_startup expected;
    } cases[] = {
        {0, 0x0101, socket_startup::ready},
        {0, 0x0001, socket_startup::release_and_fail},  // 1.0
        {0, 0x0201, socket_startup::release_and_fail},  // 1.2
        {0, 0x0202, socket_startup::release_and_fail},  // 2.2
        {10092, 0x0101, socket_startup::failed},        // WSAVERNOTSUPPORTED
        {10091, 0x0000, socket_startup::failed},        // WSASYSNOTREADY
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, judge_socket_startup(c.result, c.version)) << c.result << " " << c.version;
}
