// A host program for the tests: loads homelocator.dll from its own directory,
// as the add-on does inside NX, and writes to a file one line per message box
// the load showed ("box=<caption>|<text>|<buttons>"), then "<result>|<directory>",
// or "not loaded" when the load failed, and what get_ug_path wrote out of bounds.
#include "message_box_catcher.h"
#include "test_files.h"

#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::string answer;
    HMODULE library = nullptr;
    {
        message_box_catcher catcher;
        library = LoadLibraryA("homelocator.dll");
        for (const caught_box& box : catcher.boxes()) {
            answer += "box=" + box.caption + "|" + box.text + "|" + (box.has_ok ? "OK" : "") +
                      (box.has_cancel ? "+Cancel" : "") + "\n";
        }
    }
    if (!library)
        return write_file(argv[1], answer + "not loaded") ? 0 : 5;
    using get_ug_path_fn = int (*)(char*);
    auto get_ug_path = reinterpret_cast<get_ug_path_fn>(GetProcAddress(library, "get_ug_path"));
    if (!get_ug_path)
        return 4;
    // The caller's 255 bytes, with bytes behind them that must stay as they were.
    struct {
        char directory[255];
        char behind[16];
    } buffer;
    std::memset(&buffer, 'x', sizeof buffer);
    int result = get_ug_path(buffer.directory);
    if (!std::memchr(buffer.directory, '\0', sizeof buffer.directory))
        return write_file(argv[1], answer + "unterminated") ? 0 : 5;
    answer += std::to_string(result) + "|" + buffer.directory;
    for (char byte : buffer.behind) {
        if (byte != 'x')
            return write_file(argv[1], answer + "|written beyond 255 bytes") ? 0 : 5;
    }
    FreeLibrary(library);
    return write_file(argv[1], answer) ? 0 : 5;
}
