// Checks the class-less COM server entries a library exports for hosts that
// probe for them: no class, can always unload, nothing to (un)register.
#pragma once

#include <windows.h>

// `exports_unregister` says whether the library also exports DllUnregisterServer.
void expect_classless_com_server(HMODULE library, bool exports_unregister);
