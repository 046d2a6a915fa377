#include "demo.h"

#include "../spoolmacro/include/spoolmacro.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

void run(const std::string& bin_dir, const std::string&)
{
    HMODULE library = demo_load(bin_dir, "spoolmacro.dll");
    if (!library)
        return;
    auto get_print_list = reinterpret_cast<int (*)(char*, int*)>(GetProcAddress(library, "get_print_list"));
    auto call_macro = reinterpret_cast<int (*)(macro_request*)>(GetProcAddress(library, "call_macro"));

    std::vector<char> slots(printer_name_slot_count * printer_name_slot_size);
    int count = 0;
    int result = get_print_list(slots.data(), &count);
    std::printf("  get_print_list -> %d, %d printer(s)\n", result, count);
    for (int k = 0; k < count; ++k)
        std::printf("    %s\n", &slots[printer_name_slot_size * k]);

    macro_request request = {};
    request.request_code = macro_request_host_directory;
    result = call_macro(&request);
    std::printf("  call_macro(2000) -> %d, host directory \"%s\"\n", result, request.reply_text);
    FreeLibrary(library);
}

demo_part part("spoolmacro: printers and host directory", run);

}  // namespace
