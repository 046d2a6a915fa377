#include "stampclock.h"

#include "message_box_catcher.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using stamp_fn = int (*)(const char*, int, int, int, int, int, int);

struct file_times {
    FILETIME created{}, accessed{}, written{};
};

unsigned long long ticks(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

file_times times_of(const std::string& path)
{
    file_times t;
    HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << path;
    GetFileTime(file, &t.created, &t.accessed, &t.written);
    CloseHandle(file);
    return t;
}

unsigned long long utc_ticks(WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME utc = {year, month, 0, day, hour, minute, 0, 0};
    FILETIME t;
    SystemTimeToFileTime(&utc, &t);
    return ticks(t);
}

class SetFileTimeTq : public testing::Test {
protected:
    void SetUp() override
    {
        library_ = LoadLibraryA("stampclock.dll");
        ASSERT_NE(nullptr, library_);
        stamp_ = reinterpret_cast<stamp_fn>(GetProcAddress(library_, "set_file_time_tq"));
        ASSERT_NE(nullptr, stamp_);
        dir_ = fresh_dir_on_d("stampclock");
    }
    void TearDown() override { FreeLibrary(library_); }

    std::string new_file(const std::string& name)
    {
        std::string path = dir_ + "\\" + name;
        EXPECT_TRUE(write_file(path, "content"));
        return path;
    }

    HMODULE library_ = nullptr;
    stamp_fn stamp_ = nullptr;
    std::string dir_;
};

// The test runs in Europe/Berlin: summer dates are UTC+2, winter dates UTC+1,
// whatever the date of the run.
TEST_F(SetFileTimeTq, SetsAllThreeTimesToTheLocalTimeOfThatDate)
{
    message_box_catcher catcher;
    struct {
        const char* name;
        int fields[6];
        unsigned long long expected;
    } cases[] = {
        {"summer.txt", {2014, 7, 1, 12, 0, 0}, utc_ticks(2014, 7, 1, 10, 0)},
        {"winter.txt", {2014, 1, 15, 12, 0, 0}, utc_ticks(2014, 1, 15, 11, 0)},
        {"month13.txt", {2014, 13, 1, 0, 0, 0}, utc_ticks(2014, 12, 31, 23, 0)},
        {"april31.txt", {2014, 4, 31, 8, 0, 0}, utc_ticks(2014, 5, 1, 6, 0)},
        {"hour24.txt", {2014, 3, 10, 24, 0, 0}, utc_ticks(2014, 3, 10, 23, 0)},
    };
    for (const auto& c : cases) {
        std::string path = new_file(ansi("程序单_") + c.name);
        const int* f = c.fields;
        EXPECT_EQ(999, stamp_(path.c_str(), f[0], f[1], f[2], f[3], f[4], f[5])) << c.name;
        file_times t = times_of(path);
        EXPECT_EQ(c.expected, ticks(t.written)) << c.name;
        EXPECT_EQ(c.expected, ticks(t.accessed)) << c.name;
        EXPECT_EQ(c.expected, ticks(t.created)) << c.name;
    }
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(SetFileTimeTq, RefusesWithoutChangingAnything)
{
    message_box_catcher catcher;
    std::string plain = new_file("plain.txt");
    std::string read_only = new_file("read_only.txt");
    ASSERT_TRUE(SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string held = new_file("held.txt");
    std::string locked = new_file("locked.txt");
    HANDLE writer = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    HANDLE exclusive = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);

    struct {
        std::string path;
        int year, month, day;
        const char* why;
    } cases[] = {
        {dir_ + "\\missing.txt", 2014, 7, 1, "missing file"},
        {dir_, 2014, 7, 1, "a directory"},
        {read_only, 2014, 7, 1, "read-only file"},
        {held, 2014, 7, 1, "held open by a writer"},
        {locked, 2014, 7, 1, "held without read sharing"},
        {plain, 1969, 12, 31, "before 1970"},
        {plain, 2038, 1, 20, "after 2038-01-19 03:14:07 UTC"},
        {plain, 2100, 1, 1, "far after 2038"},
    };
    for (const auto& c : cases) {
        bool exists = GetFileAttributesA(c.path.c_str()) != INVALID_FILE_ATTRIBUTES;
        file_times before = exists ? times_of(c.path) : file_times{};
        EXPECT_EQ(0, stamp_(c.path.c_str(), c.year, c.month, c.day, 12, 0, 0)) << c.why;
        if (exists) {
            file_times after = times_of(c.path);
            EXPECT_EQ(ticks(before.written), ticks(after.written)) << c.why;
            EXPECT_EQ(ticks(before.created), ticks(after.created)) << c.why;
        }
    }
    CloseHandle(writer);
    CloseHandle(exclusive);
    EXPECT_EQ(999, stamp_(held.c_str(), 2014, 7, 1, 12, 0, 0)) << "once the writer is gone";
    EXPECT_TRUE(catcher.boxes().empty());
}

}  // namespace
