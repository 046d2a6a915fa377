// Test double of the system's ws2_32.dll, taken before it by one host program
// (a DllOverrides key of its own), since the real start-up does not fail here:
// it fails when WS2_DOUBLE is "fail", agrees on version 2.2 when it is
// "version", and on the version asked for otherwise.
// Each call is appended to the file named by WS2_DOUBLE_RECORD.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void record(const char* line)
{
    char file[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("WS2_DOUBLE_RECORD", file, sizeof file);
    if (length == 0 || length >= sizeof file)
        return;
    if (FILE* out = std::fopen(file, "ab")) {
        std::fputs(line, out);
        std::fclose(out);
    }
}

}  // namespace

extern "C" int WINAPI double_startup(WORD requested, WSADATA* data)
{
    char line[32];
    std::snprintf(line, sizeof line, "startup %u.%u\n", LOBYTE(requested), HIBYTE(requested));
    record(line);
    char mode[16] = {};
    GetEnvironmentVariableA("WS2_DOUBLE", mode, sizeof mode);
    if (std::strcmp(mode, "fail") == 0)
        return WSASYSNOTREADY;
    std::memset(data, 0, sizeof *data);
    data->wVersion = std::strcmp(mode, "version") == 0 ? MAKEWORD(2, 2) : requested;
    data->wHighVersion = MAKEWORD(2, 2);
    return 0;
}

extern "C" int WINAPI double_cleanup()
{
    record("cleanup\n");
    return 0;
}
