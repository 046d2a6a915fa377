// call_macro: the host directory, or a macro played back by the host's own
// libugui.dll, loaded from that directory for the length of one call.
#include "spoolmacro.h"

#include "host_path.h"
#include "win/app.h"
#include "win/unique_handle.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

using playback_entry = void (*)(const char* macro_file);

constexpr char library_file[] = "\\libugui.dll";

bool lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The playback entry's decorated name for an NX major version; null when the
// version is not served.
const char* playback_entry_name(int nx_version)
{
    switch (nx_version) {
    case 3:
        return "?MACRO_playback_from_usertool@@YAXPAD@Z";  // void (char*)
    case 4:
    case 5:
        return "?MACRO_playback_from_usertool@@YAXPBD@Z";  // void (const char*)
    default:
        return nullptr;
    }
}

// `directory` ends at the separator that was cut, at position `separator`.
void play_back(const macro_request& request, const char* directory, size_t separator)
{
    if (separator <= 2) {
        app::message_box(L"Get file path Err!");
        return;
    }
    char library_path[sizeof request.reply_text - 1 + sizeof library_file];
    std::memcpy(library_path, directory, separator);
    std::memcpy(library_path + separator, library_file, sizeof library_file);

    unique_module library(LoadLibraryA(library_path));
    if (!library) {
        app::message_box(L"找不到函数库, 请与岚拓软件联系!");
        return;
    }
    const char* name = playback_entry_name(request.nx_version);
    if (!name)
        app::message_box(L"这个功能目前还不能用在 NX" + std::to_wstring(request.nx_version) + L".0 上!");
    auto playback = name ? reinterpret_cast<playback_entry>(GetProcAddress(library.get(), name)) : nullptr;
    if (playback)
        playback(request.macro_file);
    else
        app::message_box(L"找不到回调函数, 请与岚拓软件联系!");
    if (!library.close())
        app::message_box(L"FreeLibrary Err!");
}

}  // namespace

extern "C" int call_macro(macro_request* request)
{
    request->reply_text[0] = '\0';

    // Room for the longest path the system reports: a directory is never
    // taken from a shortened path, which would name another folder.
    char directory[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, directory, sizeof directory);
    if (length == 0 || length >= sizeof directory)
        directory[0] = '\0';
    size_t separator = cut_file_name(directory, lead_byte);
    size_t directory_length = std::strlen(directory);
    if (directory_length >= sizeof request->reply_text) {
        // Too long to report or to build the library path from: as unknown.
        directory[0] = '\0';
        directory_length = 0;
        separator = 0;
    }

    switch (request->request_code) {
    case macro_request_host_directory:
        std::memcpy(request->reply_text, directory, directory_length + 1);
        return 0;
    case macro_request_playback:
        play_back(*request, directory, separator);
        return 1;
    default:
        return request->request_code;
    }
}
