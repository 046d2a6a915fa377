#include "demo.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static std::vector<demo_part*>& parts()
{
    static std::vector<demo_part*> all;
    return all;
}

demo_part::demo_part(const char* part_name, void (*part_run)(const std::string&, const std::string&))
    : name(part_name), run(part_run)
{
    parts().push_back(this);
}

std::string shown(const std::string& ansi_text)
{
    int wide_length = MultiByteToWideChar(CP_ACP, 0, ansi_text.c_str(), -1, nullptr, 0);
    std::wstring wide(wide_length > 0 ? wide_length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi_text.c_str(), -1, &wide[0], wide_length);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? length : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(std::strlen(utf8.c_str()));
    return utf8;
}

HMODULE demo_load(const std::string& bin_dir, const char* library)
{
    std::string path = bin_dir + "\\" + library;
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        std::printf("  %s: cannot load (error %lu)\n", path.c_str(), GetLastError());
    return module;
}

int main(int argc, char** argv)
{
    SetConsoleOutputCP(CP_UTF8);
    _putenv("TZ=");
    SetEnvironmentVariableA("TZ", nullptr);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string bin_dir = self;
    bin_dir = bin_dir.substr(0, bin_dir.find_last_of('\\'));
    std::string out_dir = argc > 1 ? argv[1] : bin_dir;
    CreateDirectoryA(out_dir.c_str(), nullptr);
    std::printf("camtools demo: libraries from %s, output to %s\n", bin_dir.c_str(), out_dir.c_str());
    std::sort(parts().begin(), parts().end(),
              [](const demo_part* a, const demo_part* b) { return std::strcmp(a->name, b->name) < 0; });
    for (demo_part* part : parts()) {
        std::printf("\n== %s\n", part->name);
        part->run(bin_dir, out_dir);
    }
    std::fflush(stdout);
    return 0;
}
