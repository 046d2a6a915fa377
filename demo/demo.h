// The demo's parts: one per module, run in the order they were registered.
#pragma once

#include <windows.h>

#include <string>

struct demo_part {
    const char* name;
    void (*run)(const std::string& bin_dir, const std::string& out_dir);
    demo_part(const char* part_name, void (*part_run)(const std::string&, const std::string&));
};

// Loads a library from the demo's directory; prints and returns null when it is missing.
HMODULE demo_load(const std::string& bin_dir, const char* library);
