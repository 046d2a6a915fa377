#include "homelocator.h"

#include "message_box_catcher.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using get_ug_path_fn = int (*)(char*);

// Runs a copy of the host program in `dir` beside homelocator.dll, with
// `environment` (name, value) set for it alone, and returns what it wrote.
std::string run_host_at(const std::string& dir,
                        const std::vector<std::pair<std::string, std::string>>& environment = {})
{
    std::string from = test_program_dir();
    EXPECT_TRUE(make_dirs(dir));
    EXPECT_TRUE(CopyFileA((from + "\\homelocator_host.exe").c_str(), (dir + "\\host.exe").c_str(), FALSE));
    EXPECT_TRUE(CopyFileA((from + "\\homelocator.dll").c_str(), (dir + "\\homelocator.dll").c_str(), FALSE));
    std::string answer_file = fresh_dir_on_d("homelocator_answer") + "\\answer.txt";
    for (const auto& variable : environment)
        SetEnvironmentVariableA(variable.first.c_str(), variable.second.c_str());
    std::string error;
    int exit_code = run_program("\"" + dir + "\\host.exe\" " + answer_file, dir, &error);
    for (const auto& variable : environment)
        SetEnvironmentVariableA(variable.first.c_str(), nullptr);
    if (exit_code != 0)
        return exit_code < 0 ? error : "host exit " + std::to_string(exit_code);
    return read_file(answer_file);
}

TEST(GetUgPath, GivesTheDirectoryOfTheHostExecutable)
{
    HMODULE library = LoadLibraryA("homelocator.dll");
    ASSERT_NE(nullptr, library);
    auto get_ug_path = reinterpret_cast<get_ug_path_fn>(GetProcAddress(library, "get_ug_path"));
    ASSERT_NE(nullptr, get_ug_path);
    char directory[255];
    memset(directory, 'x', sizeof directory);
    EXPECT_EQ(0, get_ug_path(directory));
    EXPECT_EQ(test_program_dir(), directory);
    FreeLibrary(library);
}

TEST(GetUgPath, HostsAtADriveRootAndInGbkFolders)
{
    EXPECT_EQ("0|D:", run_host_at("D:"));
    std::string gbk_dir = "D:\\t\\" + ansi("数控程序") + "\\bin";
    EXPECT_EQ("0|" + gbk_dir, run_host_at(gbk_dir));
}

TEST(GetUgPath, DirectoryThatDoesNotFitTheCallersBufferGivesEmptyText)
{
    // Double-byte characters give directories of 254 and 255 bytes in paths
    // the system still takes (under 260 characters).
    std::string fits = "D:\\t\\homelocator\\long\\";
    while (fits.size() < 252)
        fits += ansi("长");
    fits += std::string(254 - fits.size(), 'x');
    ASSERT_EQ(254u, fits.size());
    EXPECT_EQ("0|" + fits, run_host_at(fits));
    EXPECT_EQ("0|", run_host_at(fits + "y"));
}

TEST(Resources, StringTableAndVersionAreCompiledIn)
{
    HMODULE library = LoadLibraryA("homelocator.dll");
    ASSERT_NE(nullptr, library);
    wchar_t wide[64] = {};
    ASSERT_GT(LoadStringW(library, 101, wide, 64), 0);
    EXPECT_EQ(std::wstring(L"Windows \x901A\x4FE1\x7AEF\x53E3\x521D\x59CB\x5316\x5931\x8D25\x3002"), wide);
    char narrow[64] = {};
    ASSERT_GT(LoadStringA(library, 101, narrow, 64), 0);
    EXPECT_EQ(ansi("Windows 通信端口初始化失败。"), narrow);

    char path[MAX_PATH];
    GetModuleFileNameA(library, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &fixed_size));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    char* description = nullptr;
    UINT description_size = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &description_size));
    EXPECT_STREQ("Host program directory lookup", description);
    FreeLibrary(library);
}

// Whether this process may open a socket: only after someone started Windows Sockets.
bool sockets_usable()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return false;
    closesocket(s);
    return true;
}

TEST(Loading, HoldsSocketsWhileLoadedWithoutAnyMessage)
{
    ASSERT_FALSE(sockets_usable()) << "sockets already started: an earlier load kept them";
    message_box_catcher catcher;
    HMODULE library = LoadLibraryA("homelocator.dll");
    ASSERT_NE(nullptr, library);
    EXPECT_TRUE(sockets_usable());
    FreeLibrary(library);
    EXPECT_FALSE(sockets_usable()) << "the library's start-up was not given back";
    EXPECT_TRUE(catcher.boxes().empty());
}

// Wine takes the host's own ws2_32.dll before the system's while this key exists.
class native_sockets_for {
public:
    explicit native_sockets_for(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides")
    {
        HKEY key = nullptr;
        const char order[] = "native,builtin";
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        RegSetValueExA(key, "ws2_32", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
        RegCloseKey(key);
    }
    ~native_sockets_for() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    native_sockets_for(const native_sockets_for&) = delete;
    native_sockets_for& operator=(const native_sockets_for&) = delete;

private:
    std::string key_;
};

TEST(Loading, FailedSocketStartUpShowsTheMessageAndRefusesTheLoad)
{
    std::string dir = "D:\\t\\homelocator\\sockets";
    ASSERT_TRUE(make_dirs(dir));
    std::string double_file = test_program_dir() + "\\ws2_32_double.dll";
    ASSERT_TRUE(CopyFileA(double_file.c_str(), (dir + "\\ws2_32.dll").c_str(), FALSE));
    native_sockets_for host("host.exe");
    const std::string refused = "box=homelocator|" + ansi("Windows 通信端口初始化失败。") + "|OK\nnot loaded";
    struct {
        const char* mode;
        std::string answer;
        std::string calls;
    } cases[] = {
        {"fail", refused, "startup 1.1\n"},
        {"version", refused, "startup 1.1\ncleanup\n"},  // 2.2 agreed: given back at once
        {"ready", "0|" + dir, "startup 1.1\ncleanup\n"},  // given back as the library goes
    };
    for (const auto& c : cases) {
        std::string calls_file = fresh_dir_on_d("homelocator_calls") + "\\calls.txt";
        EXPECT_EQ(c.answer, run_host_at(dir, {{"WS2_DOUBLE", c.mode}, {"WS2_DOUBLE_RECORD", calls_file}}))
            << c.mode;
        EXPECT_EQ(c.calls, read_file(calls_file)) << c.mode;
    }
}

}  // namespace
