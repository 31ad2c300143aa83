// Windows-1252 text of the Win32 backend: the layer's own table against
// Windows' own code page 1252 (an independent copy of it), the way back, and
// labels in the "&X" form of the W functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/win32/wintext.h"

namespace {

// Every byte 1..255 once.
std::string AllBytes() {
    std::string s;
    for (int b = 1; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

TEST(WinText, EveryByteAsWindowsCodePage1252ReadsIt) {
    for (int b = 1; b < 256; ++b) {
        const char byte[2] = {static_cast<char>(b), 0};
        wchar_t windows[4] = {};
        ASSERT_EQ(MultiByteToWideChar(1252, 0, byte, -1, windows, 4), 2) << b;
        EXPECT_EQ(uiwin::WideFromAnsi(byte), std::wstring(windows)) << "byte " << b;
    }
}

// Back to bytes whatever the PC's ANSI code page: every byte survives, and a
// letter Windows-1252 lacks becomes '?', never a look-alike of another code
// page.
TEST(WinText, WayBackKeepsEveryByte) {
    const std::string all = AllBytes();
    const std::wstring wide = uiwin::WideFromAnsi(all.c_str());
    EXPECT_EQ(uiwin::AnsiFromWide(wide.c_str(), static_cast<int>(wide.size())), all);
    const wchar_t polish[] = L"\u0141\u00f3d\u017a";   // Łódź: ó is in 1252, Ł and ź are not
    EXPECT_EQ(uiwin::AnsiFromWide(polish, 4), "?\xF3" "d?");
    EXPECT_EQ(uiwin::WideFromAnsi(nullptr), L"");
}

TEST(WinText, LabelsTakeTheAmpersandForm) {
    EXPECT_EQ(uiwin::WideLabel("__QUITTER"), L"&QUITTER");
    EXPECT_EQ(uiwin::WideLabel("R&D __T\xE9l\xE9" "charger"), L"R&&D &T\u00e9l\u00e9charger");
    EXPECT_EQ(uiwin::WideLabel("fin__"), L"fin__");
}

}  // namespace
