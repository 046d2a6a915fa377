// The standard entry points of an in-process COM server, for the libraries
// that hosts probe for them. No class stands behind them: nothing can be
// created, the library can always be unloaded, and there is nothing to
// register or unregister. Each library's .def says which of them it exports.
#include <windows.h>
#include <objbase.h>

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return S_OK; }

STDAPI DllRegisterServer() { return S_OK; }

STDAPI DllUnregisterServer() { return S_OK; }
