// Files of the Windows tests: the mapped drive, this program's own directory.
#pragma once

#include <string>

// Directory of the running test program, without a trailing backslash.
std::string test_program_dir();

// Writes bytes to a file, replacing it; false when it cannot be written.
bool write_file(const std::string& path, const std::string& bytes);

// Reads a whole file; empty when it cannot be read.
std::string read_file(const std::string& path);

// Creates a directory and its parents; true when it exists afterwards.
bool make_dirs(const std::string& path);

// A fresh, empty directory on the mapped drive D: for one test, e.g. D:\t\<name>.
std::string fresh_dir_on_d(const std::string& name);

// Runs a command line in `dir` and waits for it (at most timeout_ms).
// Returns its exit code, or -1 with `error` set when it could not be started.
int run_program(const std::string& command_line, const std::string& dir, std::string* error = nullptr,
                unsigned long timeout_ms = 60000);
