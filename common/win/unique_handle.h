// Owners for Win32 handles: one close function per kind, released on every
// path out, movable, never copied.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;

    unique_handle() = default;
    explicit unique_handle(pointer value) : value_(value) {}
    ~unique_handle() { reset(); }
    unique_handle(unique_handle&& other) noexcept : value_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;

    pointer get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    pointer release() { return std::exchange(value_, Traits::invalid()); }
    void reset(pointer value = Traits::invalid())
    {
        pointer old = std::exchange(value_, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }
    // Closes the handle now and reports whether closing succeeded.
    bool close()
    {
        pointer old = release();
        return old == Traits::invalid() || Traits::close(old);
    }

private:
    pointer value_ = Traits::invalid();
};

struct file_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() { return INVALID_HANDLE_VALUE; }
    static bool close(pointer h) { return CloseHandle(h) != FALSE; }
};
struct find_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() { return INVALID_HANDLE_VALUE; }
    static bool close(pointer h) { return FindClose(h) != FALSE; }
};
struct module_handle_traits {
    using pointer = HMODULE;
    static pointer invalid() { return nullptr; }
    static bool close(pointer h) { return FreeLibrary(h) != FALSE; }
};
struct gdi_object_traits {
    using pointer = HGDIOBJ;
    static pointer invalid() { return nullptr; }
    static bool close(pointer h) { return DeleteObject(h) != FALSE; }
};
struct dc_traits {  // a device context made with CreateDC or CreateCompatibleDC
    using pointer = HDC;
    static pointer invalid() { return nullptr; }
    static bool close(pointer h) { return DeleteDC(h) != FALSE; }
};

using unique_file = unique_handle<file_handle_traits>;
using unique_find = unique_handle<find_handle_traits>;
using unique_module = unique_handle<module_handle_traits>;
using unique_gdi_object = unique_handle<gdi_object_traits>;
using unique_dc = unique_handle<dc_traits>;

// A device context borrowed with GetDC, given back with ReleaseDC.
class unique_window_dc {
public:
    explicit unique_window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~unique_window_dc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class selected_object {
public:
    selected_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~selected_object()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    selected_object(const selected_object&) = delete;
    selected_object& operator=(const selected_object&) = delete;
    bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
