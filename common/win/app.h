// The library's application object: which module it is, what it is called,
// and its message boxes, captioned with the library's name.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The module this code is linked into (the library, not the host program).
HINSTANCE module();

// The module's file name without directory and extension, e.g. L"homelocator".
std::wstring name();

// Modal message box owned by no window, captioned with name().
int message_box(const std::wstring& text, UINT flags = MB_OK);

// The text of a string resource of this module; empty when there is none.
std::wstring load_string(UINT id);

}  // namespace app
