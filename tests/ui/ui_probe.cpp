// ui_probe: a small program over the run-time layer alone, for checks that
// need a real X display (tests/e2e/ui_x11.sh) and for measuring the idle
// cost of a panel loop (scripts/measure_idle_cpu.sh build/bin/ui_probe).
//
//   ui_probe [loop]        runs a panel loop as the application's panels do
//                          (a hover pass, then a poll without waiting)
//                          until the quit button or the close box
//   ui_probe pos TOP LEFT  places panels, displays them and prints what the
//                          layer reads back: "<what> <top> <left> <active>"
//   ui_probe mouse SECONDS prints "mouse <x> <y>" (pointer relative to the
//                          panel) and "move <x> <y>" (panel callback) as they
//                          change, for that long
//   ui_probe headless      starts without a display and loads a panel
//   ui_probe quick         starts, shows a panel for an instant and ends
//   ui_probe wait SECONDS  opens the wait popup of GenUtil, prints "open",
//                          sleeps without polling, changes its message,
//                          prints "changed", sleeps again and ends
// Exit code: 0, 2 when a step fails, 255 (-1) when the run-time cannot start.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QElapsedTimer>
#include <QTimer>
#include <QThread>

#include "genutil/GenUtil.h"
#include "ui/userint.h"

namespace {

enum { P1 = 1, P2 = 2, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, PICT = 6, BP_QUIT = 10, MSG2 = 11 };

// Polls for ms milliseconds; the timer wakes the poll, which sleeps at rest.
void Pump(int ms) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(ms);
    int p, c;
    while (deadline.isActive()) GetUserEvent(0, &p, &c);
}

void Report(const char *what, int panel) {
    int top = 0, left = 0;
    GetPanelAttributeAnsi(panel, ATTR_TOP, &top);
    GetPanelAttributeAnsi(panel, ATTR_LEFT, &left);
    std::printf("%s %d %d %d\n", what, top, left, GetActivePanel() == panel ? 1 : 0);
    std::fflush(stdout);
}

// One hover pass as the downloads panel's makes: cheap reads every turn,
// the same settings again and again.
void HoverPass(int panel) {
    static const int watched[] = {BP_OK, PICT, BP_QUIT, MSG, MSG2};
    if (GetActivePanel() != panel) return;
    int hovered = 0;
    for (int c : watched) {
        int visible = 0, dimmed = 0, w = 0, h = 0, x = 0, y = 0;
        GetCtrlAttributeAnsi(panel, c, ATTR_VISIBLE, &visible);
        GetCtrlAttributeAnsi(panel, c, ATTR_DIMMED, &dimmed);
        GetCtrlAttributeAnsi(panel, c, ATTR_WIDTH, &w);
        GetCtrlAttributeAnsi(panel, c, ATTR_HEIGHT, &h);
        if (!visible || dimmed) continue;
        GetRelativeMouseState(panel, c, &x, &y, nullptr, nullptr, nullptr);
        if (x >= 0 && x <= w && y >= 0 && y <= h) { hovered = c; break; }
    }
    SetMouseCursor(hovered ? VAL_POINTING_FINGER_CURSOR : VAL_DEFAULT_CURSOR);
    if (hovered) {
        SetCtrlAttributeAnsi(panel, INFO, ATTR_TOP, 30);
        SetCtrlAttributeAnsi(panel, INFO, ATTR_VISIBLE_LINES, 5);
        SetCtrlAttributeAnsi(panel, INFO, ATTR_VISIBLE, 1);
        ResetTextBoxAnsi(panel, INFO, "\nAide du bouton survol\xE9.");
    } else {
        SetCtrlAttributeAnsi(panel, INFO, ATTR_VISIBLE, 0);
    }
}

int Loop() {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    if (p <= 0) return 2;
    SetCtrlValAnsi(p, MSG, "Survolez les boutons ; QUITTER ou la case de fermeture termine.");
    DisplayPanel(p);
    for (;;) {
        HoverPass(p);
        int ep = 0, ec = 0;
        if (GetUserEvent(0, &ep, &ec) == EVENT_COMMIT && ep == p && ec == BP_QUIT) break;
    }
    DiscardPanel(p);
    return 0;
}

int Pos(int top, int left) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    const int q = LoadPanelAnsi(0, "UiTest.uir", P2);
    if (p <= 0 || q <= 0) return 2;
    SetPanelPos(p, top, left);
    Report("set", p);
    DisplayPanel(p);
    Pump(700);
    Report("shown", p);
    SetPanelPos(p, top + 37, left + 23);
    Pump(500);
    Report("moved", p);
    SetPanelPos(q, top + 200, left + 300);
    DisplayPanel(q);
    Pump(500);
    Report("second", q);
    HidePanel(p);
    Pump(300);
    SetPanelPos(p, top, left);
    DisplayPanel(p);
    Pump(500);
    Report("again", p);
    int sh = 0, sw = 0, w = 0, h = 0;
    GetScreenSize(&sh, &sw);
    GetPanelAttributeAnsi(p, ATTR_WIDTH, &w);
    GetPanelAttributeAnsi(p, ATTR_HEIGHT, &h);
    SetPanelPos(p, VAL_AUTO_CENTER, VAL_AUTO_CENTER);
    Pump(500);
    Report("centred", p);
    std::printf("screen %d %d panel %d %d\n", sh, sw, h, w);
    DiscardPanel(q);
    DiscardPanel(p);
    return 0;
}

int g_moveX = -1, g_moveY = -1;
int OnPanel(int, int event, void *, int d1, int d2) {
    if (event == EVENT_MOUSE_POINTER_MOVE) {
        g_moveY = d1;
        g_moveX = d2;
    }
    return 0;
}

int Mouse(int seconds) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    if (p <= 0) return 2;
    SetPanelPos(p, 100, 100);
    InstallPanelCallback(p, OnPanel, nullptr);
    DisplayPanel(p);
    Report("shown", p);
    int lastX = -99999, lastY = -99999, lastMx = -1, lastMy = -1;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < seconds * 1000) {
        int x = 0, y = 0, ep, ec;
        GetUserEvent(0, &ep, &ec);
        GetRelativeMouseState(p, 0, &x, &y, nullptr, nullptr, nullptr);
        if (x != lastX || y != lastY) {
            std::printf("mouse %d %d\n", x, y);
            lastX = x;
            lastY = y;
        }
        if (g_moveX != lastMx || g_moveY != lastMy) {
            std::printf("move %d %d\n", g_moveX, g_moveY);
            lastMx = g_moveX;
            lastMy = g_moveY;
        }
        std::fflush(stdout);
    }
    DiscardPanel(p);
    return 0;
}

void NoDisplay() { std::fprintf(stderr, "ui_probe: the user-interface run-time cannot start\n"); }

}  // namespace

int main(int argc, char **argv) {
    const char *mode = argc > 1 ? argv[1] : "loop";
    const bool headless = std::strcmp(mode, "headless") == 0;
    SetNoDisplayHandler(NoDisplay);
    if (!(headless ? InitUIRunTimeHeadless(argv) : InitUIRunTime(0, argv, 0))) {
        NoDisplay();
        return -1;
    }
    if (headless) {
        const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
        std::printf("headless %d\n", p > 0 ? 1 : 0);
        return p > 0 ? 0 : 2;
    }
    if (std::strcmp(mode, "pos") == 0 && argc > 3) return Pos(std::atoi(argv[2]), std::atoi(argv[3]));
    if (std::strcmp(mode, "quick") == 0) {
        const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
        if (p <= 0) return 2;
        DisplayPanel(p);
        Pump(50);
        return 0;
    }
    if (std::strcmp(mode, "wait") == 0 && argc > 2) {
        // A busy program: no poll between the calls.
        const unsigned long ms = static_cast<unsigned long>(std::atoi(argv[2])) * 1000;
        GenWait(0, "Chargement du catalogue en cours...");
        std::printf("open\n");
        std::fflush(stdout);
        QThread::msleep(ms);
        // Long enough to wrap past the popup's lines: it grows to show it whole.
        GenWait(0, "Presque fini : v\xE9rification des adresses de chacun des produits du catalogue, "
                   "de leurs logiciels, de leurs manuels et des ressources du professeur ; "
                   "la fen\xEAtre s'agrandit quand le message ne tient pas dans ses lignes.");
        std::printf("changed\n");
        std::fflush(stdout);
        QThread::msleep(ms);
        GenFermerWait();
        return 0;
    }
    if (std::strcmp(mode, "mouse") == 0) return Mouse(argc > 2 ? std::atoi(argv[2]) : 3);
    return Loop();
}
