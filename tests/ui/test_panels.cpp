// Panels: start-up, loading from compiled-in and binary bundles, faulty
// resources, creation, display and activation, position, attributes,
// discarding, and the failure codes of unknown handles.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/userint_win32.h"
#else
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QWidget>

#include "ui/qt/userint_qt.h"
#endif

#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

namespace fs = std::filesystem;

// The window system's own view of a panel's window, for what the layer
// cannot tell of itself.
struct Rect {
    int x, y, width, height;
};
#ifdef _WIN32
Rect ScreenRect(bool available) {
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (available) SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
LONG_PTR Style(int panel) { return GetWindowLongPtrW(UiPanelWindow(panel), GWL_STYLE); }
#else
Rect ScreenRect(bool available) {
    const QRect g = available ? QGuiApplication::primaryScreen()->availableGeometry()
                              : QGuiApplication::primaryScreen()->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}
#endif

enum { P1 = 1, P2 = 2, P3 = 3, P4 = 4, BP_OK = 2, RING = 3, MSG = 4, BP_QUIT = 10 };

TEST(StartUp, SecondInitSucceedsAndKeepsTheRunTime) {
    char *argv[] = {const_cast<char *>("x"), nullptr};
    EXPECT_EQ(1, InitUIRunTime(0, argv, 0));
    EXPECT_EQ(1, InitUIRunTimeHeadless(argv));
}

TEST(StartUp, ProjectDirIsTheExecutablesFolder) {
    char dir[MAX_PATHNAME_LEN];
    ASSERT_EQ(0, GetProjectDirAnsi(dir));
#ifdef _WIN32
    wchar_t exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    *wcsrchr(exe, L'\\') = 0;
    char expected[MAX_PATH * 2];
    WideCharToMultiByte(1252, 0, exe, -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_STREQ(expected, dir);
#else
    EXPECT_EQ(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString(), dir);
#endif
    EXPECT_EQ(UIE_BAD_POINTER, GetProjectDirAnsi(nullptr));
}

TEST(StartUp, SetDirMakesTheFolderCurrent) {
    const fs::path before = fs::current_path();
    const fs::path temp = fs::temp_directory_path();
    EXPECT_EQ(0, SetDirAnsi(temp.string().c_str()));
    EXPECT_EQ((temp / "x").lexically_normal(), (fs::current_path() / "x").lexically_normal());
    EXPECT_EQ(UIE_FILE_NOT_FOUND, SetDirAnsi("/no/such/folder/here"));
    EXPECT_EQ(UIE_BAD_POINTER, SetDirAnsi(nullptr));
    fs::current_path(before);
}

TEST(Loading, CompiledInBundle) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    char title[1024];
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_TITLE, title));
    EXPECT_STREQ("Panneau d'essai", title);
    int v = -1;
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_WIDTH, &v));
    EXPECT_EQ(400, v);
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_HEIGHT, &v));
    EXPECT_EQ(300, v);
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_BACKCOLOR, &v));
    EXPECT_EQ(0xF0F0F0, v);
#ifndef _WIN32   // Qt's palette; the Win32 backend paints its own brush
    EXPECT_EQ(QColor(0xF0, 0xF0, 0xF0), UiPanelWidget(p)->palette().color(QPalette::Window));
#endif
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_VISIBLE, &v));
    EXPECT_EQ(0, v);   // loaded panels wait for DisplayPanel
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, BP_OK, ATTR_CTRL_STYLE, &v));
    EXPECT_EQ(CTRL_COMMAND_BUTTON, v);
    // Two loads of one panel are two panels.
    const int q = LoadPanelAnsi(0, "UiTest.uir", P1);
    EXPECT_GT(q, 0);
    EXPECT_NE(p, q);
#ifdef _WIN32
    EXPECT_NE(UiPanelWindow(p), UiPanelWindow(q));
#else
    EXPECT_NE(UiPanelWidget(p), UiPanelWidget(q));
#endif
    DiscardPanel(q);
    DiscardPanel(p);
}

TEST(Loading, BinaryBundleFromTheProgramsFolderAndTheCurrentFolder) {
    // The tests run from the program's folder, where UiTestBin.uir lies;
    // from elsewhere it is found in the program's folder all the same.
    const fs::path before = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    const int p = LoadPanelAnsi(0, "UiTestBin.uir", P2);
    fs::current_path(before);
    ASSERT_GT(p, 0);
    char text[1024];
    ASSERT_EQ(0, GetCtrlValAnsi(p, 2, text));
    EXPECT_STREQ("Enfant", text);
    EXPECT_EQ(UIE_PANEL_NOT_FOUND, LoadPanelAnsi(0, "UiTestBin.uir", 77));
    DiscardPanel(p);
}

TEST(Loading, FailuresAreCodesNeverCrashes) {
    EXPECT_EQ(UIE_FILE_NOT_FOUND, LoadPanelAnsi(0, "NoSuchFile.uir", 1));
    EXPECT_EQ(UIE_FILE_NOT_FOUND, LoadPanelAnsi(0, "", 1));
    EXPECT_EQ(UIE_BAD_POINTER, LoadPanelAnsi(0, nullptr, 1));
    EXPECT_EQ(UIE_PANEL_NOT_FOUND, LoadPanelAnsi(0, "UiTest.uir", 42));
    EXPECT_EQ(UIE_PANEL_NOT_FOUND, LoadPanelAnsi(0, "UiTest.uir", -1));
    EXPECT_EQ(UIE_BAD_PANEL, LoadPanelAnsi(987654, "UiTest.uir", P1));
    // A Designer file cut in the middle.
    EXPECT_EQ(UIE_FILE_NOT_FOUND, LoadPanelAnsi(0, "UiTest.uir", 9));
}

TEST(Loading, FaultyControlsAreLeftOutNotFatal) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P3);
    ASSERT_GT(p, 0);
    char label[1024];
    // The first of two controls with id 2 is the control.
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, 2, ATTR_LABEL_TEXT, label));
    EXPECT_STREQ("A", label);
    // Id 0 and a class that is no control give no control.
    int v;
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlAttributeAnsi(p, 0, ATTR_VISIBLE, &v));
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlAttributeAnsi(p, 4, ATTR_VISIBLE, &v));
    // A label claiming a ring style stays what its class makes it.
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, 6, ATTR_CTRL_STYLE, &v));
    EXPECT_EQ(CTRL_TEXT_MSG, v);
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, InsertListItemAnsi(p, 6, -1, "x", 1));
    // The walk sees the two controls in resource order.
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_PANEL_FIRST_CTRL, &v));
    EXPECT_EQ(2, v);
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, 2, ATTR_NEXT_CTRL, &v));
    EXPECT_EQ(6, v);
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, 6, ATTR_NEXT_CTRL, &v));
    EXPECT_EQ(0, v);
    DiscardPanel(p);
}

TEST(Panels, UnknownHandlesGiveBadPanel) {
    const int bad = 123456;
    int v;
    char s[1024];
    void *ptr;
    PanelCallbackPtr cb;
    EXPECT_EQ(UIE_BAD_PANEL, DisplayPanel(bad));
    EXPECT_EQ(UIE_BAD_PANEL, HidePanel(bad));
    EXPECT_EQ(UIE_BAD_PANEL, DiscardPanel(bad));
    EXPECT_EQ(UIE_BAD_PANEL, InstallPopup(bad));
    EXPECT_EQ(UIE_BAD_PANEL, SetPanelPos(bad, 1, 1));
    EXPECT_EQ(UIE_BAD_PANEL, SetPanelAttributeAnsi(bad, ATTR_TOP, 1));
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(bad, ATTR_TOP, &v));
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(bad, ATTR_TITLE, s));
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(bad, ATTR_CALLBACK_DATA, &ptr));
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(bad, ATTR_CALLBACK_FUNCTION_POINTER, &cb));
    EXPECT_EQ(UIE_BAD_PANEL, InstallPanelCallback(bad, nullptr, nullptr));
    EXPECT_EQ(UIE_BAD_PANEL, NewCtrlAnsi(bad, CTRL_TEXT_MSG, "x", 0, 0));
    EXPECT_EQ(UIE_BAD_PANEL, GetCtrlValAnsi(bad, 2, &v));
    EXPECT_EQ(UIE_BAD_PANEL, GetRelativeMouseState(bad, 0, &v, &v, nullptr, nullptr, nullptr));
    EXPECT_EQ(UIE_BAD_PANEL, PrintPanelAnsi(bad, "/tmp/x.pdf", 0, 1, 0));
    EXPECT_EQ(UIE_BAD_PANEL, SetPanelPos(0, 1, 1));
    EXPECT_EQ(UIE_BAD_PANEL, SetPanelPos(-1, 1, 1));
}

TEST(Panels, AttributesFailCleanly) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    int v;
    char s[1024];
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetPanelAttributeAnsi(p, 9999, &v));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, SetPanelAttributeAnsi(p, 9999, 1));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetPanelAttributeAnsi(p, ATTR_CTRL_STYLE, &v));   // a control's
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, SetPanelAttributeAnsi(p, ATTR_LABEL_TEXT, "x"));
    EXPECT_EQ(UIE_BAD_VALUE, GetPanelAttributeAnsi(p, ATTR_TITLE, &v));       // a text as int
    EXPECT_EQ(UIE_BAD_VALUE, GetPanelAttributeAnsi(p, ATTR_TOP, s));          // an int as text
    EXPECT_EQ(UIE_BAD_VALUE, SetPanelAttributeAnsi(p, ATTR_TITLE, 3));
    EXPECT_EQ(UIE_BAD_POINTER, GetPanelAttributeAnsi(p, ATTR_TOP, static_cast<int *>(nullptr)));
    EXPECT_EQ(UIE_BAD_POINTER, SetPanelAttributeAnsi(p, ATTR_TITLE, static_cast<const char *>(nullptr)));
    EXPECT_EQ(UIE_BAD_VALUE, SetPanelAttributeAnsi(p, ATTR_WIDTH, 0));
    EXPECT_EQ(UIE_BAD_VALUE, SetPanelAttributeAnsi(p, ATTR_BACKCOLOR, 0x1000000));
    EXPECT_EQ(UIE_NOT_PERMITTED, SetPanelAttributeAnsi(p, ATTR_PANEL_FIRST_CTRL, 3));
    DiscardPanel(p);
}

TEST(Panels, NewPanelAndAttributes) {
    const int p = NewPanelAnsi(0, "Masque \xE9", 0, 0, 120, 240);
    ASSERT_GT(p, 0);
    int v;
    char s[1024];
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_TITLE, s));
    EXPECT_STREQ("Masque \xE9", s);
#ifdef _WIN32
    wchar_t title[64];
    GetWindowTextW(UiPanelWindow(p), title, 64);
    EXPECT_STREQ(L"Masque \u00e9", title);
#else
    EXPECT_EQ(QStringLiteral("Masque é"), UiPanelWidget(p)->windowTitle());
#endif
    GetPanelAttributeAnsi(p, ATTR_HEIGHT, &v);
    EXPECT_EQ(120, v);
    GetPanelAttributeAnsi(p, ATTR_WIDTH, &v);
    EXPECT_EQ(240, v);
    GetPanelAttributeAnsi(p, ATTR_PANEL_FIRST_CTRL, &v);
    EXPECT_EQ(0, v);

    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_BACKCOLOR, 0x102030));
    GetPanelAttributeAnsi(p, ATTR_BACKCOLOR, &v);
    EXPECT_EQ(0x102030, v);
#ifndef _WIN32   // Qt's palette; the Win32 backend paints its own brush
    EXPECT_EQ(QColor(0x10, 0x20, 0x30), UiPanelWidget(p)->palette().color(QPalette::Window));
#endif

    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_TITLEBAR_VISIBLE, 0));
    GetPanelAttributeAnsi(p, ATTR_TITLEBAR_VISIBLE, &v);
    EXPECT_EQ(0, v);
#ifdef _WIN32
    EXPECT_FALSE(Style(p) & WS_CAPTION);
#else
    EXPECT_TRUE(UiPanelWidget(p)->windowFlags() & Qt::FramelessWindowHint);
#endif

    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 1));
    GetPanelAttributeAnsi(p, ATTR_DIMMED, &v);
    EXPECT_EQ(1, v);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 0));
    GetPanelAttributeAnsi(p, ATTR_DIMMED, &v);
    EXPECT_EQ(0, v);

    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_HEIGHT, 105));
    GetPanelAttributeAnsi(p, ATTR_HEIGHT, &v);
    EXPECT_EQ(105, v);

    EXPECT_EQ(UIE_BAD_VALUE, NewPanelAnsi(0, "", 0, 0, 0, 10));
    EXPECT_EQ(UIE_BAD_PANEL, NewPanelAnsi(99999, "", 0, 0, 10, 10));
    DiscardPanel(p);
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(p, ATTR_HEIGHT, &v));
}

TEST(Panels, FrameAttributesShapeTheWindow) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_CAN_MAXIMIZE, 0));
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_SIZABLE, 0));
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_CAN_MINIMIZE, 1));
#ifdef _WIN32
    EXPECT_FALSE(Style(p) & WS_MAXIMIZEBOX);
    EXPECT_TRUE(Style(p) & WS_MINIMIZEBOX);
    EXPECT_TRUE(Style(p) & WS_SYSMENU);
    EXPECT_FALSE(Style(p) & WS_THICKFRAME);
#else
    QWidget *w = UiPanelWidget(p);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
#endif
    int v;
    GetPanelAttributeAnsi(p, ATTR_SIZABLE, &v);
    EXPECT_EQ(0, v);
    GetPanelAttributeAnsi(p, ATTR_CAN_MAXIMIZE, &v);
    EXPECT_EQ(0, v);
    // A fixed-size panel still takes a new height from the program.
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_HEIGHT, 200));
#ifdef _WIN32
    RECT client;
    GetClientRect(UiPanelWindow(p), &client);
    EXPECT_EQ(200, client.bottom);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_SIZABLE, 1));
    EXPECT_TRUE(Style(p) & WS_THICKFRAME);
#else
    EXPECT_EQ(200, w->height());
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_SIZABLE, 1));
    EXPECT_NE(w->minimumSize(), w->maximumSize());
#endif
    DiscardPanel(p);
}

// A panel that may not be closed keeps its other frame buttons.
TEST(Panels, PanelThatMayNotBeClosedHasNoCloseBox) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P4);
    ASSERT_GT(p, 0);
#ifdef _WIN32   // Windows keeps the box beside the others, greyed
    EXPECT_TRUE(GetMenuState(GetSystemMenu(UiPanelWindow(p), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(Style(p) & WS_MINIMIZEBOX);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_CAN_MINIMIZE, 0));   // a new frame, the same rule
    EXPECT_TRUE(GetMenuState(GetSystemMenu(UiPanelWindow(p), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
#else
    EXPECT_FALSE(UiPanelWidget(p)->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(UiPanelWidget(p)->windowFlags() & Qt::WindowMinimizeButtonHint);
#endif
    DiscardPanel(p);
}

TEST(Panels, DisplayActivatesAndHideHides) {
    const int a = LoadPanelAnsi(0, "UiTest.uir", P1);
    const int b = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_EQ(0, DisplayPanel(a));
    UiTestProcess(20);
    EXPECT_EQ(a, GetActivePanel());
    int v;
    GetPanelAttributeAnsi(a, ATTR_VISIBLE, &v);
    EXPECT_EQ(1, v);
    ASSERT_EQ(0, DisplayPanel(b));
    UiTestProcess(20);
    EXPECT_EQ(b, GetActivePanel());
    ASSERT_EQ(0, DisplayPanel(a));
    UiTestProcess(20);
    EXPECT_EQ(a, GetActivePanel());
    ASSERT_EQ(0, HidePanel(a));
    UiTestProcess(20);
    GetPanelAttributeAnsi(a, ATTR_VISIBLE, &v);
    EXPECT_EQ(0, v);
    EXPECT_NE(a, GetActivePanel());
    DiscardPanel(b);
    DiscardPanel(a);
    UiTestProcess(20);
    EXPECT_EQ(0, GetActivePanel());
}

TEST(Panels, PositionRoundTripsAndCentres) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    int top, left;
    ASSERT_EQ(0, SetPanelPos(p, 57, 83));
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(57, top);
    EXPECT_EQ(83, left);
    DisplayPanel(p);
    UiTestProcess(20);
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(57, top);
    EXPECT_EQ(83, left);
    ASSERT_EQ(0, SetPanelPos(p, 120, 31));
    UiTestProcess(20);
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(120, top);
    EXPECT_EQ(31, left);
    // (Tops below the title bar's height: the frame stays on the screen.)
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_TOP, 45));
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_LEFT, 16));
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(45, top);
    EXPECT_EQ(16, left);

    // Centring on the screen, each coordinate on its own.
    const Rect screen = ScreenRect(true);
    ASSERT_EQ(0, SetPanelPos(p, VAL_AUTO_CENTER, VAL_AUTO_CENTER));
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(screen.y + (screen.height - 300) / 2, top);
    EXPECT_EQ(screen.x + (screen.width - 400) / 2, left);
    ASSERT_EQ(0, SetPanelPos(p, 40, VAL_AUTO_CENTER));
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    EXPECT_EQ(40, top);
    DiscardPanel(p);
}

TEST(Panels, ChildPanelLivesInItsParent) {
    const int parent = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(parent, 0);
    const int child = LoadPanelAnsi(parent, "UiTest.uir", P2);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(UiTestIsChildOf(child, parent));
    int top, left;
    GetPanelAttributeAnsi(child, ATTR_TOP, &top);
    GetPanelAttributeAnsi(child, ATTR_LEFT, &left);
    EXPECT_EQ(40, top);    // as the resource places it
    EXPECT_EQ(30, left);
    ASSERT_EQ(0, SetPanelPos(child, VAL_AUTO_CENTER, VAL_AUTO_CENTER));
    GetPanelAttributeAnsi(child, ATTR_TOP, &top);
    GetPanelAttributeAnsi(child, ATTR_LEFT, &left);
    EXPECT_EQ((300 - 100) / 2, top);
    EXPECT_EQ((400 - 200) / 2, left);
    DisplayPanel(parent);
    DisplayPanel(child);
    UiTestProcess(20);
#ifdef _WIN32
    EXPECT_TRUE(IsWindowVisible(UiPanelWindow(child)));
#else
    EXPECT_TRUE(UiPanelWidget(child)->isVisible());
#endif
    // A dimmed parent greys its own controls only: a child panel shown in it
    // (a wait popup) stays legible and usable.
    ASSERT_EQ(0, SetPanelAttributeAnsi(parent, ATTR_DIMMED, 1));
    int first = 0;
    GetPanelAttributeAnsi(parent, ATTR_PANEL_FIRST_CTRL, &first);
    ASSERT_GT(first, 0);
#ifdef _WIN32
    EXPECT_FALSE(IsWindowEnabled(UiCtrlWindow(parent, first)));
    EXPECT_TRUE(IsWindowEnabled(UiPanelWindow(child)));
    GetPanelAttributeAnsi(child, ATTR_PANEL_FIRST_CTRL, &first);
    if (first > 0) {
        EXPECT_TRUE(IsWindowEnabled(UiCtrlWindow(child, first)));
    }
#else
    EXPECT_FALSE(UiCtrlWidget(parent, first)->isEnabled());
    EXPECT_TRUE(UiPanelWidget(child)->isEnabled());
    GetPanelAttributeAnsi(child, ATTR_PANEL_FIRST_CTRL, &first);
    if (first > 0) {
        EXPECT_TRUE(UiCtrlWidget(child, first)->isEnabled());
    }
#endif
    // Discarding the parent discards the child too.
    ASSERT_EQ(0, DiscardPanel(parent));
    int v;
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(child, ATTR_TOP, &v));
}

TEST(Panels, ScreenSize) {
    int h = 0, w = 0;
    ASSERT_EQ(0, GetScreenSize(&h, &w));
    const Rect g = ScreenRect(false);
    EXPECT_EQ(g.height, h);
    EXPECT_EQ(g.width, w);
    EXPECT_EQ(UIE_BAD_POINTER, GetScreenSize(nullptr, &w));
}

TEST(Panels, DiscardedHandlesAreNeverReused) {
    const int a = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(a, 0);
    DiscardPanel(a);
    const int b = LoadPanelAnsi(0, "UiTest.uir", P2);
    EXPECT_NE(a, b);
    int v;
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(a, ATTR_TOP, &v));
    DiscardPanel(b);
}

}  // namespace
