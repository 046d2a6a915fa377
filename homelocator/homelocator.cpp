// homelocator.dll: reports the host executable's directory; starts Windows
// Sockets when it is loaded and refuses to load when that fails.
#include "homelocator.h"

#include "host_path.h"
#include "resource.h"
#include "socket_startup.h"
#include "win/app.h"

#include <winsock2.h>
#include <windows.h>

namespace {

bool sockets_started = false;

bool lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

bool start_sockets()
{
    WSADATA data = {};
    int result = WSAStartup(MAKEWORD(1, 1), &data);
    switch (judge_socket_startup(result, data.wVersion)) {
    case socket_startup::ready:
        sockets_started = true;
        return true;
    case socket_startup::release_and_fail:
        WSACleanup();
        break;
    case socket_startup::failed:
        break;
    }
    app::message_box(app::load_string(IDS_SOCKETS_INIT_FAILED), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

}  // namespace

extern "C" int get_ug_path(char* directory)
{
    // Room for the longest path the system can report, so that a directory
    // that fits the caller's 255 bytes is never taken from a shortened path.
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    bool ok = length > 0 && length < sizeof path;
    host_directory(ok ? path : nullptr, directory, 255, lead_byte);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        return start_sockets() ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH && sockets_started)
        WSACleanup();
    return TRUE;
}
