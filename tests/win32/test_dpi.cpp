// Panels at their screen's DPI under Wine, which has one DPI for every
// monitor: through a synthetic WM_DPICHANGED and the backend's seams for
// the screens and high contrast. Windows only.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "ui/FVLicEnr.h"
#include "ui/userint.h"
#include "ui/win32/userint_win32.h"
#include "ui/win32/winprivate.h"

namespace {

int PanelInt(int p, int a) {
    int v = -1;
    GetPanelAttributeAnsi(p, a, &v);
    return v;
}

SIZE Client(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return {r.right, r.bottom};
}

// The DPI change Windows would send: the window with its client scaled.
void SendDpi(HWND w, int dpi, int from) {
    RECT r, in;
    GetWindowRect(w, &r);
    GetClientRect(w, &in);
    const int fw = (r.right - r.left) - in.right, fh = (r.bottom - r.top) - in.bottom;
    RECT s = {r.left, r.top, r.left + MulDiv(in.right, dpi, from) + fw, r.top + MulDiv(in.bottom, dpi, from) + fh};
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&s));
}

int FontHeight(HWND w) {
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

class Dpi : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(InitUIRunTime(0, nullptr, 0), 1); }
    void TearDown() override { UiWinSetScreens(nullptr, 0); }
};

// 96 -> 144 -> 96 ten times: the size, a control's place, the font and
// the picture follow, and the GDI objects come back to their count.
TEST_F(Dpi, PanelFollowsDpiChangesAndLeaksNothing) {
    const int p = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_LOAD);
    ASSERT_GT(p, 0);
    SetCtrlAttributeAnsi(p, FVLIC_LOAD_BP_PROF, ATTR_VISIBLE, 1);
    DisplayPanel(p);
    ProcessDrawEvents();
    const HWND w = UiPanelWindow(p), button = UiCtrlWindow(p, FVLIC_LOAD_BP_PROF);
    const SIZE at96 = Client(w);
    const RECT place96 = uiwin::RectInPanel(*uicore::FindPanel(p), button);
    const int width = PanelInt(p, ATTR_WIDTH), font96 = FontHeight(button);
    const int gdi = UiWinGdiObjects();
    for (int trip = 0; trip < 10; ++trip) {
        SendDpi(w, 144, 96);
        ProcessDrawEvents();
        const SIZE at144 = Client(w);
        EXPECT_EQ(MulDiv(at96.cx, 144, 96), at144.cx);
        EXPECT_EQ(MulDiv(at96.cy, 144, 96), at144.cy);
        EXPECT_EQ(width, PanelInt(p, ATTR_WIDTH)) << "the same size in 96-DPI units";
        const RECT place = uiwin::RectInPanel(*uicore::FindPanel(p), button);
        EXPECT_EQ(MulDiv(place96.left, 144, 96), place.left);
        EXPECT_EQ(MulDiv(place96.top, 144, 96), place.top);
        EXPECT_EQ(-MulDiv(9, 144, 72), FontHeight(button));
        std::string key;
        SIZE drawn = {};
        ASSERT_TRUE(uiwin::PictureDrawn(button, &key, &drawn));
        EXPECT_NE(std::string::npos, key.find("@2x")) << key;
        SendDpi(w, 96, 144);
        ProcessDrawEvents();
        EXPECT_EQ(at96.cx, Client(w).cx);
        EXPECT_EQ(font96, FontHeight(button));
        ASSERT_TRUE(uiwin::PictureDrawn(button, &key, &drawn));
        EXPECT_EQ(std::string::npos, key.find("@2x")) << key;
    }
    EXPECT_EQ(gdi, UiWinGdiObjects()) << "GDI objects after ten round trips";
    std::printf("GDI objects held: %d before, %d after ten round trips\n", gdi, UiWinGdiObjects());
    DiscardPanel(p);
}

// Two screens side by side: a laptop at 150 % and a projector at 100 %.
TEST_F(Dpi, PanelsGoToTheirOwnScreen) {
    const UiWinScreen screens[] = {{0, 0, 1920, 1080, 0, 0, 1920, 1040, 144},
                                   {1920, 0, 1024, 768, 1920, 0, 1024, 768, 96}};
    UiWinSetScreens(screens, 2);
    const int main = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_ENR);
    ASSERT_GT(main, 0);
    // The main panel on the projector; the downloads panel where it was.
    SetPanelPos(main, 100, 1920 + 10);
    DisplayPanel(main);
    const int top = PanelInt(main, ATTR_TOP), left = PanelInt(main, ATTR_LEFT);
    HidePanel(main);
    const int load = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_LOAD);
    SetPanelPos(load, top, left);
    RECT r;
    GetWindowRect(UiPanelWindow(load), &r);
    EXPECT_GE(r.left, 1920) << "on the projector";
    EXPECT_LE(r.right, 1920 + 1024) << "whole on it";
    EXPECT_EQ(PanelInt(load, ATTR_WIDTH), Client(UiPanelWindow(load)).cx) << "at 100 %";
    DiscardPanel(load);
    // A centred popup on its owner's screen, the laptop at 150 %.
    SetPanelPos(main, 100, 100);
    DisplayPanel(main);
    const int popup = NewPanelAnsi(0, "p", 0, 0, 100, 200);
    SetPanelPos(popup, VAL_AUTO_CENTER, VAL_AUTO_CENTER);
    GetWindowRect(UiPanelWindow(popup), &r);
    EXPECT_LT(r.right, 1920);
    EXPECT_EQ(300, Client(UiPanelWindow(popup)).cx) << "at 150 %";
    DiscardPanel(popup);
    DiscardPanel(main);
}

// At 200 % on a 1280 x 1024 screen the downloads panel fits only at a
// lower scale: it takes the largest one, whole on the screen. Dragged onto
// a second such screen, it takes the corner Windows suggests, moved onto
// that screen's work area, at the same scale.
TEST_F(Dpi, TooLargePanelTakesTheLargestScaleThatFits) {
    const UiWinScreen screen[] = {{0, 0, 1280, 1024, 0, 0, 1280, 984, 192},
                                  {1280, 0, 1280, 1024, 1280, 0, 1280, 984, 192}};
    UiWinSetScreens(screen, 2);
    const int load = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_LOAD);
    ASSERT_GT(load, 0);
    SetPanelPos(load, 0, 0);
    RECT r;
    GetWindowRect(UiPanelWindow(load), &r);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 1280);
    EXPECT_LE(r.bottom, 984);
    const int w = Client(UiPanelWindow(load)).cx;
    EXPECT_GE(w, PanelInt(load, ATTR_WIDTH)) << "never below 100 %";
    EXPECT_GT(w + 60, 1280) << "the largest scale that fits";
    GetWindowRect(UiPanelWindow(load), &r);
    const RECT suggested = {1280 + 500, 300, 1280 + 500 + 2 * (r.right - r.left), 300 + 2 * (r.bottom - r.top)};
    SendMessageW(UiPanelWindow(load), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT moved;
    GetWindowRect(UiPanelWindow(load), &moved);
    EXPECT_EQ(moved.right, 2560) << "the suggested corner, on the work area";
    EXPECT_EQ(moved.bottom, std::min(984L, 300 + r.bottom - r.top));
    EXPECT_EQ(Client(UiPanelWindow(load)).cx, w) << "the same scale";
    DiscardPanel(load);
}

// Under high contrast, the system's colours; the link keeps its underline.
TEST_F(Dpi, HighContrastTakesTheSystemColours) {
    const int p = NewPanelAnsi(0, "p", 100, 100, 200, 300);
    const int text = NewCtrlAnsi(p, CTRL_TEXT_MSG, "texte", 10, 10);
    const int link = NewCtrlAnsi(p, CTRL_TEXT_MSG, "lien", 40, 10);
    SetPanelAttributeAnsi(p, ATTR_BACKCOLOR, 0x123456);
    SetCtrlAttributeAnsi(p, text, ATTR_TEXT_COLOR, 0x654321);
    SetCtrlAttributeAnsi(p, link, ATTR_TEXT_COLOR, 0x0000FF);
    SetCtrlAttributeAnsi(p, link, ATTR_TEXT_UNDERLINE, 1);
    HDC dc = CreateCompatibleDC(nullptr);
    for (int on : {0, 1}) {
        UiWinSetHighContrast(on);
        const struct {
            int ctrl;
            COLORREF own, system;
        } cases[] = {{text, RGB(0x65, 0x43, 0x21), GetSysColor(COLOR_BTNTEXT)},
                     {link, RGB(0, 0, 0xFF), GetSysColor(COLOR_HOTLIGHT)}};
        for (const auto &c : cases) {
            const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
                UiPanelWindow(p), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                reinterpret_cast<LPARAM>(UiCtrlWindow(p, c.ctrl))));
            EXPECT_EQ(on ? c.system : c.own, GetTextColor(dc)) << "high contrast " << on;
            LOGBRUSH lb = {};
            GetObjectW(brush, sizeof lb, &lb);
            EXPECT_EQ(on ? GetSysColor(COLOR_BTNFACE) : RGB(0x12, 0x34, 0x56), lb.lbColor);
        }
        LOGFONTW lf = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(UiCtrlWindow(p, link), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        EXPECT_TRUE(lf.lfUnderline);
    }
    UiWinSetHighContrast(-1);
    DeleteDC(dc);
    DiscardPanel(p);
}

}  // namespace
