// The spreadsheet double: "Excel.Application" for the Wine tests, serving the
// members the library calls, strictly, over a model of the workbook. See
// double_model.h for what it keeps and how a test drives it.
#include "double_model.h"

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---- the one application of the process and what it shows ---------------

struct double_state {
    double_model model;
    int sheet_rows() const { return model.workbook.rows; }
    int sheet_columns() const { return model.workbook.columns; }
    bool workbook_open = false;
    int fail_at_call = 0;
    bool refuse_start = false;
    std::string model_path;
};

double_state state;
LONG server_locks = 0;

void write_model()
{
    std::string path = state.model_path.empty() ? double_model_path() : state.model_path;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::string text = double_model_text(state.model);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

std::string to_ansi(const wchar_t* text, UINT length)
{
    if (length == 0)
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &out[0], size, nullptr, nullptr);
    return out;
}

std::string bstr_ansi(BSTR text) { return text ? to_ansi(text, SysStringLen(text)) : std::string(); }

bool file_exists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

// ---- geometry -------------------------------------------------------------

// Sum of the sizes from 1 to last (inclusive), with the few set ones apart.
double span(const std::map<int, double>& set, double standard, int first, int last)
{
    if (last < first)
        return 0;
    double total = standard * (last - first + 1);
    for (auto it = set.lower_bound(first); it != set.end() && it->first <= last; ++it)
        total += it->second - standard;
    return total;
}

struct cell_box {
    int first_row, first_column, last_row, last_column;
};

// "$C$7", "c7", "AB12": column letters, then the row; each part may carry a $.
bool parse_reference(const std::string& text, int* row, int* column)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long col = 0;
    size_t letters = 0;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) && letters < 4) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        ++i;
        ++letters;
    }
    if (letters == 0)
        return false;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long r = 0;
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && digits < 8) {
        r = r * 10 + (text[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0 || i != text.size() || r < 1 || col < 1 || r > state.sheet_rows() || col > state.sheet_columns())
        return false;
    *row = static_cast<int>(r);
    *column = static_cast<int>(col);
    return true;
}

// ---- objects ---------------------------------------------------------------

enum class kind { application, workbooks, workbook, worksheets, worksheet, range, shapes, shape };

const char* kind_name(kind k)
{
    switch (k) {
    case kind::application: return "Application";
    case kind::workbooks: return "Workbooks";
    case kind::workbook: return "Workbook";
    case kind::worksheets: return "Worksheets";
    case kind::worksheet: return "Worksheet";
    case kind::range: return "Range";
    case kind::shapes: return "Shapes";
    case kind::shape: return "Shape";
    }
    return "?";
}

enum class access { get, put, call };

// Argument kinds: a variant type, or an optional argument left out.
constexpr VARTYPE omitted = 0xFFFF;

struct member_signature {
    kind object;
    DISPID id;
    const char* name;
    access how;
    std::vector<VARTYPE> arguments;
};

const std::vector<member_signature>& members()
{
    static const std::vector<member_signature> all = {
        {kind::application, 0x23C, "Workbooks", access::get, {}},
        {kind::application, 0x22E, "Visible", access::put, {VT_BOOL}},
        {kind::application, 0x157, "DisplayAlerts", access::put, {VT_BOOL}},
        {kind::application, 0x12E, "Quit", access::call, {}},
        {kind::workbooks, 0x783, "Open", access::call,
         {VT_BSTR, omitted, VT_I2, omitted, omitted, omitted, omitted, omitted, omitted, omitted, omitted, omitted,
          omitted, omitted, omitted}},
        {kind::workbook, 0x1EE, "Worksheets", access::get, {}},
        {kind::workbook, 0x11B, "Save", access::call, {}},
        {kind::workbook, 0x12A, "Saved", access::put, {VT_BOOL}},
        {kind::worksheets, 0xAA, "Item", access::get, {VT_I2}},
        {kind::worksheet, 0xEE, "Cells", access::get, {}},
        {kind::worksheet, 0xC5, "Range", access::get, {VT_BSTR, VT_BSTR}},
        {kind::worksheet, 0x561, "Shapes", access::get, {}},
        {kind::range, 0xAA, "Item", access::get, {VT_I4, VT_I4}},
        {kind::range, 0x56C, "Value2", access::put, {VT_BSTR}},
        {kind::range, 0x42B, "BorderAround", access::call, {VT_I2, VT_I4, VT_I4, VT_UI4}},
        {kind::range, 0x7B, "Height", access::get, {}},
        {kind::range, 0x7A, "Width", access::get, {}},
        {kind::range, 0x7F, "Left", access::get, {}},
        {kind::range, 0x7E, "Top", access::get, {}},
        {kind::shapes, 0x6BB, "AddPicture", access::call,
         {VT_BSTR, VT_I4, VT_I4, VT_R4, VT_R4, VT_R4, VT_R4}},
    };
    return all;
}

HRESULT raise(EXCEPINFO* exception, const std::wstring& description)
{
    if (exception) {
        std::memset(exception, 0, sizeof *exception);
        exception->wCode = 1004;
        exception->bstrSource = SysAllocString(L"Microsoft Excel");
        exception->bstrDescription = SysAllocString(description.c_str());
        exception->scode = DISP_E_EXCEPTION;
    }
    return DISP_E_EXCEPTION;
}

std::wstring widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

class double_object : public IDispatch {
public:
    explicit double_object(kind k, cell_box box = {1, 1, 1, 1}) : kind_(k), box_(box)
    {
        ++state.model.live_objects;
    }
    virtual ~double_object()
    {
        if (--state.model.live_objects == 0)
            write_model();  // everything released: the test reads the end state
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;  // callers use fixed DISPIDs
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* bad_argument) override;

private:
    HRESULT perform(const member_signature& signature, const std::vector<VARIANT*>& arguments, VARIANT* result,
                    EXCEPINFO* exception);
    static void hand_out(VARIANT* result, double_object* object)
    {
        if (!result) {
            object->Release();
            return;
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
    }

    kind kind_;
    cell_box box_;
    ULONG references_ = 1;
};

HRESULT double_object::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                              EXCEPINFO* exception, UINT* bad_argument)
{
    int call = ++state.model.calls;
    const member_signature* signature = nullptr;
    for (const member_signature& m : members())
        if (m.object == kind_ && m.id == id)
            signature = &m;
    state.model.call_log.push_back(std::string(kind_name(kind_)) + "." +
                                   (signature ? signature->name : ("#" + std::to_string(id)).c_str()));
    if (call == state.fail_at_call) {
        state.model.failed_call = call;
        return raise(exception, L"injected fault at call " + std::to_wstring(call));
    }
    if (!signature || !parameters)
        return DISP_E_MEMBERNOTFOUND;
    bool kind_right = false;
    switch (signature->how) {
    case access::get:
        kind_right = (flags & DISPATCH_PROPERTYGET) && !(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF));
        break;
    case access::call:
        kind_right = (flags & DISPATCH_METHOD) && !(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF));
        break;
    case access::put:
        kind_right = flags == DISPATCH_PROPERTYPUT;
        break;
    }
    if (!kind_right)
        return DISP_E_MEMBERNOTFOUND;
    if (signature->how == access::put) {
        if (parameters->cNamedArgs != 1 || !parameters->rgdispidNamedArgs ||
            parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    } else if (parameters->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (parameters->cArgs != signature->arguments.size() || (parameters->cArgs && !parameters->rgvarg))
        return DISP_E_BADPARAMCOUNT;
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANT*> in_order;
    for (UINT i = 0; i < parameters->cArgs; ++i) {
        UINT slot = parameters->cArgs - 1 - i;
        VARIANT* argument = &parameters->rgvarg[slot];
        VARTYPE wanted = signature->arguments[i];
        bool right = wanted == omitted ? argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND
                                       : argument->vt == wanted;
        if (!right) {
            if (bad_argument)
                *bad_argument = slot;
            return DISP_E_TYPEMISMATCH;
        }
        in_order.push_back(argument);
    }
    if (result)
        VariantInit(result);
    return perform(*signature, in_order, result, exception);
}

HRESULT double_object::perform(const member_signature& signature, const std::vector<VARIANT*>& a, VARIANT* result,
                               EXCEPINFO* exception)
{
    double_model& m = state.model;
    double_workbook& book = m.workbook;
    const std::string name = signature.name;
    switch (kind_) {
    case kind::application:
        if (name == "Workbooks")
            hand_out(result, new double_object(kind::workbooks));
        else if (name == "Visible")
            m.visible = a[0]->boolVal != VARIANT_FALSE;
        else if (name == "DisplayAlerts")
            m.display_alerts = a[0]->boolVal != VARIANT_FALSE;
        else if (name == "Quit")
            m.quit = true;
        return S_OK;
    case kind::workbooks: {  // Open
        std::string path = bstr_ansi(a[0]->bstrVal);
        m.opened_path = path;
        m.read_only = a[2]->iVal;
        if (!file_exists(path))
            return raise(exception, L"'" + widen(path) + L"' could not be found. Check the spelling of the file "
                                                         L"name, and verify that the file location is correct.");
        double_workbook loaded;
        if (!parse_double_workbook(read_double_file(path), &loaded))
            return raise(exception, L"Excel cannot open the file '" + widen(path) +
                                        L"' because the file format or file extension is not valid.");
        book = loaded;
        state.workbook_open = true;
        m.saved = true;
        hand_out(result, new double_object(kind::workbook));
        return S_OK;
    }
    case kind::workbook:
        if (name == "Worksheets") {
            hand_out(result, new double_object(kind::worksheets));
        } else if (name == "Save") {
            std::string text = book.text();
            FILE* f = std::fopen(m.opened_path.c_str(), "wb");
            if (!f)
                return raise(exception, L"Cannot access '" + widen(m.opened_path) + L"'.");
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
            ++m.saves;
            m.saved = true;
            write_model();
        } else if (name == "Saved") {
            m.saved = a[0]->boolVal != VARIANT_FALSE;
        }
        return S_OK;
    case kind::worksheets:  // Item
        if (a[0]->iVal < 1 || a[0]->iVal > book.sheets)
            return DISP_E_BADINDEX;
        hand_out(result, new double_object(kind::worksheet));
        return S_OK;
    case kind::worksheet:
        if (name == "Cells") {
            hand_out(result, new double_object(kind::range, {1, 1, book.rows, book.columns}));
        } else if (name == "Shapes") {
            hand_out(result, new double_object(kind::shapes));
        } else {  // Range
            cell_box box;
            if (!parse_reference(bstr_ansi(a[0]->bstrVal), &box.first_row, &box.first_column) ||
                !parse_reference(bstr_ansi(a[1]->bstrVal), &box.last_row, &box.last_column))
                return raise(exception, L"Method 'Range' of object '_Worksheet' failed");
            if (box.first_row > box.last_row)
                std::swap(box.first_row, box.last_row);
            if (box.first_column > box.last_column)
                std::swap(box.first_column, box.last_column);
            hand_out(result, new double_object(kind::range, box));
        }
        return S_OK;
    case kind::range:
        if (name == "Item") {
            long long row = static_cast<long long>(box_.first_row) + a[0]->lVal - 1;
            long long column = static_cast<long long>(box_.first_column) + a[1]->lVal - 1;
            if (a[0]->lVal < 1 || a[1]->lVal < 1 || row > book.rows || column > book.columns)
                return raise(exception, L"Application-defined or object-defined error");
            int r = static_cast<int>(row), c = static_cast<int>(column);
            hand_out(result, new double_object(kind::range, {r, c, r, c}));
        } else if (name == "Value2") {
            std::string text = bstr_ansi(a[0]->bstrVal);
            for (int r = box_.first_row; r <= box_.last_row && r - box_.first_row < 1000; ++r)
                for (int c = box_.first_column; c <= box_.last_column && c - box_.first_column < 100; ++c) {
                    if (text.empty())
                        book.cells.erase({r, c});
                    else
                        book.cells[{r, c}] = text;
                }
            m.saved = false;
        } else if (name == "BorderAround") {
            double_frame f;
            f.first_row = box_.first_row;
            f.first_column = box_.first_column;
            f.last_row = box_.last_row;
            f.last_column = box_.last_column;
            f.line_style = a[0]->iVal;
            f.weight = a[1]->lVal;
            f.color_index = a[2]->lVal;
            f.color = a[3]->ulVal;
            book.frames.push_back(f);
            m.saved = false;
            if (result) {
                result->vt = VT_BOOL;
                result->boolVal = VARIANT_TRUE;
            }
        } else {
            double value = 0;
            if (name == "Height")
                value = span(book.row_heights, book.default_row_height, box_.first_row, box_.last_row);
            else if (name == "Width")
                value = span(book.column_widths, book.default_column_width, box_.first_column, box_.last_column);
            else if (name == "Top")
                value = span(book.row_heights, book.default_row_height, 1, box_.first_row - 1);
            else
                value = span(book.column_widths, book.default_column_width, 1, box_.first_column - 1);
            if (result) {
                result->vt = VT_R8;
                result->dblVal = value;
            }
        }
        return S_OK;
    case kind::shapes: {  // AddPicture
        double_picture p;
        p.path = bstr_ansi(a[0]->bstrVal);
        if (!file_exists(p.path))
            return raise(exception, L"The specified file wasn't found.");
        p.link_to_file = a[1]->lVal;
        p.save_with_document = a[2]->lVal;
        p.left = a[3]->fltVal;
        p.top = a[4]->fltVal;
        p.width = a[5]->fltVal;
        p.height = a[6]->fltVal;
        book.pictures.push_back(p);
        m.saved = false;
        hand_out(result, new double_object(kind::shape));
        return S_OK;
    }
    case kind::shape:
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

class double_factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static, never freed
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (state.refuse_start)
            return CO_E_SERVER_EXEC_FAILURE;
        ++state.model.starts;
        double_object* application = new double_object(kind::application);
        HRESULT hr = application->QueryInterface(iid, out);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        server_locks += lock ? 1 : -1;
        return S_OK;
    }
};

double_factory factory;

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    CLSID ours;
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (FAILED(CLSIDFromString(excel_double_clsid, &ours)) || !IsEqualCLSID(clsid, ours))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return state.model.live_objects == 0 && server_locks == 0 ? S_OK : S_FALSE;
}

// Commands of the test (see double_model.h). Returns the value asked for, 0
// after a setting, -1 for a command it does not know.
extern "C" int double_control(const char* command)
{
    std::string line = command ? command : "";
    std::string word = line.substr(0, line.find(' '));
    std::string rest = double_rest(line, 1);
    if (word == "reset") {
        std::string path = state.model_path;
        int live = state.model.live_objects;
        state = double_state();
        state.model_path = path;
        state.model.live_objects = live;  // objects still held stay counted
        std::remove((path.empty() ? double_model_path() : path).c_str());
        return 0;
    }
    if (word == "model_file") {
        state.model_path = rest;
        return 0;
    }
    if (word == "fail_call") {
        state.fail_at_call = std::atoi(rest.c_str());
        return 0;
    }
    if (word == "refuse_start") {
        state.refuse_start = rest.empty() || std::atoi(rest.c_str()) != 0;
        return 0;
    }
    if (word == "starts")
        return state.model.starts;
    if (word == "live_objects")
        return state.model.live_objects;
    if (word == "calls")
        return state.model.calls;
    if (word == "saves")
        return state.model.saves;
    if (word == "visible")
        return state.model.visible ? 1 : 0;
    return -1;
}
