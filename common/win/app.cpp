#include "win/app.h"

// The linker's symbol for the start of the image this code is part of.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace app {

HINSTANCE module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

std::wstring name()
{
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(module(), path, MAX_PATH);
    std::wstring full(path, length);
    size_t start = full.find_last_of(L"\\/");
    std::wstring file = start == std::wstring::npos ? full : full.substr(start + 1);
    size_t dot = file.find_last_of(L'.');
    return dot == std::wstring::npos ? file : file.substr(0, dot);
}

int message_box(const std::wstring& text, UINT flags)
{
    return MessageBoxW(nullptr, text.c_str(), name().c_str(), flags | MB_TASKMODAL);
}

std::wstring load_string(UINT id)
{
    const wchar_t* text = nullptr;
    // Length 0 asks for a read-only pointer into the resource itself.
    int length = LoadStringW(module(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? std::wstring(text, length) : std::wstring();
}

}  // namespace app
