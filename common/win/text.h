// Text conversion between the ANSI code page and UTF-16.
#pragma once

#include <string>

std::wstring ansi_to_wide(const char* text);
std::wstring ansi_to_wide(const std::string& text);
std::string wide_to_ansi(const std::wstring& text);
