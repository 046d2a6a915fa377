// Catches the message boxes shown on the calling thread while it lives,
// including those shown from inside a DLL the test loaded, records what each
// showed and presses OK on it.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct caught_box {
    std::string caption;  // ANSI bytes, as GetWindowTextA gives them
    std::string text;     // ANSI bytes of the message
    bool has_ok = false;
    bool has_cancel = false;
};

class message_box_catcher {
public:
    message_box_catcher();
    ~message_box_catcher();
    message_box_catcher(const message_box_catcher&) = delete;
    message_box_catcher& operator=(const message_box_catcher&) = delete;

    const std::vector<caught_box>& boxes() const { return boxes_; }
    std::vector<std::string> texts() const;
    void clear() { boxes_.clear(); }

private:
    friend struct catcher_hook;
    void* hook_ = nullptr;
    void* previous_ = nullptr;
    std::vector<caught_box> boxes_;
    std::vector<std::pair<void*, size_t>> open_boxes_;  // box, index in boxes_
};

// Converts UTF-8 text (as written in a test's source) to the ANSI code page's bytes.
std::string ansi(const char* utf8);
