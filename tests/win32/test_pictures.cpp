// The pictures of the Win32 backend: a picture button and a logo show
// their pictures on the screen (they drew blank once), and a screen above
// 96 DPI takes the "@2x" pictures. Windows only: the Qt backend draws its
// pictures through Qt itself.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/core/coreres.h"
#include "ui/userint.h"
#include "ui/win32/userint_win32.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/winres.h"

namespace {

// How many pixels of the centred side x side square of the window's client
// area, as the screen shows it, differ from the colour at (corner, corner).
int PixelsUnlike(HWND hwnd, int corner, int side) {
    RECT r;
    GetClientRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    const COLORREF background = GetPixel(mem, corner, corner);
    int unlike = 0;
    const int x0 = (r.right - side) / 2, y0 = (r.bottom - side) / 2;
    for (int y = y0; y < y0 + side; ++y)
        for (int x = x0; x < x0 + side; ++x) unlike += GetPixel(mem, x, y) != background;
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
    return unlike;
}

TEST(Pictures, ButtonAndLogoShowTheirPictures) {
    ASSERT_EQ(InitUIRunTime(0, nullptr, 0), 1);
    const int load = LoadPanelAnsi(0, "FVLicEnr.uir", 6);
    ASSERT_GT(load, 0);
    const int main = LoadPanelAnsi(0, "FVLicEnr.uir", 4);
    ASSERT_GT(main, 0);
    SetPanelPos(main, 0, 0);
    SetPanelPos(load, 0, 300);
    ASSERT_EQ(SetCtrlAttributeAnsi(load, 13, ATTR_VISIBLE, 1), 0);   // BP_PROF, a 24 x 24 picture
    DisplayPanel(main);
    DisplayPanel(load);
    ProcessDrawEvents();
    // The middle of the 32 x 32 button's face (inside its edge) is picture.
    HWND button = UiCtrlWindow(load, 13);
    EXPECT_GT(PixelsUnlike(button, 4, 20), 20 * 20 / 3);
    // An owner-drawn button, whose window text, its name for screen
    // readers, only its owner could draw.
    EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_GT(GetWindowTextLengthW(button), 0);
    // LOGO_2 (48 x 48) against the panel's background.
    EXPECT_GT(PixelsUnlike(UiCtrlWindow(main, 23), 0, 48), 48 * 48 / 4);
    DiscardPanel(load);
    DiscardPanel(main);
}

TEST(Pictures, TheScreenChoosesTheScale) {
    std::string bytes;
    ASSERT_EQ(uicore::UirReadFile("FVLicEnr.uir", &bytes), 0);
    uicore::UirFile file;
    ASSERT_EQ(uicore::UirParse(bytes, &file), 0);
    const std::string manual = ":/FVLicEnr.uir/images/manual.png", logo = ":/FVLicEnr.uir/images/logo@2x.png";
    EXPECT_EQ(uicore::ChoosePictureKey(file.images, manual, 96), manual);
    EXPECT_EQ(uicore::ChoosePictureKey(file.images, manual, 192), ":/FVLicEnr.uir/images/manual@2x.png");
    EXPECT_EQ(uicore::ChoosePictureKey(file.images, manual, 120), ":/FVLicEnr.uir/images/manual@2x.png");
    EXPECT_EQ(uicore::ChoosePictureKey(file.images, logo, 96), logo);   // only a large one: scaled down
    EXPECT_EQ(file.images.at(manual)->width, 16);
}

}  // namespace
