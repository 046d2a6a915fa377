// Owners for the automation resources: an interface pointer, a VARIANT, a
// BSTR. Each releases what it holds on every path out; movable, never copied.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

template <typename Interface>
class com_ptr {
public:
    com_ptr() = default;
    explicit com_ptr(Interface* adopted) : pointer_(adopted) {}
    ~com_ptr() { reset(); }
    com_ptr(com_ptr&& other) noexcept : pointer_(other.release()) {}
    com_ptr& operator=(com_ptr&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface* release() { return std::exchange(pointer_, nullptr); }
    void reset(Interface* adopted = nullptr)
    {
        Interface* old = std::exchange(pointer_, adopted);
        if (old)
            old->Release();
    }
    // For functions that hand out a new reference through an out parameter.
    Interface** put()
    {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

private:
    Interface* pointer_ = nullptr;
};

class unique_bstr {
public:
    unique_bstr() = default;
    explicit unique_bstr(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    ~unique_bstr() { SysFreeString(value_); }
    unique_bstr(unique_bstr&& other) noexcept : value_(other.release()) {}
    unique_bstr& operator=(unique_bstr&& other) noexcept
    {
        if (this != &other) {
            SysFreeString(value_);
            value_ = other.release();
        }
        return *this;
    }
    unique_bstr(const unique_bstr&) = delete;
    unique_bstr& operator=(const unique_bstr&) = delete;

    BSTR get() const { return value_; }
    BSTR release() { return std::exchange(value_, nullptr); }
    BSTR* put()
    {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    std::wstring text() const { return value_ ? std::wstring(value_, SysStringLen(value_)) : std::wstring(); }

private:
    BSTR value_ = nullptr;
};

class unique_variant {
public:
    unique_variant() { VariantInit(&value_); }
    ~unique_variant() { VariantClear(&value_); }
    unique_variant(unique_variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    unique_variant& operator=(unique_variant&& other) noexcept
    {
        if (this != &other) {
            VariantClear(&value_);
            value_ = other.value_;
            VariantInit(&other.value_);
        }
        return *this;
    }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;

    const VARIANT& get() const { return value_; }
    VARIANT* put()
    {
        VariantClear(&value_);
        return &value_;
    }
    // Hands the interface of a VT_DISPATCH value over to its new owner.
    com_ptr<IDispatch> take_dispatch()
    {
        com_ptr<IDispatch> taken;
        if (value_.vt == VT_DISPATCH) {
            taken.reset(value_.pdispVal);
            VariantInit(&value_);
        }
        return taken;
    }

    static unique_variant text(const std::wstring& text)
    {
        unique_variant v;
        v.value_.vt = VT_BSTR;
        v.value_.bstrVal = unique_bstr(text).release();
        return v;
    }
    static unique_variant i2(SHORT number)
    {
        unique_variant v;
        v.value_.vt = VT_I2;
        v.value_.iVal = number;
        return v;
    }
    static unique_variant i4(LONG number)
    {
        unique_variant v;
        v.value_.vt = VT_I4;
        v.value_.lVal = number;
        return v;
    }
    static unique_variant ui4(ULONG number)
    {
        unique_variant v;
        v.value_.vt = VT_UI4;
        v.value_.ulVal = number;
        return v;
    }
    static unique_variant r4(float number)
    {
        unique_variant v;
        v.value_.vt = VT_R4;
        v.value_.fltVal = number;
        return v;
    }
    static unique_variant boolean(bool value)
    {
        unique_variant v;
        v.value_.vt = VT_BOOL;
        v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    // An optional argument left out.
    static unique_variant omitted()
    {
        unique_variant v;
        v.value_.vt = VT_ERROR;
        v.value_.scode = DISP_E_PARAMNOTFOUND;
        return v;
    }

private:
    VARIANT value_;
};
