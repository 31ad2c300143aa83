// winmenu.cpp: a control's right click, the popup menu and the clipboard on
// the Win32 driver.
//
// Exports (ui/win32/winprivate.h): PopupMenu, ClipboardPut, and RightClick
// and ContextMenu, which the controls' window procedure calls for
// WM_RBUTTONDOWN and WM_CONTEXTMENU.
//
// Data model: none kept. A menu lives only while RunPopupMenuAnsi waits for
// the choice; the clipboard owns the text once it is handed over.
#include <windows.h>

#include <cstring>
#include <string>

#include "ui/win32/winprivate.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// A right press on the window hwnd of a control, handed to the core with
// the position in the panel. True when the control's callback took the
// press (the control then does not see it).
bool RightClick(HWND hwnd, LPARAM lParam) {
    Panel *p = PanelOfWindow(hwnd);
    if (!p || hwnd == N(*p).hwnd) return false;
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(hwnd, N(*p).hwnd, &pt, 1);
    return uicore::InputRightPress(p->handle, GetDlgCtrlID(hwnd), Lg(*p, pt.x), Lg(*p, pt.y));
}

// WM_CONTEXTMENU on a control's window: from the keyboard (the Menu key,
// Shift+F10: lParam -1), the core's menu key; a mouse's came as the right
// press already. True when the control's callback took it.
bool ContextMenu(HWND hwnd, LPARAM lParam) {
    Panel *p = PanelOfWindow(hwnd);
    if (!p || hwnd == N(*p).hwnd || lParam != -1) return false;
    return uicore::InputMenuKey(p->handle, GetDlgCtrlID(hwnd));
}

// The number (1 to count) of the chosen item, 0 when the menu was left
// without a choice; UIE_SYSTEM. Shown at the mouse pointer, owned by the
// panel it is for.
int WinPopupMenu(const char *const items[], int count, const Panel *owner, const uicore::Rect *at) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return UIE_SYSTEM;
    for (int i = 0; i < count; ++i) {
        // An "&" is the item's text, not a shortcut mark.
        std::wstring text;
        for (wchar_t ch : WideFromAnsi(items[i])) {
            if (ch == L'&') text += L'&';
            text += ch;
        }
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), text.c_str());
    }
    HWND hwnd = owner ? N(*owner).hwnd : nullptr;
    POINT pt;
    GetCursorPos(&pt);
    if (at && hwnd) {
        pt = {Px(*owner, at->x), Px(*owner, at->y + at->height)};
        ClientToScreen(hwnd, &pt);
    }
    if (hwnd) SetForegroundWindow(hwnd);   // else the menu does not close when clicked away
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd, nullptr));
    DestroyMenu(menu);
    return chosen;
}

// 0 once text (as UTF-16) is the clipboard's; UIE_OUT_OF_MEMORY,
// UIE_SYSTEM (the clipboard is held by another program). It is opened for
// the panel's window (without an owner, Windows lets SetClipboardData
// fail), and tried again for a moment while another program holds it, as
// clipboard viewers and managers do for a few milliseconds at each change.
int WinClipboardPut(const char *text, const Panel *owner) {
    const std::wstring wide = WideFromAnsi(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!mem) return UIE_OUT_OF_MEMORY;
    void *dst = GlobalLock(mem);
    std::memcpy(dst, wide.c_str(), bytes);
    GlobalUnlock(mem);
    HWND hwnd = owner ? N(*owner).hwnd : nullptr;
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(hwnd)); ++attempt) Sleep(20);
    if (!open) {
        GlobalFree(mem);
        return UIE_SYSTEM;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    CloseClipboard();
    if (!ok) {
        GlobalFree(mem);
        return UIE_SYSTEM;
    }
    return 0;
}

void FillMenuEntries(uicore::Driver &d) {
    d.popupMenu = WinPopupMenu;
    d.clipboardPut = WinClipboardPut;
}

}  // namespace uiwin
