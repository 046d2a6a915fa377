// Whether a file is there for the modules' purposes. Platform-free.
#pragma once

// A file counts as present when it can be opened for reading in binary mode;
// it is closed again at once, before any other use.
bool file_opens_for_reading(const char* path);
