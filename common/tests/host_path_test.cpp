#include "host_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct cut_case {
    const char* path;
    const char* expected;
    size_t position;
};

class CutFileName : public testing::TestWithParam<cut_case> {};

TEST_P(CutFileName, CutsAtTheLastSeparatorAfterTheFirstCharacter)
{
    std::string path = GetParam().path;
    path.push_back('\0');
    EXPECT_EQ(GetParam().position, cut_file_name(&path[0]));
    EXPECT_STREQ(GetParam().expected, path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CutFileName,
    testing::Values(cut_case{"C:\\apps\\cam\\bin\\host.exe", "C:\\apps\\cam\\bin", 15},
                    cut_case{"D:\\host.exe", "D:", 2},
                    cut_case{"host.exe", "host.exe", 0},
                    cut_case{"\\host.exe", "\\host.exe", 0},  // first character never examined
                    cut_case{"\\\\", "\\", 1},
                    cut_case{"\\", "\\", 0},
                    cut_case{"", "", 0},
                    cut_case{"C:\\dir\\", "C:\\dir", 6},
                    // "\x95\x5C" is one GBK character whose trail byte is a backslash
                    cut_case{"D:\\a\x95\\b.exe", "D:", 2},
                    cut_case{"D:\\\xC4\xA3\xB0\xE5\\nx.exe", "D:\\\xC4\xA3\xB0\xE5", 7}));

TEST(HostDirectory, FailedQueryAndOverlongDirectoryGiveEmptyText)
{
    char out[255];
    std::memset(out, 'x', sizeof out);
    host_directory(nullptr, out, sizeof out);
    EXPECT_STREQ("", out);

    std::string deep = "C:\\" + std::string(260, 'd') + "\\host.exe";
    std::memset(out, 'x', sizeof out);
    host_directory(deep.c_str(), out, sizeof out);
    EXPECT_STREQ("", out);
}

TEST(HostDirectory, LongPathWhoseDirectoryFitsGivesTheDirectory)
{
    std::string dir = "C:\\" + std::string(251, 'd');  // 254 characters: the most that fits
    std::string path = dir + "\\" + std::string(40, 'h') + ".exe";
    char out[255];
    host_directory(path.c_str(), out, sizeof out);
    EXPECT_EQ(dir, out);
    host_directory((dir + "e\\host.exe").c_str(), out, sizeof out);
    EXPECT_STREQ("", out);
}

}  // namespace
