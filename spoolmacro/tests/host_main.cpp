// A stand-in for the NX host: loads spoolmacro.dll, as the add-on does inside
// NX, calls call_macro once and writes what it saw to a file, one line each:
//   result=<n>
//   reply=<reply_text>
//   box=<caption>|<text>|<buttons>      one line per message box
//   played=<entry>|<text>|<argument>|<library path>   when libugui's entry ran
//   libugui=<loaded|not loaded>         after the call returned
// usage: host ANSWER_FILE SPOOLMACRO_DLL CODE VERSION MACRO_TEXT [preload]
#include "message_box_catcher.h"
#include "spoolmacro.h"
#include "test_files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 6)
        return 2;
    // The host had the library already: call_macro takes and gives back its own reference.
    HMODULE preloaded =
        argc > 6 && std::strcmp(argv[6], "preload") == 0 ? LoadLibraryA("libugui.dll") : nullptr;
    if (argc > 6 && !preloaded)
        return 3;
    HMODULE library = LoadLibraryA(argv[2]);
    if (!library)
        return 4;
    using call_macro_fn = int (*)(macro_request*);
    auto call_macro = reinterpret_cast<call_macro_fn>(GetProcAddress(library, "call_macro"));
    if (!call_macro)
        return 5;

    macro_request request;
    std::memset(&request, 'x', sizeof request);
    request.request_code = std::atoi(argv[3]);
    request.nx_version = std::atoi(argv[4]);
    std::snprintf(request.macro_file, sizeof request.macro_file, "%s", argv[5]);

    // Where the libugui.dll doubles write what their entry was given.
    std::string played_file = std::string(argv[1]) + ".played";
    DeleteFileA(played_file.c_str());
    SetEnvironmentVariableA("LIBUGUI_RECORD", played_file.c_str());

    std::string answer;
    {
        message_box_catcher catcher;
        int result = call_macro(&request);
        request.reply_text[sizeof request.reply_text - 1] = '\0';
        answer += "result=" + std::to_string(result) + "\n";
        answer += "reply=" + std::string(request.reply_text) + "\n";
        for (const caught_box& box : catcher.boxes()) {
            answer += "box=" + box.caption + "|" + box.text + "|" + (box.has_ok ? "OK" : "") +
                      (box.has_cancel ? "+Cancel" : "") + "\n";
        }
    }
    std::string played = read_file(played_file);
    if (!played.empty()) {
        // <entry>|<text>|<pointer>|<path>: the pointer is told as whether it was macro_file.
        size_t pointer_start = played.find('|', played.find('|') + 1) + 1;
        size_t pointer_end = played.find('|', pointer_start);
        char argument[64];
        std::snprintf(argument, sizeof argument, "%p", static_cast<void*>(request.macro_file));
        bool same = played.compare(pointer_start, pointer_end - pointer_start, argument) == 0;
        played.replace(pointer_start, pointer_end - pointer_start, same ? "macro_file" : "another pointer");
        answer += "played=" + played + "\n";
    }
    answer += std::string("libugui=") + (GetModuleHandleA("libugui.dll") ? "loaded" : "not loaded") + "\n";
    if (preloaded)
        FreeLibrary(preloaded);
    FreeLibrary(library);

    return write_file(argv[1], answer) ? 0 : 6;
}
