// For every test of this program: COM on the main thread and the spreadsheet
// double registered as "Excel.Application" while the program runs.
#include "double_model.h"

#include <gtest/gtest.h>

namespace {

class double_environment : public testing::Environment {
public:
    void SetUp() override
    {
        com_ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_TRUE(com_ready_);
        root_ = register_excel_double();
        ASSERT_NE(nullptr, root_) << "cannot register " << excel_double_path();
    }
    void TearDown() override
    {
        if (root_)
            unregister_excel_double(root_);
        if (com_ready_)
            CoUninitialize();
    }

private:
    bool com_ready_ = false;
    HKEY root_ = nullptr;
};

const testing::Environment* const registered = testing::AddGlobalTestEnvironment(new double_environment);

}  // namespace
