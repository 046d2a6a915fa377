#include "message_box_catcher.h"

#include <windows.h>

#include <algorithm>

namespace {
thread_local message_box_catcher* current_catcher = nullptr;
}

// Caption, text and buttons as the box shows them now.
static caught_box read_box(HWND box)
{
    caught_box seen;
    char buffer[4096];
    buffer[0] = '\0';
    GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    seen.text = buffer;
    seen.has_ok = GetDlgItem(box, IDOK) != nullptr;
    seen.has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    return seen;
}

struct catcher_hook {
    static LRESULT CALLBACK proc(int code, WPARAM wparam, LPARAM lparam)
    {
        message_box_catcher* self = current_catcher;
        if (!self)
            return CallNextHookEx(nullptr, code, wparam, lparam);
        auto& open = self->open_boxes_;
        if (code == HCBT_ACTIVATE) {
            HWND box = reinterpret_cast<HWND>(wparam);
            char class_name[32] = {};
            // Wine also reports the activation of another program's window
            // when one of ours closes: only this thread's own boxes count.
            if (box && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId() &&
                GetClassNameA(box, class_name, sizeof class_name) &&
                lstrcmpA(class_name, "#32770") == 0 &&
                std::find_if(open.begin(), open.end(), [box](const auto& o) { return o.first == box; }) ==
                    open.end()) {
                open.emplace_back(box, self->boxes_.size());
                self->boxes_.push_back(read_box(box));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        } else if (code == HCBT_DESTROYWND) {
            HWND gone = reinterpret_cast<HWND>(wparam);
            // A task-modal box is activated before its text and buttons are
            // set; as it closes it shows what the user saw.
            for (const auto& o : open) {
                if (o.first == gone && o.second < self->boxes_.size())
                    self->boxes_[o.second] = read_box(gone);
            }
            open.erase(
                std::remove_if(open.begin(), open.end(), [gone](const auto& o) { return o.first == gone; }),
                open.end());
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
};

message_box_catcher::message_box_catcher()
{
    previous_ = current_catcher;
    current_catcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, catcher_hook::proc, nullptr, GetCurrentThreadId());
}

message_box_catcher::~message_box_catcher()
{
    if (hook_)
        UnhookWindowsHookEx(static_cast<HHOOK>(hook_));
    current_catcher = static_cast<message_box_catcher*>(previous_);
}

std::vector<std::string> message_box_catcher::texts() const
{
    std::vector<std::string> out;
    for (const auto& box : boxes_)
        out.push_back(box.text);
    return out;
}

std::string ansi(const char* utf8)
{
    int wide_len = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(wide_len, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], wide_len);
    int len = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(len, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &out[0], len, nullptr, nullptr);
    out.resize(len > 0 ? len - 1 : 0);
    return out;
}
