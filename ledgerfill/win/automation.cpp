#include "automation.h"

#include <cstdio>

bool automation::invoke(IDispatch* object, DISPID id, WORD kind, const std::wstring& operation,
                        argument_list& arguments, VARIANT* result)
{
    // DISPPARAMS takes the arguments last first; the owners keep them.
    std::vector<VARIANTARG> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(it->get());
    DISPID put_id = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {};
    parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &put_id;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception = {};
    UINT bad_argument = 0;
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception,
                                &bad_argument);
    if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    unique_bstr source, description, help_file;
    *source.put() = exception.bstrSource;
    *description.put() = exception.bstrDescription;
    *help_file.put() = exception.bstrHelpFile;
    if (FAILED(hr)) {
        HRESULT code = hr == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : hr;
        fail(operation, code, description.text());
        return false;
    }
    return true;
}

bool automation::get_object(IDispatch* object, DISPID id, WORD kind, const std::wstring& operation,
                            argument_list arguments, com_ptr<IDispatch>* result)
{
    unique_variant value;
    if (!invoke(object, id, kind, operation, arguments, value.put()))
        return false;
    *result = value.take_dispatch();
    if (!*result) {
        fail(operation, E_NOINTERFACE, std::wstring());
        return false;
    }
    return true;
}

bool automation::get_double(IDispatch* object, DISPID id, const std::wstring& operation, double* result)
{
    argument_list none;
    unique_variant value;
    if (!invoke(object, id, DISPATCH_PROPERTYGET, operation, none, value.put()))
        return false;
    unique_variant converted;
    HRESULT hr = VariantChangeType(converted.put(), const_cast<VARIANT*>(&value.get()), 0, VT_R8);
    if (FAILED(hr)) {
        fail(operation, hr, std::wstring());
        return false;
    }
    *result = converted.get().dblVal;
    return true;
}

bool automation::put(IDispatch* object, DISPID id, const std::wstring& operation, unique_variant value)
{
    argument_list arguments;
    arguments.push_back(std::move(value));
    return invoke(object, id, DISPATCH_PROPERTYPUT, operation, arguments, nullptr);
}

bool automation::call(IDispatch* object, DISPID id, const std::wstring& operation, argument_list arguments)
{
    unique_variant ignored;
    return invoke(object, id, DISPATCH_METHOD, operation, arguments, ignored.put());
}

void automation::fail(const std::wstring& operation, HRESULT code, const std::wstring& description)
{
    if (failed())
        return;  // the first failure is the one to tell
    failure_operation_ = operation;
    failure_code_ = code;
    failure_description_ = description;
}

std::wstring automation::failure_message() const
{
    std::wstring message = L"excel\x64CD\x4F5C\x201C" + failure_operation_ + L"\x201D\x5931\x8D25!";  // excel操作“…”失败!
    if (!failure_description_.empty()) {
        message += L"\n" + failure_description_;
    } else {
        wchar_t code[32];
        std::swprintf(code, 32, L"\n0x%08lX", static_cast<unsigned long>(failure_code_));
        message += code;
    }
    return message;
}
