// The standard entry points of an in-process COM server. The library serves
// no class: nothing can be created from it, it can always be unloaded, and
// there is nothing to register.
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
