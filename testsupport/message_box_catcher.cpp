#include "message_box_catcher.h"

#include <windows.h>

#include <algorithm>

namespace {
thread_local message_box_catcher* current_catcher = nullptr;
}

struct catcher_hook {
    static LRESULT CALLBACK proc(int code, WPARAM wparam, LPARAM lparam)
    {
        message_box_catcher* self = current_catcher;
        if (self && code == HCBT_ACTIVATE) {
            HWND box = reinterpret_cast<HWND>(wparam);
            char class_name[32] = {};
            if (box && GetClassNameA(box, class_name, sizeof class_name) &&
                lstrcmpA(class_name, "#32770") == 0 &&
                std::find(self->open_boxes_.begin(), self->open_boxes_.end(), box) ==
                    self->open_boxes_.end()) {
                self->open_boxes_.push_back(box);
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
                self->boxes_.push_back(seen);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        } else if (self && code == HCBT_DESTROYWND) {
            HWND gone = reinterpret_cast<HWND>(wparam);
            auto& open = self->open_boxes_;
            open.erase(std::remove(open.begin(), open.end(), gone), open.end());
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
