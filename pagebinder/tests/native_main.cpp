// The binder's core as a Linux program, for the tests and the benchmark:
//   pagebinder_native WORK_DIR/
#include "native_platform.h"
#include "page_binder.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WORK_DIR/\n", argv[0]);
        return 2;
    }
    binder_platform platform = {argv[1], stdout, stdin, native_replace_file, gbk_to_utf8};
    return bind_pages(platform);
}
