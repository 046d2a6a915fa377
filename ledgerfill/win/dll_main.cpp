// The library's entry points besides excel_file_2010. The COM server entries
// are there for hosts that probe for them; no class stands behind them.
#include <objbase.h>

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_OK; }

extern "C" HRESULT WINAPI DllRegisterServer() { return S_OK; }

extern "C" HRESULT WINAPI DllUnregisterServer() { return S_OK; }
