// Calls members of automation objects by DISPID, remembering the first
// failure in words the user can read.
#pragma once

#include "com_owners.h"

#include <cstdint>
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

// Names an operation for the failure message. Making one costs next to
// nothing: it keeps what the name is made of, and the text is put together
// only when a call fails, while the caller's cell references are still alive.
class operation_name {
public:
    // A name as it stands: "Workbooks", "Shapes.AddPicture".
    operation_name(const wchar_t* name) : member_(name) {}
    // "Cells.Item(row, column)", then ".member" when there is one.
    static operation_name cell(int32_t row, int32_t column, const wchar_t* member = nullptr);
    // "Range(first, last)", then ".member" when there is one.
    static operation_name range(const char* first_cell, const char* last_cell, const wchar_t* member = nullptr);

    std::wstring text() const;

private:
    enum class form { as_named, cell, range };
    operation_name() = default;

    form form_ = form::as_named;
    const wchar_t* member_ = nullptr;
    int32_t row_ = 0, column_ = 0;
    const char* first_cell_ = nullptr;
    const char* last_cell_ = nullptr;
};

class automation {
public:
    // Property get or method call whose result is an object.
    bool get_object(IDispatch* object, DISPID id, WORD kind, const operation_name& operation,
                    argument_list arguments, com_ptr<IDispatch>* result);
    bool get_double(IDispatch* object, DISPID id, const operation_name& operation, double* result);
    bool put(IDispatch* object, DISPID id, const operation_name& operation, unique_variant value);
    // Method call whose result is not used.
    bool call(IDispatch* object, DISPID id, const operation_name& operation, argument_list arguments);

    bool failed() const { return failed_; }
    // The message for the user: which operation failed and why.
    std::wstring failure_message() const;

private:
    bool invoke(IDispatch* object, DISPID id, WORD kind, const operation_name& operation,
                argument_list& arguments, VARIANT* result);
    void fail(const operation_name& operation, HRESULT code, const std::wstring& description);

    bool failed_ = false;
    std::wstring failure_operation_;
    std::wstring failure_description_;
    HRESULT failure_code_ = S_OK;
};
