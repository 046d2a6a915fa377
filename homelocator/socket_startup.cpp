#include "socket_startup.h"

socket_startup judge_socket_startup(int result, uint16_t agreed_version)
{
    if (result != 0)
        return socket_startup::failed;
    return agreed_version == 0x0101 ? socket_startup::ready : socket_startup::release_and_fail;
}
