#include "automation.h"

#include "win/text.h"

#include <cstdio>

operation_name operation_name::cell(int32_t row, int32_t column, const wchar_t* member)
{
    operation_name name;
    name.form_ = form::cell;
    name.member_ = member;
    name.row_ = row;
    name.column_ = column;
    return name;
}

operation_name operation_name::range(const char* first_cell, const char* last_cell, const wchar_t* member)
{
    operation_name name;
    name.form_ = form::range;
    name.member_ = member;
    name.first_cell_ = first_cell;
    name.last_cell_ = last_cell;
    return name;
}

std::wstring operation_name::text() const
{
    std::wstring text;
    switch (form_) {
    case form::as_named:
        return member_ ? member_ : L"";
    case form::cell:
        text = L"Cells.Item(" + std::to_wstring(row_) + L", " + std::to_wstring(column_) + L")";
        break;
    case form::range:
        text = L"Range(" + ansi_to_wide(first_cell_) + L", " + ansi_to_wide(last_cell_) + L")";
        break;
    }
    if (member_)
        text += std::wstring(L".") + member_;
    return text;
}

bool automation::invoke(IDispatch* object, DISPID id, WORD kind, const operation_name& operation,
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

bool automation::get_object(IDispatch* object, DISPID id, WORD kind, const operation_name& operation,
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

bool automation::get_double(IDispatch* object, DISPID id, const operation_name& operation, double* result)
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

bool automation::put(IDispatch* object, DISPID id, const operation_name& operation, unique_variant value)
{
    argument_list arguments;
    arguments.push_back(std::move(value));
    return invoke(object, id, DISPATCH_PROPERTYPUT, operation, arguments, nullptr);
}

bool automation::call(IDispatch* object, DISPID id, const operation_name& operation, argument_list arguments)
{
    unique_variant ignored;
    return invoke(object, id, DISPATCH_METHOD, operation, arguments, ignored.put());
}

void automation::fail(const operation_name& operation, HRESULT code, const std::wstring& description)
{
    if (failed())
        return;  // the first failure is the one to tell
    failed_ = true;
    failure_operation_ = operation.text();
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
