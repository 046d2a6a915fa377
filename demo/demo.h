// The demo's parts: one per module, run in the order they were registered.
#pragma once

#include <windows.h>

#include <string>

struct demo_part {
    const char* name;
    void (*run)(const std::string& bin_dir, const std::string& out_dir);
    demo_part(const char* part_name, void (*part_run)(const std::string&, const std::string&));
};

// An ANSI text (code page 936 on the add-on's machines) as UTF-8, the
// encoding the demo prints in, so Chinese texts read right in a terminal.
std::string shown(const std::string& ansi_text);

// Loads a library from the demo's directory; prints and returns null when it is missing.
HMODULE demo_load(const std::string& bin_dir, const char* library);
