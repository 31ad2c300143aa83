// The Win32 backend under Wine, driven by the window messages the controls
// themselves receive from real input (a click, a key, the close box): what
// becomes a commit, what the callbacks see, that the layer's own changes
// raise none, that a panel's position reads back exactly, and that text
// survives the edit controls. Windows only: the Qt backend's own tests do
// the same through Qt's events (tests/ui).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/userint.h"
#include "ui/win32/userint_win32.h"

namespace {

enum { P1 = 1, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, STR = 8, BP_QUIT = 10 };
constexpr int kMsg = MSG;   // the text message; outside this namespace, MSG is also Windows' type

struct Seen {
    int panel, ctrl, event, d1, d2;
};
std::vector<Seen> gSeen;
int gSwallow = 0;

int CtrlRecorder(int panel, int control, int event, void *, int d1, int d2) {
    gSeen.push_back({panel, control, event, d1, d2});
    return event == EVENT_COMMIT ? gSwallow : 0;
}

int PanelRecorder(int panel, int event, void *, int d1, int d2) {
    gSeen.push_back({panel, 0, event, d1, d2});
    return 0;
}

int DiscardOnCommit(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) DiscardPanel(panel);
    return 0;
}

bool gDeadline = false;
void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) { gDeadline = true; }

// Polls for 50 ms (a timer ends the poll's sleep); the commits it handed out.
std::vector<std::pair<int, int>> Commits() {
    std::vector<std::pair<int, int>> out;
    gDeadline = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Deadline);
    while (!gDeadline) {
        int panel = 0, ctrl = 0;
        if (GetUserEvent(0, &panel, &ctrl) == EVENT_COMMIT) out.push_back({panel, ctrl});
    }
    KillTimer(nullptr, timer);
    return out;
}

class Backend : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(InitUIRunTime(0, nullptr, 0), 1); }
    void SetUp() override {
        gSeen.clear();
        gSwallow = 0;
        p = LoadPanelAnsi(0, "UiTestBin.uir", P1);
        ASSERT_GT(p, 0);
        ASSERT_EQ(DisplayPanel(p), 0);
        Commits();
    }
    void TearDown() override {
        if (UiPanelWindow(p)) DiscardPanel(p);
    }
    int p = 0;
};

// A click of a button commits it; a callback that returns non-zero
// swallows the commit after seeing it; the layer's own changes commit
// nothing.
TEST_F(Backend, ClicksCommitUnlessSwallowed) {
    SendMessageW(UiCtrlWindow(p, BP_OK), BM_CLICK, 0, 0);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, BP_OK}}));

    ASSERT_EQ(InstallCtrlCallback(p, BP_OK, CtrlRecorder, nullptr), 0);
    gSwallow = 1;
    SendMessageW(UiCtrlWindow(p, BP_OK), BM_CLICK, 0, 0);
    EXPECT_TRUE(Commits().empty());
    int seenCommits = 0;
    for (const Seen &s : gSeen) seenCommits += s.event == EVENT_COMMIT;
    EXPECT_EQ(seenCommits, 1);

    ASSERT_EQ(InsertListItemAnsi(p, RING, -1, "un", 1), 0);
    ASSERT_EQ(InsertListItemAnsi(p, RING, -1, "deux", 2), 0);
    ASSERT_EQ(SetCtrlValAnsi(p, RING, 2), 0);
    ASSERT_EQ(SetCtrlValAnsi(p, MSG, "Chang\xE9"), 0);
    EXPECT_TRUE(Commits().empty());

    // The user's choice in the ring: a key pressed in it.
    SetFocus(UiCtrlWindow(p, RING));
    SendMessageW(UiCtrlWindow(p, RING), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, RING}}));
    int value = 0;
    ASSERT_EQ(GetCtrlValAnsi(p, RING, &value), 0);
    EXPECT_EQ(value, 1);
}

// In the ring's open list the arrow keys only move: the item the list is
// closed on with Enter is the one choice committed; Escape commits nothing.
TEST_F(Backend, AnOpenListCommitsOnlyTheItemItClosesOn) {
    HWND ring = UiCtrlWindow(p, RING);
    for (const char *label : {"un", "deux", "trois"}) ASSERT_GE(InsertListItemAnsi(p, RING, -1, label, 0), 0);
    ASSERT_EQ(SetCtrlValAnsi(p, RING, 0), 0);
    SetFocus(ring);
    SendMessageW(ring, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(ring, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(ring, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(Commits().empty());
    SendMessageW(ring, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, RING}}));
    EXPECT_EQ(SendMessageW(ring, CB_GETCURSEL, 0, 0), 2);

    SendMessageW(ring, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(ring, WM_KEYDOWN, VK_UP, 0);
    SendMessageW(ring, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Commits().empty());
}

// A popup that goes gives the activation back to the panel it blocked,
// also with another window of the program next under it: Windows gives it
// to the popup's owner only while the owner takes input as the popup hides.
TEST_F(Backend, APopupGoingGivesTheActivationBackToItsPanel) {
    HWND other = CreateWindowExW(0, L"STATIC", L"autre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(other);
    ASSERT_EQ(DisplayPanel(p), 0);   // the panel above it
    Commits();
    ASSERT_EQ(GetActiveWindow(), UiPanelWindow(p));
    const struct {
        const char *how;
        int (*end)(int);
    } kEnds[] = {{"hidden", HidePanel}, {"discarded", DiscardPanel}};
    for (const auto &e : kEnds) {
        const int pop = LoadPanelAnsi(0, "UiTestBin.uir", 2);
        ASSERT_GT(pop, 0);
        ASSERT_EQ(InstallPopup(pop), 0);
        Commits();
        ASSERT_EQ(GetActiveWindow(), UiPanelWindow(pop)) << e.how;
        e.end(pop);
        Commits();
        EXPECT_EQ(GetActiveWindow(), UiPanelWindow(p)) << e.how;
        if (e.end == HidePanel) DiscardPanel(pop);
    }
    DestroyWindow(other);
}

// The close box gives EVENT_CLOSE to the panel's callback, then commits the
// panel's close control; the window stays.
TEST_F(Backend, CloseBoxCommitsTheCloseControl) {
    ASSERT_EQ(InstallPanelCallback(p, PanelRecorder, nullptr), 0);
    SendMessageW(UiPanelWindow(p), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, BP_QUIT}}));
    bool closeSeen = false;
    for (const Seen &s : gSeen) closeSeen = closeSeen || s.event == EVENT_CLOSE;
    EXPECT_TRUE(closeSeen);
    EXPECT_TRUE(IsWindow(UiPanelWindow(p)));
}

// A WM_QUIT posted by another program counts once, as the close box of the
// active panel; the poll is quiet afterwards instead of waking for ever.
TEST_F(Backend, PostedQuitIsTheCloseBoxOnce) {
    SetActiveWindow(UiPanelWindow(p));
    UiRunPendingMessages();
    PostQuitMessage(0);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, BP_QUIT}}));
    EXPECT_EQ(UiRunPendingMessages(), 0);
}

// Alt+Q presses "__QUITTER" through the poll's IsDialogMessageW.
TEST_F(Backend, AltLetterPressesTheMarkedButton) {
    SetFocus(UiCtrlWindow(p, BP_OK));
    PostMessageW(UiCtrlWindow(p, BP_OK), WM_SYSCHAR, 'q', 1 << 29);
    EXPECT_EQ(Commits(), (std::vector<std::pair<int, int>>{{p, BP_QUIT}}));
}

// Mouse moves reach the panel's callback and a left release the control's
// that took the press,
// with the position in the panel (y, x); a commit callback may discard its
// own panel.
TEST_F(Backend, MouseEventsAndDiscardFromACallback) {
    ASSERT_EQ(InstallPanelCallback(p, PanelRecorder, nullptr), 0);
    ASSERT_EQ(InstallCtrlCallback(p, BP_OK, CtrlRecorder, nullptr), 0);
    int top = 0, left = 0;
    ASSERT_EQ(GetCtrlAttributeAnsi(p, BP_OK, ATTR_TOP, &top), 0);
    ASSERT_EQ(GetCtrlAttributeAnsi(p, BP_OK, ATTR_LEFT, &left), 0);
    SendMessageW(UiCtrlWindow(p, BP_OK), WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    SendMessageW(UiCtrlWindow(p, BP_OK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    SendMessageW(UiCtrlWindow(p, BP_OK), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    ASSERT_GE(gSeen.size(), 2u);
    EXPECT_EQ(gSeen[0].event, EVENT_MOUSE_POINTER_MOVE);
    EXPECT_EQ(gSeen[0].d1, top + 4);
    EXPECT_EQ(gSeen[0].d2, left + 3);
    const Seen *up = nullptr;
    for (const Seen &s : gSeen)
        if (s.event == EVENT_LEFT_CLICK_UP) up = &s;
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->ctrl, BP_OK);
    EXPECT_EQ(up->d1, top + 4);
    Commits();   // the press and release clicked the button too

    ASSERT_EQ(InstallCtrlCallback(p, BP_OK, DiscardOnCommit, nullptr), 0);
    SendMessageW(UiCtrlWindow(p, BP_OK), BM_CLICK, 0, 0);
    EXPECT_TRUE(Commits().empty());
    EXPECT_EQ(UiPanelWindow(p), nullptr);
}

// A panel's position and size read back exactly as set, the frame around.
TEST_F(Backend, PositionReadsBackExactly) {
    ASSERT_EQ(SetPanelPos(p, 123, 77), 0);
    int top = 0, left = 0, width = 0;
    ASSERT_EQ(GetPanelAttributeAnsi(p, ATTR_TOP, &top), 0);
    ASSERT_EQ(GetPanelAttributeAnsi(p, ATTR_LEFT, &left), 0);
    EXPECT_EQ(top, 123);
    EXPECT_EQ(left, 77);
    ASSERT_EQ(SetPanelAttributeAnsi(p, ATTR_WIDTH, 333), 0);
    ASSERT_EQ(GetPanelAttributeAnsi(p, ATTR_WIDTH, &width), 0);
    EXPECT_EQ(width, 333);
    ASSERT_EQ(GetPanelAttributeAnsi(p, ATTR_TOP, &top), 0);
    EXPECT_EQ(top, 123);
}

// A panel asked to lie partly off the work area is moved just enough for
// its window, frame included, to lie inside; one larger than the area goes
// to its top-left corner; one that fits stays where asked.
TEST_F(Backend, PanelIsKeptInTheWorkArea) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    RECT frame;
    ASSERT_EQ(SetPanelPos(p, area.bottom - 20, area.right - 30), 0);
    GetWindowRect(UiPanelWindow(p), &frame);
    EXPECT_EQ(frame.right, area.right);
    EXPECT_EQ(frame.bottom, area.bottom);

    ASSERT_EQ(SetPanelAttributeAnsi(p, ATTR_WIDTH, area.right - area.left + 100), 0);
    GetWindowRect(UiPanelWindow(p), &frame);
    EXPECT_EQ(frame.left, area.left);

    ASSERT_EQ(SetPanelAttributeAnsi(p, ATTR_WIDTH, 200), 0);
    ASSERT_EQ(SetPanelPos(p, area.top + 50, area.left + 60), 0);
    int top = 0, left = 0;
    GetPanelAttributeAnsi(p, ATTR_TOP, &top);
    GetPanelAttributeAnsi(p, ATTR_LEFT, &left);
    EXPECT_EQ(top, area.top + 50);
    EXPECT_EQ(left, area.left + 60);
}

// Every byte but the line break's survives the edit controls, and a line
// break comes back as it was given.
TEST_F(Backend, TextSurvivesTheEditControls) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') all.push_back(static_cast<char>(b));
    char out[1024];
    ASSERT_EQ(SetCtrlValAnsi(p, STR, all.c_str()), 0);
    ASSERT_EQ(GetCtrlValAnsi(p, STR, out), 0);
    EXPECT_EQ(std::string(out), all);
    ASSERT_EQ(ResetTextBoxAnsi(p, INFO, "un\ndeux \xE9t\xE9"), 0);
    ASSERT_EQ(GetCtrlValAnsi(p, INFO, out), 0);
    EXPECT_STREQ(out, "un\ndeux \xE9t\xE9");
}

}  // namespace

// The hover loops set what a panel already shows at every pass; a setting
// that changes nothing must queue nothing (a paint, a move), or the poll
// never sleeps while the pointer rests on a button.
TEST_F(Backend, SettingWhatIsShownAgainQueuesNothing) {
    ASSERT_EQ(SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 4), 0);
    ASSERT_EQ(SetCtrlAttributeAnsi(p, BP_OK, ATTR_TEXT_COLOR, 0x0000FF), 0);
    ASSERT_EQ(SetCtrlAttributeAnsi(p, BP_OK, ATTR_TEXT_UNDERLINE, 1), 0);
    ASSERT_EQ(SetCtrlAttributeAnsi(p, BP_OK, ATTR_DIMMED, 1), 0);
    ASSERT_EQ(SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "__Valider"), 0);
    ASSERT_EQ(SetCtrlAttributeAnsi(p, kMsg, ATTR_LABEL_TEXT, "Texte"), 0);
    ASSERT_EQ(ResetTextBoxAnsi(p, INFO, "Aide\nsur deux lignes"), 0);
    ASSERT_EQ(SetMouseCursor(VAL_POINTING_FINGER_CURSOR), 0);
    UiRunPendingMessages();
    int width = 0, height = 0, top = 0;
    GetCtrlAttributeAnsi(p, INFO, ATTR_WIDTH, &width);
    GetCtrlAttributeAnsi(p, INFO, ATTR_HEIGHT, &height);
    GetCtrlAttributeAnsi(p, INFO, ATTR_TOP, &top);
    SetCtrlAttributeAnsi(p, INFO, ATTR_TOP, top);
    SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 4);
    SetCtrlAttributeAnsi(p, INFO, ATTR_WIDTH, width);
    SetCtrlAttributeAnsi(p, INFO, ATTR_HEIGHT, height);
    SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE, 1);
    ResetTextBoxAnsi(p, INFO, "Aide\nsur deux lignes");
    SetCtrlAttributeAnsi(p, BP_OK, ATTR_TEXT_COLOR, 0x0000FF);
    SetCtrlAttributeAnsi(p, BP_OK, ATTR_TEXT_UNDERLINE, 1);
    SetCtrlAttributeAnsi(p, BP_OK, ATTR_DIMMED, 1);
    SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "__Valider");
    SetCtrlAttributeAnsi(p, kMsg, ATTR_LABEL_TEXT, "Texte");
    SetCtrlValAnsi(p, kMsg, "Texte");
    SetMouseCursor(VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(UiRunPendingMessages(), 0);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
}

// The panel's own window hands the focus on to the control that had it:
// after a minimise and a restore (WM_ACTIVATE while minimised sets no
// focus, the restore gives it to the panel's window), and when a program
// gives it to the window.
TEST_F(Backend, TheFocusComesBackToItsControl) {
    HWND w = UiPanelWindow(p), quit = UiCtrlWindow(p, BP_QUIT);
    ASSERT_EQ(SetActiveCtrl(p, BP_QUIT), 0);
    ShowWindow(w, SW_MINIMIZE);
    UiRunPendingMessages();
    ShowWindow(w, SW_RESTORE);
    UiRunPendingMessages();
    EXPECT_EQ(GetFocus(), quit) << "restored";
    SetFocus(w);
    EXPECT_EQ(GetFocus(), quit) << "given to the panel";
}

// What a top-level window hears of the system for its controls, handed on:
// the new system colours (high contrast) to every control's window.
std::vector<HWND> gColoured;
LRESULT CALLBACK ColourHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && m->message == WM_SYSCOLORCHANGE) gColoured.push_back(m->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
BOOL CALLBACK NotColoured(HWND child, LPARAM missing) {
    if (std::find(gColoured.begin(), gColoured.end(), child) == gColoured.end())
        ++*reinterpret_cast<int *>(missing);
    return TRUE;
}

TEST_F(Backend, SystemColoursReachEveryControl) {
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, ColourHook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    SendMessageW(UiPanelWindow(p), WM_SYSCOLORCHANGE, 0, 0);
    UnhookWindowsHookEx(hook);
    int missing = 0;
    EnumChildWindows(UiPanelWindow(p), NotColoured, reinterpret_cast<LPARAM>(&missing));
    EXPECT_EQ(missing, 0);
}

// The end of the session (a log-off, the Restart Manager before an
// upgrade): the program agrees, and its loops end; an end called off
// lets them go on.
TEST_F(Backend, TheSessionsEndEndsTheLoops) {
    HWND w = UiPanelWindow(p);
    EXPECT_EQ(SendMessageW(w, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    SendMessageW(w, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    int panel = 0, ctrl = 0;
    EXPECT_EQ(GetUserEvent(0, &panel, &ctrl), UIE_NOT_PERMITTED);
    SendMessageW(w, WM_ENDSESSION, FALSE, 0);
    EXPECT_GE(GetUserEvent(0, &panel, &ctrl), 0);
}

// The menu key and Shift+F10 (WM_CONTEXTMENU with lParam -1, at the focused
// control) are the control's right click; the menu it opens lies under it.
RECT gMenuAt;
int MenuOnRightClick(int, int, int event, void *, int, int) {
    if (event != EVENT_RIGHT_CLICK) return 0;
    const char *const items[] = {"Copier l'adresse"};
    RunPopupMenuAnsi(items, 1);
    return 1;
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND menu = FindWindowW(L"#32768", nullptr)) GetWindowRect(menu, &gMenuAt);
    EndMenu();
}

TEST_F(Backend, TheMenuKeyOpensTheMenuUnderTheControl) {
    ASSERT_EQ(InstallCtrlCallback(p, BP_OK, MenuOnRightClick, nullptr), 0);
    HWND ok = UiCtrlWindow(p, BP_OK);
    gMenuAt = {};
    SetTimer(nullptr, 0, 200, CloseMenu);
    SendMessageW(ok, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ok), -1);
    RECT c;
    GetWindowRect(ok, &c);
    EXPECT_EQ(gMenuAt.left, c.left);
    EXPECT_EQ(gMenuAt.top, c.bottom);
}

// The test programs run as the program does, under its manifest: the
// common controls 6 and per-monitor DPI awareness (where Windows has it).
TEST(Manifest, TheTestsRunAsTheProgram) {
    ASSERT_EQ(InitUIRunTime(0, nullptr, 0), 1);
    // The manifest is the process's: its DPI setting is read from it, and
    // the link control, which only the common controls 6 have, is there.
    wchar_t value[64] = L"";
    SIZE_T n = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                                    value, 64, &n));
    EXPECT_STREQ(value, L"PerMonitorV2, PerMonitor");
    HWND link = CreateWindowExW(0, L"SysLink", L"<a>x</a>", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    EXPECT_TRUE(link) << "the common controls 6";
    DestroyWindow(link);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using ContextFn = DPI_AWARENESS_CONTEXT(WINAPI *)();
    using AwarenessFn = int(WINAPI *)(DPI_AWARENESS_CONTEXT);
    const auto context = reinterpret_cast<ContextFn>(reinterpret_cast<void *>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void *>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (context && awareness) EXPECT_EQ(awareness(context()), 2 /* DPI_AWARENESS_PER_MONITOR_AWARE */);
}

// A link control (a text message in hot mode) is given a brush to paint
// with; the panel keeps its own, and paints its background with it after.
TEST_F(Backend, ALinkLeavesThePanelItsBackground) {
    ASSERT_EQ(SetCtrlAttributeAnsi(p, kMsg, ATTR_CTRL_MODE, VAL_HOT), 0);
    ProcessDrawEvents();
    HWND w = UiPanelWindow(p);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    int back = 0;
    GetPanelAttributeAnsi(p, ATTR_BACKCOLOR, &back);
    HDC dc = GetDC(w);
    const COLORREF corner = GetPixel(dc, 1, 1);
    ReleaseDC(w, dc);
    EXPECT_EQ(corner, RGB((back >> 16) & 0xFF, (back >> 8) & 0xFF, back & 0xFF));
}
