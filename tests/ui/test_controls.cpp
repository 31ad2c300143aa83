// Controls: attributes and their failure codes, no-op sets that cost no
// repaint, z-plane and control walk, text boxes, values, rings and their
// commits, and new controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/userint_win32.h"
#else
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include "ui/qt/userint_qt.h"
#endif

#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

enum { P1 = 1, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, PICT = 6, CADRE = 7, STR = 8, NUM = 9, BP_QUIT = 10, MSG2 = 11 };

// The window system's own view of a control, for what the layer cannot tell
// of itself: its place in the panel, whether it is shown and takes input,
// and whether control a lies in front of control b.
struct Box {
    int x, y, width, height;
    bool operator==(const Box &o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};
#ifdef _WIN32
Box Place(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT *>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
Box Geometry(int p, int c) { return Place(UiCtrlWindow(p, c)); }
Box LabelGeometry(int p, int c) { return Place(UiCtrlLabelWindow(p, c)); }
bool Hidden(int p, int c) { return !(GetWindowLongPtrW(UiCtrlWindow(p, c), GWL_STYLE) & WS_VISIBLE); }
bool LabelHidden(int p, int c) { return !(GetWindowLongPtrW(UiCtrlLabelWindow(p, c), GWL_STYLE) & WS_VISIBLE); }
bool Enabled(int p, int c) { return IsWindowEnabled(UiCtrlWindow(p, c)); }
bool InFront(int p, int a, int b) {
    for (HWND w = GetWindow(UiCtrlWindow(p, a), GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == UiCtrlWindow(p, b)) return true;
    return false;
}
#else
Box Place(const QWidget *w) {
    const QRect g = w->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}
Box Geometry(int p, int c) { return Place(UiCtrlWidget(p, c)); }
Box LabelGeometry(int p, int c) { return Place(UiCtrlLabelWidget(p, c)); }
bool Hidden(int p, int c) { return UiCtrlWidget(p, c)->isHidden(); }
bool LabelHidden(int p, int c) { return UiCtrlLabelWidget(p, c)->isHidden(); }
bool Enabled(int p, int c) { return UiCtrlWidget(p, c)->isEnabled(); }
bool InFront(int p, int a, int b) {
    const QObjectList &kids = UiPanelWidget(p)->children();
    return kids.indexOf(UiCtrlWidget(p, a)) > kids.indexOf(UiCtrlWidget(p, b));
}

// Counts the paint and layout events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    int layouts = 0;
    bool eventFilter(QObject *o, QEvent *e) override {
        (void)o;
        if (e->type() == QEvent::Paint) ++paints;
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Resize || e->type() == QEvent::Move) ++layouts;
        return false;
    }
};
#endif

class Controls : public ::testing::Test {
protected:
    int p = 0;
    void SetUp() override {
        p = LoadPanelAnsi(0, "UiTest.uir", P1);
        ASSERT_GT(p, 0);
    }
    void TearDown() override { DiscardPanel(p); }
    int Get(int ctrl, int attr) {
        int v = -12345;
        EXPECT_EQ(0, GetCtrlAttributeAnsi(p, ctrl, attr, &v)) << "attribute " << attr;
        return v;
    }
};

TEST_F(Controls, UnknownControlsAndAttributesGiveCodes) {
    int v;
    char s[1024];
    void *ptr;
    CtrlCallbackPtr cb;
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlAttributeAnsi(p, 99, ATTR_VISIBLE, &v));
    EXPECT_EQ(UIE_BAD_CONTROL, SetCtrlAttributeAnsi(p, 99, ATTR_VISIBLE, 1));
    EXPECT_EQ(UIE_BAD_CONTROL, SetCtrlValAnsi(p, 99, 1));
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlValAnsi(p, 99, s));
    EXPECT_EQ(UIE_BAD_CONTROL, ResetTextBoxAnsi(p, 99, "x"));
    EXPECT_EQ(UIE_BAD_CONTROL, InsertListItemAnsi(p, 99, -1, "x", 1));
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlBoundingRect(p, 99, &v, &v, &v, &v));
    EXPECT_EQ(UIE_BAD_CONTROL, InstallCtrlCallback(p, 99, nullptr, nullptr));
    EXPECT_EQ(UIE_BAD_CONTROL, GetRelativeMouseState(p, 99, &v, &v, nullptr, nullptr, nullptr));
    EXPECT_EQ(UIE_BAD_CONTROL, GetCtrlAttributeAnsi(p, 0, ATTR_VISIBLE, &v));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetCtrlAttributeAnsi(p, BP_OK, 9999, &v));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, SetCtrlAttributeAnsi(p, BP_OK, -1, 0));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_TITLE, s));   // a panel's
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE_LINES, &v));  // a text box's
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, &v));
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE, s));
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE, &ptr));
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlAttributeAnsi(p, BP_OK, ATTR_CALLBACK_DATA, &cb));
    EXPECT_EQ(UIE_BAD_POINTER, GetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE, static_cast<int *>(nullptr)));
    EXPECT_EQ(UIE_NOT_PERMITTED, SetCtrlAttributeAnsi(p, BP_OK, ATTR_CTRL_STYLE, CTRL_RING));
    EXPECT_EQ(CTRL_COMMAND_BUTTON, Get(BP_OK, ATTR_CTRL_STYLE));
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlAttributeAnsi(p, BP_OK, ATTR_CTRL_MODE, 7));
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlAttributeAnsi(p, MSG, ATTR_TEXT_COLOR, -5));
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlAttributeAnsi(p, MSG, ATTR_ZPLANE_POSITION, 500));
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 0));
}

TEST_F(Controls, StylesOfEveryKind) {
    EXPECT_EQ(CTRL_COMMAND_BUTTON, Get(BP_OK, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_RING, Get(RING, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_TEXT_MSG, Get(MSG, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_TEXT_BOX, Get(INFO, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_PICTURE_COMMAND_BUTTON, Get(PICT, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_DECORATION, Get(CADRE, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_STRING, Get(STR, ATTR_CTRL_STYLE));
    EXPECT_EQ(CTRL_NUMERIC, Get(NUM, ATTR_CTRL_STYLE));
    EXPECT_EQ(VAL_INDICATOR, Get(INFO, ATTR_CTRL_MODE));   // from the resource
    EXPECT_EQ(VAL_INDICATOR, Get(MSG, ATTR_CTRL_MODE));    // a text message's own
    EXPECT_EQ(VAL_HOT, Get(BP_OK, ATTR_CTRL_MODE));
}

TEST_F(Controls, GeometryVisibilityDimming) {
    EXPECT_EQ(10, Get(BP_OK, ATTR_LEFT));
    EXPECT_EQ(10, Get(BP_OK, ATTR_TOP));
    EXPECT_EQ(100, Get(BP_OK, ATTR_WIDTH));
    EXPECT_EQ(28, Get(BP_OK, ATTR_HEIGHT));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_TOP, 44));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_LEFT, 33));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_WIDTH, 77));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_HEIGHT, 22));
    EXPECT_EQ((Box{33, 44, 77, 22}), Geometry(p, BP_OK));

    // A control's label apart moves with it.
    Box labAt = LabelGeometry(p, PICT);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_TOP, 130 + 20));
    labAt.y += 20;
    EXPECT_EQ(labAt, LabelGeometry(p, PICT));

    EXPECT_EQ(1, Get(BP_OK, ATTR_VISIBLE));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE, 0));
    EXPECT_EQ(0, Get(BP_OK, ATTR_VISIBLE));
    EXPECT_TRUE(Hidden(p, BP_OK));

    // Hiding a control hides its label apart; the label's own switch stays.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_VISIBLE, 0));
    EXPECT_TRUE(LabelHidden(p, PICT));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_VISIBLE, 1));
    EXPECT_FALSE(LabelHidden(p, PICT));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_LABEL_VISIBLE, 0));
    EXPECT_TRUE(LabelHidden(p, PICT));
    EXPECT_EQ(0, Get(PICT, ATTR_LABEL_VISIBLE));
    EXPECT_FALSE(Hidden(p, PICT));

    EXPECT_EQ(0, Get(BP_QUIT, ATTR_DIMMED));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_QUIT, ATTR_DIMMED, 1));
    EXPECT_EQ(1, Get(BP_QUIT, ATTR_DIMMED));
    EXPECT_FALSE(Enabled(p, BP_QUIT));
    // Dimming the panel dims what it holds without changing their own state.
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 1));
    EXPECT_EQ(0, Get(BP_OK, ATTR_DIMMED));
    EXPECT_FALSE(Enabled(p, BP_OK));
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 0));
    EXPECT_TRUE(Enabled(p, BP_OK));
    EXPECT_FALSE(Enabled(p, BP_QUIT));
}

TEST_F(Controls, BoundingRectHoldsTheLabelApart) {
    int top, left, height, width;
    ASSERT_EQ(0, GetCtrlBoundingRect(p, BP_OK, &top, &left, &height, &width));
    EXPECT_EQ(10, top);
    EXPECT_EQ(10, left);
    EXPECT_EQ(28, height);
    EXPECT_EQ(100, width);
    ASSERT_EQ(0, GetCtrlBoundingRect(p, PICT, &top, &left, &height, &width));
    const Box c = Geometry(p, PICT), l = LabelGeometry(p, PICT);
    const int x0 = std::min(c.x, l.x), y0 = std::min(c.y, l.y);
    const int x1 = std::max(c.x + c.width, l.x + l.width), y1 = std::max(c.y + c.height, l.y + l.height);
    EXPECT_EQ((Box{left, top, width, height}), (Box{x0, y0, x1 - x0, y1 - y0}));
    EXPECT_GT(width, 24);
    EXPECT_EQ(UIE_BAD_POINTER, GetCtrlBoundingRect(p, BP_OK, nullptr, &left, &height, &width));
}

TEST_F(Controls, TextColourAndUnderline) {
    const int before = Get(MSG, ATTR_TEXT_COLOR);
    EXPECT_GE(before, 0);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_TEXT_COLOR, 0x0000FF));
    EXPECT_EQ(0x0000FF, Get(MSG, ATTR_TEXT_COLOR));
#ifndef _WIN32   // Qt's palette and font; the Win32 backend draws with its own
    EXPECT_EQ(QColor(0, 0, 255), UiCtrlWidget(p, MSG)->palette().color(QPalette::Active, QPalette::WindowText));
#endif
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_TEXT_UNDERLINE, 1));
    EXPECT_EQ(1, Get(MSG, ATTR_TEXT_UNDERLINE));
#ifndef _WIN32
    EXPECT_TRUE(UiCtrlWidget(p, MSG)->font().underline());
#endif
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_TEXT_COLOR, 0x800080));
    EXPECT_EQ(0x800080, Get(BP_OK, ATTR_TEXT_COLOR));
#ifndef _WIN32
    EXPECT_EQ(QColor(0x80, 0, 0x80), UiCtrlWidget(p, BP_OK)->palette().color(QPalette::Active, QPalette::ButtonText));
#endif
}

TEST_F(Controls, ZPlaneAndWalk) {
    // Resource order: 2, 3, 4, 5, 6, 7, 8, 9, 10, 11; the last is in front.
    EXPECT_EQ(0, Get(MSG2, ATTR_ZPLANE_POSITION));
    EXPECT_EQ(9, Get(BP_OK, ATTR_ZPLANE_POSITION));
    int id = -1, n = 0;
    GetPanelAttributeAnsi(p, ATTR_PANEL_FIRST_CTRL, &id);
    const int order[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    while (id != 0 && n < 20) {
        ASSERT_LT(n, 10);
        EXPECT_EQ(order[n], id);
        ++n;
        id = Get(id, ATTR_NEXT_CTRL);
    }
    EXPECT_EQ(10, n);

    EXPECT_TRUE(InFront(p, MSG2, BP_OK));
    // Bringing a control to the front pushes the others back and restacks the windows.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_ZPLANE_POSITION, 0));
    EXPECT_EQ(0, Get(BP_OK, ATTR_ZPLANE_POSITION));
    EXPECT_EQ(1, Get(MSG2, ATTR_ZPLANE_POSITION));
    EXPECT_EQ(9, Get(RING, ATTR_ZPLANE_POSITION));
    EXPECT_TRUE(InFront(p, BP_OK, MSG2));
    // The walk keeps the resource order whatever the z-plane.
    EXPECT_EQ(RING, Get(BP_OK, ATTR_NEXT_CTRL));
    // Back behind everything.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_ZPLANE_POSITION, 9));
    EXPECT_EQ(9, Get(BP_OK, ATTR_ZPLANE_POSITION));
    EXPECT_EQ(0, Get(MSG2, ATTR_ZPLANE_POSITION));
    EXPECT_TRUE(InFront(p, RING, BP_OK));
    // Every position is taken exactly once.
    std::vector<int> seen(10, 0);
    for (int c : order) ++seen[static_cast<size_t>(Get(c, ATTR_ZPLANE_POSITION))];
    for (int s : seen) EXPECT_EQ(1, s);
}

#ifndef _WIN32   // reads the Qt text box's scroll bar and font metrics
TEST_F(Controls, TextBoxLinesAndText) {
    auto *box = qobject_cast<QPlainTextEdit *>(UiCtrlWidget(p, INFO));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isReadOnly());   // indicator mode
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 4));
    EXPECT_EQ(4, Get(INFO, ATTR_VISIBLE_LINES));
    ASSERT_EQ(0, ResetTextBoxAnsi(p, INFO, "un\ndeux\ntrois\nquatre"));
    DisplayPanel(p);
    UiTestProcess(20);
    EXPECT_EQ(0, box->verticalScrollBar()->maximum()) << "four lines fit a box of four lines";
    ASSERT_EQ(0, ResetTextBoxAnsi(p, INFO, "un\ndeux\ntrois\nquatre\ncinq\nsix"));
    UiTestProcess(20);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    const int h4 = box->height();
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 8));
    EXPECT_EQ(h4 + 4 * box->fontMetrics().lineSpacing(), box->height());
    char out[1024];
    ASSERT_EQ(0, GetCtrlValAnsi(p, INFO, out));
    EXPECT_STREQ("un\ndeux\ntrois\nquatre\ncinq\nsix", out);
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, ResetTextBoxAnsi(p, MSG, "x"));
    EXPECT_EQ(UIE_BAD_POINTER, ResetTextBoxAnsi(p, INFO, nullptr));
    // The label apart is the heading.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, INFO, ATTR_LABEL_TEXT, "Titre \xE9"));
    EXPECT_EQ(QStringLiteral("Titre é"), UiCtrlLabelWidget(p, INFO)->text());
}
#endif

#ifndef _WIN32   // counts Qt's paint events (the Win32 form: scripts/measure-wine.sh)
TEST_F(Controls, SettingTheSameAgainCostsNoRepaint) {
    ResetTextBoxAnsi(p, INFO, "Aide");
    SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 4);
    SetCtrlValAnsi(p, MSG, "V1.0");
    DisplayPanel(p);
    UiTestProcess(50);
    PaintCounter counter;
    const int watched[] = {BP_OK, MSG, INFO, PICT, RING, STR};
    for (int c : watched) {
        UiCtrlWidget(p, c)->installEventFilter(&counter);
        for (QWidget *k : UiCtrlWidget(p, c)->findChildren<QWidget *>()) k->installEventFilter(&counter);
    }
    UiCtrlLabelWidget(p, PICT)->installEventFilter(&counter);
    UiPanelWidget(p)->installEventFilter(&counter);

    for (int turn = 0; turn < 5; ++turn) {
        SetCtrlAttributeAnsi(p, INFO, ATTR_TOP, 30);
        SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE, 1);
        SetCtrlAttributeAnsi(p, INFO, ATTR_VISIBLE_LINES, 4);
        ResetTextBoxAnsi(p, INFO, "Aide");
        SetCtrlValAnsi(p, MSG, "V1.0");
        SetCtrlAttributeAnsi(p, MSG, ATTR_TEXT_COLOR, Get(MSG, ATTR_TEXT_COLOR));
        SetCtrlAttributeAnsi(p, MSG, ATTR_TEXT_UNDERLINE, 0);
        SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "__OK");
        SetCtrlAttributeAnsi(p, BP_OK, ATTR_DIMMED, 0);
        SetCtrlAttributeAnsi(p, BP_OK, ATTR_LEFT, 10);
        SetCtrlAttributeAnsi(p, BP_OK, ATTR_WIDTH, 100);
        SetCtrlAttributeAnsi(p, PICT, ATTR_LABEL_VISIBLE, 1);
        SetCtrlAttributeAnsi(p, PICT, ATTR_ZPLANE_POSITION, Get(PICT, ATTR_ZPLANE_POSITION));
        SetCtrlAttributeAnsi(p, STR, ATTR_CTRL_MODE, Get(STR, ATTR_CTRL_MODE));
        SetCtrlValAnsi(p, STR, "abc");
        SetPanelAttributeAnsi(p, ATTR_TITLE, "Panneau d'essai");
        SetPanelAttributeAnsi(p, ATTR_BACKCOLOR, 0xF0F0F0);
        SetPanelAttributeAnsi(p, ATTR_SIZABLE, 1);
        SetPanelPos(p, UiPanelWidget(p)->geometry().y(), UiPanelWidget(p)->geometry().x());
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        UiTestProcess(10);
    }
    EXPECT_EQ(0, counter.paints);
    EXPECT_EQ(0, counter.layouts);

    // The counter does see a real change.
    SetCtrlValAnsi(p, MSG, "V2.0");
    ResetTextBoxAnsi(p, INFO, "Autre");
    UiTestProcess(50);
    EXPECT_GT(counter.paints, 0);
}
#endif

TEST_F(Controls, ValuesOfEachKind) {
    char s[1024];
    int v;
    ASSERT_EQ(0, GetCtrlValAnsi(p, MSG, s));
    EXPECT_STREQ("Bonjour", s);
    ASSERT_EQ(0, GetCtrlValAnsi(p, INFO, s));
    EXPECT_STREQ("Texte", s);
    ASSERT_EQ(0, GetCtrlValAnsi(p, STR, s));
    EXPECT_STREQ("abc", s);
    ASSERT_EQ(0, SetCtrlValAnsi(p, STR, "d\xE9" "f"));
    ASSERT_EQ(0, GetCtrlValAnsi(p, STR, s));
    EXPECT_STREQ("d\xE9" "f", s);
    ASSERT_EQ(0, SetCtrlValAnsi(p, NUM, 42));
    ASSERT_EQ(0, GetCtrlValAnsi(p, NUM, &v));
    EXPECT_EQ(42, v);
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlValAnsi(p, NUM, 1000));   // above the resource's maximum
    // Wrong kinds of value.
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlValAnsi(p, MSG, 3));
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlValAnsi(p, MSG, &v));
    EXPECT_EQ(UIE_BAD_VALUE, SetCtrlValAnsi(p, RING, "x"));
    EXPECT_EQ(UIE_BAD_VALUE, GetCtrlValAnsi(p, BP_OK, s));
    EXPECT_EQ(UIE_BAD_POINTER, SetCtrlValAnsi(p, MSG, static_cast<const char *>(nullptr)));
    // A text box's value is its whole text, replaced by SetCtrlVal.
    ASSERT_EQ(0, SetCtrlValAnsi(p, INFO, "Patientez..."));
    ASSERT_EQ(0, SetCtrlValAnsi(p, INFO, "Encore"));
    ASSERT_EQ(0, GetCtrlValAnsi(p, INFO, s));
    EXPECT_STREQ("Encore", s);
    EXPECT_EQ(0, UiTestCountCommits(20)) << "programmatic changes never commit";
}

TEST_F(Controls, RingLists) {
    int n = -1, v = -1, i = -1;
    char s[1024];
    ASSERT_EQ(0, GetNumListItems(p, RING, &n));
    EXPECT_EQ(0, n);
    EXPECT_EQ(UIE_BAD_INDEX, GetCtrlValAnsi(p, RING, &v));
    ASSERT_EQ(0, GetCtrlIndex(p, RING, &i));
    EXPECT_EQ(-1, i);
    EXPECT_EQ(0, DeleteListItem(p, RING, 0, -1));   // emptying an empty list

    ASSERT_EQ(0, InsertListItemAnsi(p, RING, -1, "Produit 20", 20));
    ASSERT_EQ(0, InsertListItemAnsi(p, RING, -1, "Produit 30", 30));
    ASSERT_EQ(0, InsertListItemAnsi(p, RING, 0, "------", 0));
    ASSERT_EQ(0, InsertListItemAnsi(p, RING, -1, "------", 0));
    ASSERT_EQ(0, InsertListItemAnsi(p, RING, -1, "Plus de Produits ...", -1));
    GetNumListItems(p, RING, &n);
    EXPECT_EQ(5, n);
    EXPECT_EQ(UIE_BAD_INDEX, InsertListItemAnsi(p, RING, 7, "x", 1));
    EXPECT_EQ(UIE_BAD_INDEX, InsertListItemAnsi(p, RING, -2, "x", 1));

    ASSERT_EQ(0, GetValueFromIndexAnsi(p, RING, 2, &v));
    EXPECT_EQ(30, v);
    ASSERT_EQ(0, GetLabelFromIndexAnsi(p, RING, 4, s));
    EXPECT_STREQ("Plus de Produits ...", s);
    ASSERT_EQ(0, GetIndexFromValueAnsi(p, RING, &i, 0));
    EXPECT_EQ(0, i);   // the first item of that value
    EXPECT_EQ(UIE_VALUE_NOT_FOUND, GetIndexFromValueAnsi(p, RING, &i, 99));
    EXPECT_EQ(UIE_BAD_INDEX, GetValueFromIndexAnsi(p, RING, 5, &v));
    EXPECT_EQ(UIE_BAD_INDEX, GetLabelFromIndexAnsi(p, RING, -1, s));

    // The value selects the first item carrying it; an unknown value changes nothing.
    ASSERT_EQ(0, SetCtrlValAnsi(p, RING, 30));
    GetCtrlIndex(p, RING, &i);
    EXPECT_EQ(2, i);
    EXPECT_EQ(UIE_VALUE_NOT_FOUND, SetCtrlValAnsi(p, RING, 55));
    GetCtrlValAnsi(p, RING, &v);
    EXPECT_EQ(30, v);
    ASSERT_EQ(0, SetCtrlValAnsi(p, RING, 0));
    GetCtrlIndex(p, RING, &i);
    EXPECT_EQ(0, i);

    ASSERT_EQ(0, ReplaceListItemAnsi(p, RING, 4, "Moins de Produits ...", -2));
    GetValueFromIndexAnsi(p, RING, 4, &v);
    EXPECT_EQ(-2, v);
    GetLabelFromIndexAnsi(p, RING, 4, s);
    EXPECT_STREQ("Moins de Produits ...", s);
    EXPECT_EQ(UIE_BAD_INDEX, ReplaceListItemAnsi(p, RING, 5, "x", 1));

    ASSERT_EQ(0, DeleteListItem(p, RING, 1, 2));
    GetNumListItems(p, RING, &n);
    EXPECT_EQ(3, n);
    EXPECT_EQ(UIE_BAD_INDEX, DeleteListItem(p, RING, 1, 5));
    EXPECT_EQ(UIE_BAD_INDEX, DeleteListItem(p, RING, 3, 1));
    ASSERT_EQ(0, DeleteListItem(p, RING, 0, -1));
    GetNumListItems(p, RING, &n);
    EXPECT_EQ(0, n);

    EXPECT_EQ(UIE_BAD_ATTRIBUTE, InsertListItemAnsi(p, MSG, -1, "x", 1));
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, GetNumListItems(p, BP_OK, &n));
    EXPECT_EQ(UIE_BAD_POINTER, InsertListItemAnsi(p, RING, -1, nullptr, 1));
    EXPECT_EQ(0, UiTestCountCommits(20)) << "list changes never commit";
}

TEST_F(Controls, UsersRingChoiceCommitsProgrammaticDoesNot) {
    InsertListItemAnsi(p, RING, -1, "------", 0);
    InsertListItemAnsi(p, RING, -1, "Produit 20", 20);
    InsertListItemAnsi(p, RING, -1, "Produit 30", 30);
    DisplayPanel(p);
    UiTestProcess(20);
    SetCtrlValAnsi(p, RING, 20);
    EXPECT_EQ(0, UiTestCountCommits(20));

    UiTestChooseRingItem(p, RING, 2);
    int ep = 0, ec = 0;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(p, ep);
    EXPECT_EQ(RING, ec);
    int v;
    GetCtrlValAnsi(p, RING, &v);
    EXPECT_EQ(30, v);

    // The keyboard too.
    UiTestKeyToCtrl(p, RING, UiTestKeyUp);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(RING, ec);
    GetCtrlValAnsi(p, RING, &v);
    EXPECT_EQ(20, v);
    EXPECT_EQ(0, UiTestCountCommits(20));
}

TEST_F(Controls, IndicatorModeTakesNoInput) {
    InsertListItemAnsi(p, RING, -1, "a", 1);
    InsertListItemAnsi(p, RING, -1, "b", 2);
    DisplayPanel(p);
    UiTestProcess(20);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, RING, ATTR_CTRL_MODE, VAL_INDICATOR));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_CTRL_MODE, VAL_INDICATOR));
    UiTestClick(p, BP_OK);
    UiTestKeyToCtrl(p, RING, UiTestKeyDown);
    UiTestClick(p, RING);
    EXPECT_EQ(0, UiTestCountCommits(100));
    int index = -1;
    GetCtrlIndex(p, RING, &index);
    EXPECT_EQ(0, index);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_CTRL_MODE, VAL_HOT));
    UiTestClick(p, BP_OK);
    int ep, ec;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(BP_OK, ec);
    // A string in indicator mode is read-only.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, STR, ATTR_CTRL_MODE, VAL_INDICATOR));
#ifdef _WIN32
    EXPECT_TRUE(GetWindowLongPtrW(UiCtrlWindow(p, STR), GWL_STYLE) & ES_READONLY);
#else
    EXPECT_TRUE(qobject_cast<QLineEdit *>(UiCtrlWidget(p, STR))->isReadOnly());
#endif
}

TEST_F(Controls, NewControls) {
    const int q = NewPanelAnsi(0, "", 10, 10, 200, 300);
    ASSERT_GT(q, 0);
    const int b = NewCtrlAnsi(q, CTRL_COMMAND_BUTTON, "__Valider", 20, 30);
    ASSERT_GT(b, 0);
    const int t = NewCtrlAnsi(q, CTRL_TEXT_MSG, "Texte \xE9", 60, 30);
    ASSERT_GT(t, 0);
    EXPECT_NE(b, t);
    const int r = NewCtrlAnsi(q, CTRL_RING, "Choix", 100, 30);
    ASSERT_GT(r, 0);
    int v;
    char s[1024];
    ASSERT_EQ(0, GetCtrlAttributeAnsi(q, b, ATTR_CTRL_STYLE, &v));
    EXPECT_EQ(CTRL_COMMAND_BUTTON, v);
    ASSERT_EQ(0, GetCtrlAttributeAnsi(q, b, ATTR_LABEL_TEXT, s));
    EXPECT_STREQ("__Valider", s);
#ifdef _WIN32
    wchar_t text[32];
    GetWindowTextW(UiCtrlWindow(q, b), text, 32);
    EXPECT_STREQ(L"&Valider", text);
#else
    EXPECT_EQ(QStringLiteral("&Valider"), qobject_cast<QPushButton *>(UiCtrlWidget(q, b))->text());
#endif
    ASSERT_EQ(0, GetCtrlValAnsi(q, t, s));
    EXPECT_STREQ("Texte \xE9", s);
    GetCtrlAttributeAnsi(q, b, ATTR_TOP, &v);
    EXPECT_EQ(20, v);
    GetCtrlAttributeAnsi(q, t, ATTR_LEFT, &v);
    EXPECT_EQ(30, v);
    // The newest is in front; the walk follows creation order.
    GetCtrlAttributeAnsi(q, r, ATTR_ZPLANE_POSITION, &v);
    EXPECT_EQ(0, v);
    GetCtrlAttributeAnsi(q, b, ATTR_ZPLANE_POSITION, &v);
    EXPECT_EQ(2, v);
    GetPanelAttributeAnsi(q, ATTR_PANEL_FIRST_CTRL, &v);
    EXPECT_EQ(b, v);
    GetCtrlAttributeAnsi(q, b, ATTR_NEXT_CTRL, &v);
    EXPECT_EQ(t, v);
    ASSERT_EQ(0, InsertListItemAnsi(q, r, -1, "un", 1));
    ASSERT_EQ(0, GetCtrlAttributeAnsi(q, r, ATTR_LABEL_TEXT, s));
    EXPECT_STREQ("Choix", s);
    EXPECT_EQ(UIE_BAD_VALUE, NewCtrlAnsi(q, 12345, "", 0, 0));
    DisplayPanel(q);
    UiTestProcess(20);
    UiTestClick(q, b);
    int ep, ec;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(q, ep);
    EXPECT_EQ(b, ec);
    DiscardPanel(q);
}

}  // namespace
