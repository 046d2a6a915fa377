// Entry point of every test program run under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    // Wine copies the Unix TZ into the Windows environment, where the C
    // run-time reads it in its own format; the add-on's machines have no TZ,
    // so the run-time must take the zone from Windows as it does there.
    _putenv("TZ=");
    SetEnvironmentVariableA("TZ", nullptr);
    _tzset();
    // A crash must end the test program, not wait on a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
