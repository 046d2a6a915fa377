// The spreadsheet double itself: as strict as a type library, and with the
// geometry of a real sheet, since the library's tests rely on both.
#include "double_model.h"

#include "test_files.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <utility>
#include <vector>

namespace {

// Owns one reference; moves, never copies.
struct dispatch_ref {
    IDispatch* p = nullptr;
    dispatch_ref() = default;
    dispatch_ref(dispatch_ref&& other) noexcept : p(other.p) { other.p = nullptr; }
    dispatch_ref& operator=(dispatch_ref&& other) noexcept
    {
        std::swap(p, other.p);
        return *this;
    }
    ~dispatch_ref()
    {
        if (p)
            p->Release();
    }
};

// One Invoke; arguments in their natural order.
HRESULT invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments, VARIANT* result,
               bool named_put = false)
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {reversed.empty() ? nullptr : reversed.data(), named_put ? &put : nullptr,
                             static_cast<UINT>(reversed.size()), named_put ? 1u : 0u};
    EXCEPINFO exception = {};
    UINT bad = 0;
    HRESULT hr = object->Invoke(id, IID_NULL, 0, flags, &parameters, result, &exception, &bad);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

VARIANT typed(VARTYPE type, LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    v.lVal = 0;
    if (type == VT_I2)
        v.iVal = static_cast<SHORT>(value);
    else if (type == VT_BOOL)
        v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else if (type == VT_ERROR)
        v.scode = DISP_E_PARAMNOTFOUND;
    else
        v.lVal = value;
    return v;
}

VARIANT text(const wchar_t* value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value);
    return v;
}

dispatch_ref get_object(IDispatch* object, DISPID id, std::vector<VARIANT> arguments = {})
{
    VARIANT result;
    VariantInit(&result);
    dispatch_ref out;
    EXPECT_EQ(S_OK, invoke(object, id, DISPATCH_PROPERTYGET, arguments, &result));
    for (VARIANT& a : arguments)
        VariantClear(&a);
    if (result.vt == VT_DISPATCH)
        out.p = result.pdispVal;
    else
        VariantClear(&result);
    return out;
}

double number(IDispatch* object, DISPID id)
{
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, invoke(object, id, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(VT_R8, result.vt);
    return result.dblVal;
}

struct opened_sheet {
    dispatch_ref application, workbooks, workbook, worksheets, worksheet;

    explicit opened_sheet(const double_workbook& book)
    {
        std::string path = fresh_dir_on_d("double_test") + "\\book.xlsx";
        EXPECT_TRUE(write_file(path, book.text()));
        CLSID clsid;
        EXPECT_EQ(S_OK, CLSIDFromProgID(L"Excel.Application", &clsid));
        EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                         reinterpret_cast<void**>(&application.p)));
        workbooks = get_object(application.p, 0x23C);
        std::vector<VARIANT> open(15, typed(VT_ERROR, 0));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        open[0] = text(wide);
        open[2] = typed(VT_I2, 0);
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(S_OK, invoke(workbooks.p, 0x783, DISPATCH_METHOD, open, &result));
        VariantClear(&open[0]);
        workbook.p = result.vt == VT_DISPATCH ? result.pdispVal : nullptr;
        worksheets = get_object(workbook.p, 0x1EE);
        worksheet = get_object(worksheets.p, 0xAA, {typed(VT_I2, 1)});
    }
    opened_sheet(const opened_sheet&) = delete;
    opened_sheet& operator=(const opened_sheet&) = delete;
};

TEST(SpreadsheetDouble, RefusesCallsATypeLibraryWouldRefuse)
{
    double_control("reset");
    {
        opened_sheet sheet{double_workbook()};
        ASSERT_NE(nullptr, sheet.worksheet.p);
        dispatch_ref cells = get_object(sheet.worksheet.p, 0xEE);
        dispatch_ref cell = get_object(cells.p, 0xAA, {typed(VT_I4, 2), typed(VT_I4, 3)});
        IDispatch* app = sheet.application.p;
        VARIANT ignored;
        VariantInit(&ignored);
        const struct {
            const char* name;
            IDispatch* object;
            DISPID id;
            WORD flags;
            std::vector<VARIANT> arguments;
            bool named_put;
            HRESULT expected;
        } cases[] = {
            {"unknown member", app, 0x999, DISPATCH_PROPERTYGET, {}, false, DISP_E_MEMBERNOTFOUND},
            {"member of another object", app, 0x56C, DISPATCH_PROPERTYPUT, {text(L"x")}, true, DISP_E_MEMBERNOTFOUND},
            {"put of a get", app, 0x23C, DISPATCH_PROPERTYPUT, {typed(VT_I4, 1)}, true, DISP_E_MEMBERNOTFOUND},
            {"get of a put", app, 0x22E, DISPATCH_PROPERTYGET, {}, false, DISP_E_MEMBERNOTFOUND},
            {"put without its named argument", app, 0x22E, DISPATCH_PROPERTYPUT, {typed(VT_BOOL, 1)}, false,
             DISP_E_PARAMNOTFOUND},
            {"put of the wrong type", app, 0x22E, DISPATCH_PROPERTYPUT, {typed(VT_I4, 1)}, true, DISP_E_TYPEMISMATCH},
            {"too many arguments", app, 0x23C, DISPATCH_PROPERTYGET, {typed(VT_I4, 1)}, false, DISP_E_BADPARAMCOUNT},
            {"Item with VT_I2 row", cells.p, 0xAA, DISPATCH_PROPERTYGET, {typed(VT_I2, 1), typed(VT_I4, 1)}, false,
             DISP_E_TYPEMISMATCH},
            {"Value2 as a number", cell.p, 0x56C, DISPATCH_PROPERTYPUT, {typed(VT_I4, 5)}, true, DISP_E_TYPEMISMATCH},
            {"BorderAround with VT_I4 line style", cell.p, 0x42B, DISPATCH_METHOD,
             {typed(VT_I4, 1), typed(VT_I4, 2), typed(VT_I4, 1), typed(VT_UI4, 0)}, false, DISP_E_TYPEMISMATCH},
            {"BorderAround with an argument left out", cell.p, 0x42B, DISPATCH_METHOD,
             {typed(VT_I2, 1), typed(VT_I4, 2), typed(VT_I4, 1)}, false, DISP_E_BADPARAMCOUNT},
            {"cell at row 0", cells.p, 0xAA, DISPATCH_PROPERTYGET, {typed(VT_I4, 0), typed(VT_I4, 1)}, false,
             DISP_E_EXCEPTION},
            {"cell beyond the last row", cells.p, 0xAA, DISPATCH_PROPERTYGET,
             {typed(VT_I4, 1048577), typed(VT_I4, 1)}, false, DISP_E_EXCEPTION},
            {"second worksheet", sheet.worksheets.p, 0xAA, DISPATCH_PROPERTYGET, {typed(VT_I2, 2)}, false,
             DISP_E_BADINDEX},
            {"reference that names no cell", sheet.worksheet.p, 0xC5, DISPATCH_PROPERTYGET,
             {text(L"B"), text(L"C3")}, false, DISP_E_EXCEPTION},
        };
        for (auto c : cases) {
            EXPECT_EQ(c.expected, invoke(c.object, c.id, c.flags, c.arguments, &ignored, c.named_put)) << c.name;
            VariantClear(&ignored);
            for (VARIANT& a : c.arguments)
                VariantClear(&a);
        }
    }
    EXPECT_EQ(0, double_control("live_objects"));
}

TEST(SpreadsheetDouble, RangeGeometryFollowsRowHeightsAndColumnWidths)
{
    double_control("reset");
    double_workbook book;
    book.row_heights[2] = 30;
    book.column_widths[3] = 100;
    opened_sheet sheet(book);
    ASSERT_NE(nullptr, sheet.worksheet.p);
    const struct {
        const wchar_t *first, *last;
        double left, top, width, height;
    } cases[] = {
        {L"A1", L"A1", 0, 0, 48, 15},
        {L"B2", L"C3", 48, 15, 148, 45},
        {L"$D$3", L"$b$2", 48, 15, 196, 45},  // corners in any order, $ and case ignored
        {L"AA10", L"AB10", 26 * 48 + 52, 150, 96, 15},
    };
    for (const auto& c : cases) {
        dispatch_ref range = get_object(sheet.worksheet.p, 0xC5, {text(c.first), text(c.last)});
        ASSERT_NE(nullptr, range.p);
        EXPECT_DOUBLE_EQ(c.left, number(range.p, 0x7F));
        EXPECT_DOUBLE_EQ(c.top, number(range.p, 0x7E));
        EXPECT_DOUBLE_EQ(c.width, number(range.p, 0x7A));
        EXPECT_DOUBLE_EQ(c.height, number(range.p, 0x7B));
    }
}

}  // namespace
