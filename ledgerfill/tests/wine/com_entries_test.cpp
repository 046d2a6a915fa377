#include "com_server_check.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ComServerEntries, ServeNoClassCanUnloadAndRegisterNothing)
{
    HMODULE library = LoadLibraryA("ledgerfill.dll");
    expect_classless_com_server(library, true);
    if (library)
        FreeLibrary(library);
}

}  // namespace
