#include "spoolmacro.h"

#include "message_box_catcher.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using get_print_list_fn = int (*)(char*, int*);
using call_macro_fn = int (*)(macro_request*);

constexpr char marker = '\x5A';

class spoolmacro_library {
public:
    spoolmacro_library() : module_(LoadLibraryA("spoolmacro.dll")) {}
    ~spoolmacro_library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    spoolmacro_library(const spoolmacro_library&) = delete;
    spoolmacro_library& operator=(const spoolmacro_library&) = delete;
    get_print_list_fn get_print_list() const
    {
        return reinterpret_cast<get_print_list_fn>(GetProcAddress(module_, "get_print_list"));
    }
    call_macro_fn call_macro() const
    {
        return reinterpret_cast<call_macro_fn>(GetProcAddress(module_, "call_macro"));
    }

private:
    HMODULE module_;
};

// ---- get_print_list against Wine's spooler ----

// Wine's spooler lists the printers registered here; the test registers its own
// and removes them again, so nothing else of the run sees them for long.
const char printers_key[] = "System\\CurrentControlSet\\Control\\Print\\Printers";

class registered_printers {
public:
    explicit registered_printers(const std::vector<std::string>& names)
    {
        for (const auto& name : names)
            add(name);
    }
    ~registered_printers()
    {
        for (const auto& name : names_)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(printers_key) + "\\" + name).c_str());
    }
    registered_printers(const registered_printers&) = delete;
    registered_printers& operator=(const registered_printers&) = delete;

private:
    void add(const std::string& name)
    {
        HKEY printers = nullptr;
        HKEY key = nullptr;
        LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, printers_key, 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &printers, nullptr);
        if (status == ERROR_SUCCESS) {
            status = RegCreateKeyExA(printers, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     nullptr);
            RegCloseKey(printers);
        }
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot register printer " << name << ": error " << status;
            return;
        }
        names_.push_back(name);
        const char port[] = "FILE:";
        const char driver[] = "Generic Text Only";
        DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
        // The spooler names a printer by this value, filled in when it loads.
        RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>(name.size() + 1));
        RegSetValueExA(key, "Port", 0, REG_SZ, reinterpret_cast<const BYTE*>(port), sizeof port);
        RegSetValueExA(key, "Printer Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                       sizeof driver);
        RegSetValueExA(key, "Attributes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&attributes),
                       sizeof attributes);
        RegCloseKey(key);
    }
    std::vector<std::string> names_;
};

// What the spooler itself reports, in its order.
std::vector<std::string> spooler_printer_names()
{
    DWORD needed = 0, returned = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 5, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 5, buffer.data(), needed,
                       &needed, &returned))
        returned = 0;
    std::vector<std::string> names;
    auto* entries = reinterpret_cast<PRINTER_INFO_5A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i)
        names.push_back(entries[i].pPrinterName);
    return names;
}

struct printer_list {
    int result = 0;
    int count = -1;
    std::vector<char> slots = std::vector<char>(printer_name_slot_size * printer_name_slot_count, marker);
    std::string slot(int k) const { return slots.data() + printer_name_slot_size * k; }
};

printer_list list_printers()
{
    spoolmacro_library library;
    printer_list got;
    got.result = library.get_print_list()(got.slots.data(), &got.count);
    return got;
}

// The filled slots hold `expected`; no byte after a terminator or in a slot
// beyond the count was written.
void expect_slots(const printer_list& got, const std::vector<std::string>& expected)
{
    EXPECT_EQ(1, got.result);
    ASSERT_EQ(static_cast<int>(expected.size()), got.count);
    for (int k = 0; k < printer_name_slot_count; ++k) {
        size_t written = 0;
        if (k < got.count) {
            EXPECT_EQ(expected[k], got.slot(k)) << "slot " << k;
            written = expected[k].size() + 1;
        }
        for (size_t i = written; i < printer_name_slot_size; ++i)
            ASSERT_EQ(marker, got.slots[printer_name_slot_size * k + i]) << "slot " << k << " byte " << i;
    }
}

std::string repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(GetPrintList, NoPrintersGivesCountZeroAndWritesNothing)
{
    ASSERT_TRUE(spooler_printer_names().empty()) << "the test prefix already has printers";
    expect_slots(list_printers(), {});
}

TEST(GetPrintList, FirstHundredOfManyInTheSpoolersOrder)
{
    // Registered out of order, in mixed case: the spooler decides the order.
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%s %03d", i % 2 ? "Plotter" : "plotter", (i * 37) % 150);
        names.push_back(name);
    }
    DWORD started = GetTickCount();
    registered_printers printers(names);
    std::printf("[ spooler  ] %zu printers registered in %lu ms\n", names.size(), GetTickCount() - started);

    std::vector<std::string> reported = spooler_printer_names();
    ASSERT_EQ(150u, reported.size());
    std::vector<std::string> first_hundred(reported.begin(), reported.begin() + 100);
    printer_list got = list_printers();
    expect_slots(got, first_hundred);
    // No state from one call to the next.
    EXPECT_EQ(got.slots, list_printers().slots);
}

TEST(GetPrintList, GbkNamesCopiedByteForByteAndLongNamesCut)
{
    const std::string long_char = ansi("长");
    const std::map<std::string, std::string> cut = {
        // 400 bytes: the character across byte 255 is left out.
        {repeat(long_char, 200), repeat(long_char, 127)},
        // 401 bytes: a character ends exactly at byte 255.
        {"a" + repeat(long_char, 200), "a" + repeat(long_char, 127)},
        // Mixed: the character across byte 255 starts at byte 254.
        {std::string(100, 'n') + repeat(long_char, 100), std::string(100, 'n') + repeat(long_char, 77)},
    };
    // 乗 is 0x81 0x5C: its trail byte is a backslash.
    std::vector<std::string> names = {ansi("数控车间 激光打印机"), ansi("乗号绘图仪"), std::string(254, 'w')};
    for (const auto& entry : cut)
        names.push_back(entry.first);
    registered_printers printers(names);

    std::vector<std::string> reported = spooler_printer_names();
    ASSERT_EQ(names.size(), reported.size());
    std::vector<std::string> expected;
    for (const auto& name : reported)
        expected.push_back(cut.count(name) ? cut.at(name) : name);
    expect_slots(list_printers(), expected);
}

// ---- call_macro with this test program as the host ----

struct macro_result {
    int result;
    std::string reply;
    std::vector<std::string> boxes;
};

macro_result call_here(int code, int version)
{
    spoolmacro_library library;
    macro_request request;
    std::memset(&request, 'x', sizeof request);
    request.request_code = code;
    request.nx_version = version;
    std::strcpy(request.macro_file, "D:\\macros\\open.macro");
    message_box_catcher catcher;
    macro_result out;
    out.result = library.call_macro()(&request);
    request.reply_text[sizeof request.reply_text - 1] = '\0';
    out.reply = request.reply_text;
    for (const auto& box : catcher.boxes())
        out.boxes.push_back(box.caption + "|" + box.text);
    return out;
}

TEST(CallMacro, HostDirectoryAndOtherRequests)
{
    macro_result directory = call_here(2000, 0);
    EXPECT_EQ(0, directory.result);
    EXPECT_EQ(test_program_dir(), directory.reply);
    EXPECT_TRUE(directory.boxes.empty());

    for (int code : {7, 0, -1, 1999, 2002, 3000}) {
        macro_result other = call_here(code, 3);
        EXPECT_EQ(code, other.result);
        EXPECT_EQ("", other.reply) << code;
        EXPECT_TRUE(other.boxes.empty()) << code;
    }
}

TEST(CallMacro, PlaybackWithoutLibraryShowsOnlyTheLibraryMessage)
{
    // No libugui.dll beside this program; an unserved version is not looked at.
    for (int version : {3, 5, 6}) {
        macro_result got = call_here(2001, version);
        EXPECT_EQ(1, got.result);
        EXPECT_EQ("", got.reply);
        EXPECT_EQ(std::vector<std::string>{"spoolmacro|" + ansi("找不到函数库, 请与岚拓软件联系!")},
                  got.boxes)
            << version;
    }
}

// ---- call_macro in a stand-in host program, beside a libugui.dll double ----

struct host_setup {
    std::string dir;      // where host.exe is placed
    const char* libugui;  // double copied beside it as libugui.dll, or null
    std::string host_name = "host.exe";
};

bool copy_from_build(const char* file, const std::string& to)
{
    return CopyFileA((test_program_dir() + "\\" + file).c_str(), to.c_str(), FALSE) != FALSE;
}

void place_host(const host_setup& setup)
{
    ASSERT_TRUE(make_dirs(setup.dir)) << setup.dir;
    ASSERT_TRUE(copy_from_build("spoolmacro_host.exe", setup.dir + "\\" + setup.host_name));
    if (setup.libugui) {
        ASSERT_TRUE(copy_from_build(setup.libugui, setup.dir + "\\libugui.dll"));
    }
}

// Runs the host once and returns its answer; `search_dir` becomes its current
// directory and the front of its PATH.
std::string run_host(const host_setup& setup, int code, int version, const std::string& macro_text,
                     bool preload = false, const std::string& search_dir = "")
{
    std::string answer_file = fresh_dir_on_d("spoolmacro_answer") + "\\answer.txt";
    std::string command = "\"" + setup.dir + "\\" + setup.host_name + "\" " + answer_file + " \"" +
                          test_program_dir() + "\\spoolmacro.dll\" " + std::to_string(code) + " " +
                          std::to_string(version) + " \"" + macro_text + "\"" + (preload ? " preload" : "");
    std::string current = search_dir.empty() ? setup.dir : search_dir;
    char old_path[32767] = {};
    GetEnvironmentVariableA("PATH", old_path, sizeof old_path);
    if (!search_dir.empty())
        SetEnvironmentVariableA("PATH", (search_dir + ";" + old_path).c_str());
    std::string error;
    int exit_code = run_program(command, current, &error);
    SetEnvironmentVariableA("PATH", old_path);
    if (exit_code != 0)
        return exit_code < 0 ? error : "host exit " + std::to_string(exit_code);
    return read_file(answer_file);
}

std::string box(const char* utf8) { return "box=spoolmacro|" + ansi(utf8) + "|OK\n"; }

const char library_missing[] = "找不到函数库, 请与岚拓软件联系!";
const char entry_missing[] = "找不到回调函数, 请与岚拓软件联系!";

TEST(CallMacro, PlaysBackThroughTheEntryOfTheVersion)
{
    host_setup nx{"D:\\t\\spoolmacro\\NX\\UGII", "libugui_double.dll"};
    place_host(nx);
    const std::string macro = ansi("D:\\宏\\打开零件.macro");
    const std::string from = nx.dir + "\\libugui.dll";
    struct {
        int version;
        std::string expected;
    } cases[] = {
        {3, "result=1\nreply=\nplayed=YAXPAD|" + macro + "|macro_file|" + from + "\nlibugui=not loaded\n"},
        {4, "result=1\nreply=\nplayed=YAXPBD|" + macro + "|macro_file|" + from + "\nlibugui=not loaded\n"},
        {5, "result=1\nreply=\nplayed=YAXPBD|" + macro + "|macro_file|" + from + "\nlibugui=not loaded\n"},
        {6, "result=1\nreply=\n" + box("这个功能目前还不能用在 NX6.0 上!") + box(entry_missing) +
                "libugui=not loaded\n"},
        {-12, "result=1\nreply=\n" + box("这个功能目前还不能用在 NX-12.0 上!") + box(entry_missing) +
                  "libugui=not loaded\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, run_host(nx, 2001, c.version, macro)) << c.version;
}

TEST(CallMacro, GivesBackItsOwnReferenceWhenTheHostHasTheLibrary)
{
    host_setup nx{"D:\\t\\spoolmacro\\preloaded", "libugui_double.dll"};
    place_host(nx);
    EXPECT_EQ("result=1\nreply=\nplayed=YAXPBD|m|macro_file|" + nx.dir + "\\libugui.dll\nlibugui=loaded\n",
              run_host(nx, 2001, 4, "m", true));
}

TEST(CallMacro, LibraryWithoutTheEntries)
{
    host_setup nx{"D:\\t\\spoolmacro\\bare", "libugui_without_entries.dll"};
    place_host(nx);
    for (int version : {3, 4}) {
        EXPECT_EQ("result=1\nreply=\n" + box(entry_missing) + "libugui=not loaded\n",
                  run_host(nx, 2001, version, "m"))
            << version;
    }
}

TEST(CallMacro, ReportsAFailedRelease)
{
    host_setup nx{"D:\\t\\spoolmacro\\unloading", "libugui_unloading.dll"};
    place_host(nx);
    ASSERT_TRUE(copy_from_build("ugui_unloader.dll", nx.dir + "\\ugui_unloader.dll"));
    EXPECT_EQ("result=1\nreply=\nbox=spoolmacro|FreeLibrary Err!|OK\nlibugui=not loaded\n",
              run_host(nx, 2001, 5, "m"));
}

TEST(CallMacro, LoadsOnlyFromTheHostDirectory)
{
    // A libugui.dll in the current directory and on PATH is not the host's.
    host_setup decoy{"D:\\t\\spoolmacro\\decoy", "libugui_double.dll"};
    place_host(decoy);
    host_setup nx{"D:\\t\\spoolmacro\\without", nullptr};
    place_host(nx);
    EXPECT_EQ("result=1\nreply=\n" + box(library_missing) + "libugui=not loaded\n",
              run_host(nx, 2001, 4, "m", false, decoy.dir));
}

TEST(CallMacro, HostDirectoryFromTheExecutablePath)
{
    // 表 is 0xB1 0xED; 乗 (0x81 0x5C) ends in a backslash byte that is no separator.
    const std::string trail_backslash = "\x81\x5C";
    host_setup gbk{"D:\\t\\spoolmacro\\" + ansi("数控") + "\\bin", nullptr, trail_backslash + ".exe"};
    host_setup root{"D:", "libugui_double.dll", "host.exe"};
    struct {
        const host_setup& setup;
        int code;
        std::string expected;
    } cases[] = {
        {gbk, 2000, "result=0\nreply=" + gbk.dir + "\nlibugui=not loaded\n"},
        {root, 2000, "result=0\nreply=D:\nlibugui=not loaded\n"},
        // Two characters are no directory to load from.
        {root, 2001, "result=1\nreply=\nbox=spoolmacro|Get file path Err!|OK\nlibugui=not loaded\n"},
    };
    for (const auto& c : cases) {
        place_host(c.setup);
        EXPECT_EQ(c.expected, run_host(c.setup, c.code, 4, "m")) << c.setup.dir << " " << c.code;
    }
    DeleteFileA("D:\\host.exe");
    DeleteFileA("D:\\libugui.dll");
}

TEST(CallMacro, DirectoriesUpTo255Bytes)
{
    // Double-byte characters make a directory of 255 bytes with a path the
    // system still takes (under 260 characters).
    const std::string long_char = ansi("长");
    std::string longest = "D:\\t\\spoolmacro\\long\\" + repeat(long_char, 58) + "\\" + repeat(long_char, 58);
    longest += std::string(255 - longest.size(), 'x');
    ASSERT_EQ(255u, longest.size());
    host_setup at_limit{longest, "libugui_double.dll", "h.exe"};
    place_host(at_limit);
    EXPECT_EQ("result=0\nreply=" + longest + "\nlibugui=not loaded\n", run_host(at_limit, 2000, 4, "m"));
    EXPECT_EQ("result=1\nreply=\nplayed=YAXPBD|m|macro_file|" + longest +
                  "\\libugui.dll\nlibugui=not loaded\n",
              run_host(at_limit, 2001, 4, "m"));

    // One byte more does not fit reply_text: reported as no directory at all.
    host_setup beyond{longest + "x", "libugui_double.dll", "h.exe"};
    place_host(beyond);
    EXPECT_EQ("result=0\nreply=\nlibugui=not loaded\n", run_host(beyond, 2000, 4, "m"));
    EXPECT_EQ("result=1\nreply=\nbox=spoolmacro|Get file path Err!|OK\nlibugui=not loaded\n",
              run_host(beyond, 2001, 4, "m"));
}

}  // namespace
