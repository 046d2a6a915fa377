#include "message_box_catcher.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(MessageBoxCatcher, RecordsCaptionTextButtonsInOrderAndPressesOk)
{
    message_box_catcher catcher;
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"\x6A21\x677F first", L"caption one", MB_OK));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "second", "caption two", MB_OKCANCEL | MB_ICONWARNING));
    ASSERT_EQ(2u, catcher.boxes().size());
    EXPECT_EQ("caption one", catcher.boxes()[0].caption);
    EXPECT_EQ(ansi("模板 first"), catcher.boxes()[0].text);
    EXPECT_TRUE(catcher.boxes()[0].has_ok);
    EXPECT_FALSE(catcher.boxes()[0].has_cancel);
    EXPECT_EQ("second", catcher.boxes()[1].text);
    EXPECT_TRUE(catcher.boxes()[1].has_cancel);
}

TEST(MessageBoxCatcher, ReadsTaskModalBoxes)
{
    // Wine activates a task-modal box before it has set the text and buttons.
    message_box_catcher catcher;
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"\x6A21\x677F task", L"caption", MB_OK | MB_TASKMODAL));
    ASSERT_EQ(1u, catcher.boxes().size());
    EXPECT_EQ("caption", catcher.boxes()[0].caption);
    EXPECT_EQ(ansi("模板 task"), catcher.boxes()[0].text);
    EXPECT_TRUE(catcher.boxes()[0].has_ok);
    EXPECT_FALSE(catcher.boxes()[0].has_cancel);
}

TEST(MessageBoxCatcher, CatchesBoxesShownInsideALoadedDll)
{
    HMODULE library = LoadLibraryA("box_from_dll.dll");
    ASSERT_NE(nullptr, library);
    using show_fn = int (*)(const wchar_t*, const wchar_t*, unsigned);
    auto show = reinterpret_cast<show_fn>(GetProcAddress(library, "show_box_from_dll"));
    ASSERT_NE(nullptr, show);
    message_box_catcher catcher;
    EXPECT_EQ(IDOK, show(L"\x65E0\x6CD5", L"box_from_dll", MB_OKCANCEL));
    EXPECT_EQ(IDOK, show(L"again", L"box_from_dll", MB_OK | MB_ICONEXCLAMATION));
    ASSERT_EQ(2u, catcher.boxes().size());
    EXPECT_EQ(ansi("无法"), catcher.boxes()[0].text);
    EXPECT_EQ("box_from_dll", catcher.boxes()[0].caption);
    EXPECT_TRUE(catcher.boxes()[0].has_cancel);
    EXPECT_EQ("again", catcher.boxes()[1].text);
    EXPECT_FALSE(catcher.boxes()[1].has_cancel);
    FreeLibrary(library);
}

TEST(MessageBoxCatcher, RunsUnderTheChineseCodePage)
{
    EXPECT_EQ(936u, GetACP());
    EXPECT_EQ(std::string("\xC4\xA3\xB0\xE5"), ansi("模板"));
}
