// The Linux side of binder_platform, for the native tests and the benchmark:
// rename() for the replacing move, iconv for code page 936 (GBK) text.
#pragma once

#include <cstddef>

int native_replace_file(const char* from, const char* to);
bool gbk_to_utf8(const char* text, char* utf8, std::size_t size);
