// Whether a Windows Sockets start-up gave the library what it needs. Platform-free.
#pragma once

#include <cstdint>

enum class socket_startup {
    ready,             // started, version 1.1 agreed
    failed,            // the start-up call itself failed
    release_and_fail,  // started, but with another version: release it again
};

// `result` is what WSAStartup returned, `agreed_version` its wVersion
// (low byte major, high byte minor).
socket_startup judge_socket_startup(int result, uint16_t agreed_version);
