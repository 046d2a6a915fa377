#include "com_server_check.h"

#include <gtest/gtest.h>
#include <objbase.h>

void expect_classless_com_server(HMODULE library, bool exports_unregister)
{
    ASSERT_NE(nullptr, library);
    using get_class_object_fn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using no_argument_fn = HRESULT(STDAPICALLTYPE*)();
    auto get_class_object = reinterpret_cast<get_class_object_fn>(GetProcAddress(library, "DllGetClassObject"));
    auto can_unload_now = reinterpret_cast<no_argument_fn>(GetProcAddress(library, "DllCanUnloadNow"));
    auto register_server = reinterpret_cast<no_argument_fn>(GetProcAddress(library, "DllRegisterServer"));
    auto unregister_server = reinterpret_cast<no_argument_fn>(GetProcAddress(library, "DllUnregisterServer"));
    ASSERT_TRUE(get_class_object && can_unload_now && register_server);
    ASSERT_EQ(exports_unregister, unregister_server != nullptr);

    const CLSID some_class = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* object = &object;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get_class_object(some_class, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(S_OK, can_unload_now());
    EXPECT_EQ(S_OK, register_server());
    if (unregister_server) {
        EXPECT_EQ(S_OK, unregister_server());
    }
}
