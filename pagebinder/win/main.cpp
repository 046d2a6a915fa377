// pagebinder.exe: binds the page images of the job file in the fixed work
// directory into one PDF. Started by the add-on without arguments.
#include "page_binder.h"
#include "win/text.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

int replace_file(const char* from, const char* to)
{
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    default:
        return EIO;
    }
}

bool ansi_to_utf8(const char* text, char* utf8, std::size_t size)
{
    std::wstring wide = ansi_to_wide(text);
    if (wide.empty() && *text)
        return false;
    int written = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8, static_cast<int>(size), nullptr, nullptr);
    return written > 0;
}

}  // namespace

int main()
{
    binder_platform platform = {"D:\\tq_conf\\temp\\", stdout, stdin, replace_file, ansi_to_utf8};
    return bind_pages(platform);
}
