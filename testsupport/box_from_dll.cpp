// A DLL that shows a message box, for the catcher's own test.
#include <windows.h>

extern "C" int show_box_from_dll(const wchar_t* text, const wchar_t* caption, unsigned flags)
{
    return MessageBoxW(nullptr, text, caption, flags);
}
