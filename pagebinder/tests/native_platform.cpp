#include "native_platform.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int native_replace_file(const char* from, const char* to)
{
    return std::rename(from, to) == 0 ? 0 : errno;
}

bool gbk_to_utf8(const char* text, char* utf8, std::size_t size)
{
    iconv_t converter = iconv_open("UTF-8", "GBK");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char* in = const_cast<char*>(text);
    std::size_t in_left = std::strlen(text);
    char* out = utf8;
    std::size_t out_left = size - 1;
    bool ok = iconv(converter, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    *out = '\0';
    return ok;
}
