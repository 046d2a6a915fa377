// spoolmacro.dll: the printer name list and the macro playback bridge.
#include "win/app.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        app::set_module(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
