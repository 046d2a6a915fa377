// Test double of a libugui.dll that lacks the macro playback entries and has
// near misses of their names instead.
extern "C" void playback_plain(const char*) {}
