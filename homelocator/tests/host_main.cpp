// A host program for the tests: loads homelocator.dll from its own directory,
// as the add-on does inside NX, and writes "<result>|<directory>" to a file.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    HMODULE library = LoadLibraryA("homelocator.dll");
    if (!library)
        return 3;
    using get_ug_path_fn = int (*)(char*);
    auto get_ug_path = reinterpret_cast<get_ug_path_fn>(GetProcAddress(library, "get_ug_path"));
    if (!get_ug_path)
        return 4;
    char directory[255];
    memset(directory, 'x', sizeof directory);
    int result = get_ug_path(directory);
    FILE* out = fopen(argv[1], "wb");
    if (!out)
        return 5;
    fprintf(out, "%d|%s", result, directory);
    fclose(out);
    FreeLibrary(library);
    return 0;
}
