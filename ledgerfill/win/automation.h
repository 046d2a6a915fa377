// Calls members of automation objects by DISPID, remembering the first
// failure in words the user can read.
#pragma once

#include "com_owners.h"

#include <string>
#include <vector>

// The members the fill uses, by object.
namespace member {
constexpr DISPID workbooks = 0x23C;      // Application, get
constexpr DISPID visible = 0x22E;        // Application, put
constexpr DISPID display_alerts = 0x157; // Application, put
constexpr DISPID open = 0x783;           // Workbooks, call
constexpr DISPID worksheets = 0x1EE;     // Workbook, get
constexpr DISPID save = 0x11B;           // Workbook, call
constexpr DISPID saved = 0x12A;          // Workbook, put
constexpr DISPID item = 0xAA;            // Worksheets and Range, get
constexpr DISPID cells = 0xEE;           // Worksheet, get
constexpr DISPID range = 0xC5;           // Worksheet, get
constexpr DISPID shapes = 0x561;         // Worksheet, get
constexpr DISPID value2 = 0x56C;         // Range, put
constexpr DISPID border_around = 0x42B;  // Range, call
constexpr DISPID height = 0x7B;          // Range, get
constexpr DISPID width = 0x7A;
constexpr DISPID left = 0x7F;
constexpr DISPID top = 0x7E;
constexpr DISPID add_picture = 0x6BB;    // Shapes, call
}  // namespace member

using argument_list = std::vector<unique_variant>;

class automation {
public:
    // Property get or method call whose result is an object.
    bool get_object(IDispatch* object, DISPID id, WORD kind, const std::wstring& operation,
                    argument_list arguments, com_ptr<IDispatch>* result);
    bool get_double(IDispatch* object, DISPID id, const std::wstring& operation, double* result);
    bool put(IDispatch* object, DISPID id, const std::wstring& operation, unique_variant value);
    // Method call whose result is not used.
    bool call(IDispatch* object, DISPID id, const std::wstring& operation, argument_list arguments);

    bool failed() const { return !failure_operation_.empty(); }
    // The message for the user: which operation failed and why.
    std::wstring failure_message() const;

private:
    bool invoke(IDispatch* object, DISPID id, WORD kind, const std::wstring& operation,
                argument_list& arguments, VARIANT* result);
    void fail(const std::wstring& operation, HRESULT code, const std::wstring& description);

    std::wstring failure_operation_;
    std::wstring failure_description_;
    HRESULT failure_code_ = S_OK;
};
