// Frees libugui.dll from inside its own playback call. This library pins
// itself first, since it was loaded for libugui.dll and would go with it.
#include <windows.h>

extern "C" void unload_libugui(const char*)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<const char*>(&unload_libugui), &self);
    if (HMODULE libugui = GetModuleHandleA("libugui.dll"))
        FreeLibrary(libugui);
}
