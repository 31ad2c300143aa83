// test_resources.cpp: the panel resources "FVLicEnr.uir" and "FenGen.uir"
// against what the code relies on.
//
// The tables below are written by hand from the reviewed list of controls
// (id, constant name, kind, stored text), not copied from the .ui files, so
// that a slip in either the resource or ui/FVLicEnr.h shows up here. Ids,
// kinds, texts and visibility are read through the run-time layer, as the
// application reads them; the constant name (objectName) and the drawing
// checks (nothing clipped, nothing covering a button, the help box fitting at
// every place the hover help puts it) look at the toolkit's widgets behind
// it; the texts' layout is read from Qt's labels only.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/userint_win32.h"
#else
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include "ui/qt/userint_qt.h"
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/ui_events.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

// What the resource stores as a control's text.
enum class Text {
    None,    // no text (rings: no items; pictures, decorations)
    Exact,   // exactly `text`
    Dots,    // a row of full stops, 88 to 105 long
};

struct Expected {
    int constant;        // the value ui/FVLicEnr.h gives
    int id;              // the id of the reviewed table
    const char *name;    // constant name = objectName
    int style;
    Text rule;
    const char *text;    // Windows-1252
};

const std::vector<Expected> &MainPanel() {
    static const std::vector<Expected> t = {
        {FVLIC_ENR_PROD_CHOIX, 5, "PROD_CHOIX", CTRL_RING, Text::None, nullptr},
        {FVLIC_ENR_BP_QUIT, 7, "BP_QUIT", CTRL_COMMAND_BUTTON, Text::Exact, "__QUITTER"},
        {FVLIC_ENR_BP_LOAD, 8, "BP_LOAD", CTRL_COMMAND_BUTTON, Text::Exact, "__TELECHARGER"},
        {FVLIC_ENR_WEB, 15, "WEB", CTRL_TEXT_MSG, Text::None, nullptr},   // checked apart
        {FVLIC_ENR_LOGO_2, 23, "LOGO_2", CTRL_PICTURE, Text::None, nullptr},
        {FVLIC_ENR_LOGO, 24, "LOGO", CTRL_PICTURE, Text::None, nullptr},
        {FVLIC_ENR_PROD, 26, "PROD", CTRL_RING, Text::None, nullptr},
        {FVLIC_ENR_LAB_LOAD, 36, "LAB_LOAD", CTRL_TEXT_MSG, Text::Exact,
         " Télécharger les Logiciels et Ressources du Produit : "_cp1252},
        {FVLIC_ENR_LAB_P, 37, "LAB_P", CTRL_TEXT_MSG, Text::Exact,
         " Sélectionner le PRODUIT VELTRANE : "_cp1252},
        {FVLIC_ENR_DECORATION_6, 38, "DECORATION_6", CTRL_DECORATION, Text::None, nullptr},
        {FVLIC_ENR_CADRE_PROD, 40, "CADRE_PROD", CTRL_DECORATION, Text::None, nullptr},
        {FVLIC_ENR_CADRE_LOAD, 43, "CADRE_LOAD", CTRL_DECORATION, Text::None, nullptr},
    };
    return t;
}

const std::vector<Expected> &DownloadsPanel() {
    static const std::vector<Expected> t = {
        {FVLIC_LOAD_BP_QUIT, 2, "BP_QUIT", CTRL_COMMAND_BUTTON, Text::Exact, "__RETOUR"},
        {FVLIC_LOAD_PROD, 3, "PROD", CTRL_RING, Text::None, nullptr},
        {FVLIC_LOAD_DECORATION_2, 4, "DECORATION_2", CTRL_DECORATION, Text::None, nullptr},
        {FVLIC_LOAD_PDF_IHM, 5, "PDF_IHM", CTRL_PICTURE_COMMAND_BUTTON, Text::Dots, nullptr},
        {FVLIC_LOAD_PDF_DT, 6, "PDF_DT", CTRL_PICTURE_COMMAND_BUTTON, Text::Dots, nullptr},
        {FVLIC_LOAD_PDF_EMP, 7, "PDF_EMP", CTRL_PICTURE_COMMAND_BUTTON, Text::Dots, nullptr},
        {FVLIC_LOAD_BP_PEMP, 8, "BP_PEMP", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact,
         "Outil Paramétrage EMP"_cp1252},
        {FVLIC_LOAD_BP_4, 9, "BP_4", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "Label 1"},
        {FVLIC_LOAD_BP_2, 10, "BP_2", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "Label 1"},
        {FVLIC_LOAD_BP_3, 11, "BP_3", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "Label 1"},
        {FVLIC_LOAD_BP_1, 12, "BP_1", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact,
         "Codec \" Lecteur Windows Media \" pour Vidéos EMP"_cp1252},
        {FVLIC_LOAD_BP_PROF, 13, "BP_PROF", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "Dossier Professeur"},
        {FVLIC_LOAD_BP_IHM, 14, "BP_IHM", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "Interface PC"},
        {FVLIC_LOAD_TXT_PROF, 15, "TXT_PROF", CTRL_TEXT_MSG, Text::Exact,
         "(Dossier Technique, Manuels Logiciels, TP,\nDessins, Modèles, etc.)"_cp1252},
        {FVLIC_LOAD_BP_EMP, 16, "BP_EMP", CTRL_PICTURE_COMMAND_BUTTON, Text::Exact, "EMP"},
        {FVLIC_LOAD_TXT_IHM, 17, "TXT_IHM", CTRL_TEXT_MSG, Text::Exact,
         "(Pilotage, Paramétrage et Acquisition)"_cp1252},
        {FVLIC_LOAD_V_IHM, 18, "V_IHM", CTRL_TEXT_MSG, Text::Exact, "V0.0 "},
        {FVLIC_LOAD_V_EMP, 19, "V_EMP", CTRL_TEXT_MSG, Text::Exact, "V0.0 "},
        {FVLIC_LOAD_LAB_3, 20, "LAB_3", CTRL_TEXT_MSG, Text::Exact, "Manuels :"},
        {FVLIC_LOAD_LAB_4, 21, "LAB_4", CTRL_TEXT_MSG, Text::Exact, "Utilitaires :"},
        {FVLIC_LOAD_LAB_5, 22, "LAB_5", CTRL_TEXT_MSG, Text::Exact, "Dossier Technique :"},
        {FVLIC_LOAD_TXT_EMP, 23, "TXT_EMP", CTRL_TEXT_MSG, Text::Exact,
         "(Environnement Multimédia Pédagogique)"_cp1252},
        {FVLIC_LOAD_LAB_1, 24, "LAB_1", CTRL_TEXT_MSG, Text::Exact, "Logiciels :"},
        {FVLIC_LOAD_LAB_2, 25, "LAB_2", CTRL_TEXT_MSG, Text::Exact, "Ressources :"},
        {FVLIC_LOAD_INFO, 26, "INFO", CTRL_TEXT_BOX, Text::Exact, "Texte"},
    };
    return t;
}

// The utility buttons and BP_PEMP start hidden: the composition shows only
// the ones a product offers.
const std::set<int> kHiddenAtLoad = {FVLIC_LOAD_BP_PEMP, FVLIC_LOAD_BP_4, FVLIC_LOAD_BP_2,
                                     FVLIC_LOAD_BP_3, FVLIC_LOAD_BP_1};

std::string CtrlText(int panel, int ctrl, int style) {
    char buf[1024] = {};
    int rc;
    if (style == CTRL_TEXT_MSG || style == CTRL_TEXT_BOX || style == CTRL_STRING)
        rc = GetCtrlValAnsi(panel, ctrl, buf);
    else
        rc = GetCtrlAttributeAnsi(panel, ctrl, ATTR_LABEL_TEXT, buf);
    EXPECT_GE(rc, 0) << "reading the text of control " << ctrl;
    return buf;
}

int Attr(int panel, int ctrl, int attribute) {
    int v = -12345;
    EXPECT_GE(GetCtrlAttributeAnsi(panel, ctrl, attribute, &v), 0)
        << "attribute " << attribute << " of control " << ctrl;
    return v;
}

// The controls of a panel in the order the run-time walks them.
std::vector<int> Walk(int panel) {
    std::vector<int> ids;
    int id = 0;
    EXPECT_GE(GetPanelAttributeAnsi(panel, ATTR_PANEL_FIRST_CTRL, &id), 0);
    while (id > 0 && ids.size() < 500) {
        ids.push_back(id);
        int next = 0;
        EXPECT_GE(GetCtrlAttributeAnsi(panel, id, ATTR_NEXT_CTRL, &next), 0);
        id = next;
    }
    return ids;
}

bool Interactive(int style) {
    return style == CTRL_COMMAND_BUTTON || style == CTRL_PICTURE_COMMAND_BUTTON ||
           style == CTRL_RING || style == CTRL_STRING || style == CTRL_NUMERIC;
}

// A panel loaded for one test, discarded at its end.
class Panel {
public:
    Panel(const char *file, int id) : handle_(LoadPanelAnsi(0, file, id)) {}
    ~Panel() { if (handle_ > 0) DiscardPanel(handle_); }
    Panel(const Panel &) = delete;
    Panel &operator=(const Panel &) = delete;
    int handle() const { return handle_; }
private:
    int handle_;
};

// Checks one panel against its table: every constant has the reviewed id,
// the resource has a control of that id with that name, kind and text.
void CheckTable(int panel, const std::vector<Expected> &table) {
    const std::vector<int> walk = Walk(panel);
    for (const Expected &e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.constant, e.id) << "ui/FVLicEnr.h disagrees with the table";
        EXPECT_NE(std::find(walk.begin(), walk.end(), e.id), walk.end()) << "control missing";
#ifndef _WIN32   // the constant names are Qt's object names; the Win32 resource keeps ids only
        QWidget *w = UiCtrlWidget(panel, e.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName().toStdString(), e.name);
#endif
        EXPECT_EQ(Attr(panel, e.id, ATTR_CTRL_STYLE), e.style);
        switch (e.rule) {
        case Text::Exact:
            EXPECT_EQ(CtrlText(panel, e.id, e.style), e.text);
            break;
        case Text::Dots: {
            const std::string t = CtrlText(panel, e.id, e.style);
            EXPECT_GE(t.size(), 88u);
            EXPECT_LE(t.size(), 105u);
            EXPECT_EQ(t.find_first_not_of('.'), std::string::npos) << t;
            break;
        }
        case Text::None:
            if (e.style == CTRL_RING) {
                int n = -1;
                EXPECT_GE(GetNumListItems(panel, e.id, &n), 0);
                EXPECT_EQ(n, 0) << "rings are filled by code";
            }
            break;
        }
        if (e.style == CTRL_PICTURE_COMMAND_BUTTON) {
            // Square, 24 or 32, with a picture: a 16 or a 24 one.
            const int width = Attr(panel, e.id, ATTR_WIDTH), height = Attr(panel, e.id, ATTR_HEIGHT);
            EXPECT_EQ(width, height);
            EXPECT_TRUE(width == 24 || width == 32) << width;
#ifndef _WIN32   // the Qt button's icon
            auto *b = qobject_cast<QAbstractButton *>(w);
            ASSERT_NE(b, nullptr);
            EXPECT_FALSE(b->icon().isNull());
            EXPECT_EQ(b->iconSize(), QSize(width - 8, width - 8));
            EXPECT_NE(UiCtrlLabelWidget(panel, e.id), nullptr) << "label beside the button";
#endif
        }
    }
    // The resource lists its controls in id order.
    for (size_t i = 1; i < walk.size(); ++i) EXPECT_LT(walk[i - 1], walk[i]);
}

// Shows every control of the panel (through the run-time) and returns the
// interactive ones.
std::vector<int> ShowAll(int panel, const std::vector<Expected> &table) {
    std::vector<int> interactive;
    for (const Expected &e : table) {
        EXPECT_GE(SetCtrlAttributeAnsi(panel, e.id, ATTR_VISIBLE, 1), 0);
        if (Interactive(e.style)) interactive.push_back(e.id);
    }
    return interactive;
}

// A press anywhere on the control must reach it: no label, text or frame
// drawn in front of it may take the mouse.
#ifdef _WIN32
void CheckReachable(int panel, const std::vector<int> &controls) {
    ASSERT_GE(DisplayPanel(panel), 0);   // the window system hit-tests shown windows only
    UiTestProcess(20);
    for (int id : controls) {
        HWND w = UiCtrlWindow(panel, id);
        ASSERT_NE(w, nullptr);
        RECT r;
        GetWindowRect(w, &r);
        InflateRect(&r, -2, -2);
        for (POINT p : {POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, POINT{r.left, r.top},
                        POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1}, POINT{r.right - 1, r.bottom - 1}}) {
            HWND hit = WindowFromPoint(p);
            EXPECT_TRUE(hit == w || IsChild(w, hit))
                << "control " << id << " at " << p.x << "," << p.y << " is covered by control "
                << (hit ? GetDlgCtrlID(hit) : 0);
        }
    }
}

// The texts' layout is Qt's labels' (on Win32: scripts/screenshots-windows.sh).
void CheckNoOverlap(int, const std::vector<int> &, int = 0) {}
void CheckLabelsFit(int) {}
#else
void CheckReachable(int panel, const std::vector<int> &controls) {
    QWidget *root = UiPanelWidget(panel);
    ASSERT_NE(root, nullptr);
    for (int id : controls) {
        QWidget *w = UiCtrlWidget(panel, id);
        ASSERT_NE(w, nullptr);
        const QRect r = w->geometry().adjusted(2, 2, -2, -2);
        for (QPoint p : {r.center(), r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
            const QPoint inRoot = w->parentWidget()->mapTo(root, p);
            QWidget *hit = root->childAt(inRoot);
            EXPECT_TRUE(hit == w || (hit && w->isAncestorOf(hit)))
                << w->objectName().toStdString() << " at " << p.x() << "," << p.y() << " is covered by "
                << (hit ? hit->objectName().toStdString() : "nothing");
        }
    }
}

// No text of the panel runs onto a button or ring, out of the panel, or
// (downloads panel) into the column of the help box.
void CheckNoOverlap(int panel, const std::vector<int> &interactive, int helpBox = 0) {
    QWidget *root = UiPanelWidget(panel);
    ASSERT_NE(root, nullptr);
    const QRect help = helpBox ? UiCtrlWidget(panel, helpBox)->geometry() : QRect();
    for (QLabel *l : root->findChildren<QLabel *>()) {
        if (l->isHidden() || l->text().isEmpty()) continue;
        SCOPED_TRACE(l->objectName().toStdString() + ": " + l->text().toStdString());
        const QRect r = l->geometry();
        EXPECT_TRUE(root->rect().contains(r));
        for (int id : interactive) {
            QWidget *w = UiCtrlWidget(panel, id);
            if (!w->isHidden()) {
                EXPECT_FALSE(r.intersects(w->geometry())) << "runs onto " << w->objectName().toStdString();
            }
        }
        if (helpBox) {
            EXPECT_TRUE(r.right() < help.left() || r.left() > help.right()) << "runs into the help column";
        }
    }
}

// Every text drawn by a QLabel of the panel fits its box.
void CheckLabelsFit(int panel) {
    QWidget *root = UiPanelWidget(panel);
    ASSERT_NE(root, nullptr);
    for (QLabel *l : root->findChildren<QLabel *>()) {
        if (l->text().isEmpty()) continue;
        SCOPED_TRACE(l->objectName().toStdString() + ": " + l->text().toStdString());
        if (l->wordWrap()) {
            EXPECT_LE(l->heightForWidth(l->width()), l->height());
        } else {
            EXPECT_LE(l->sizeHint().width(), l->width());
            EXPECT_LE(l->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), 0, l->text()).height(),
                      l->height());
        }
    }
}
#endif

}  // namespace

TEST(PanelResources, MainPanelHasEveryControlWithItsIdNameKindAndText) {
    EXPECT_EQ(FVLIC_ENR, 4);
    Panel p(FVLIC_UIR_FILE, FVLIC_ENR);
    ASSERT_GT(p.handle(), 0);
    CheckTable(p.handle(), MainPanel());

    // The two headings begin with a blank and keep it: 36 and 54 characters.
    EXPECT_EQ(CtrlText(p.handle(), FVLIC_ENR_LAB_P, CTRL_TEXT_MSG).size(), 36u);
    EXPECT_EQ(CtrlText(p.handle(), FVLIC_ENR_LAB_LOAD, CTRL_TEXT_MSG).size(), 54u);
    // WEB shows the maker's address; the hyperlink accepts only a text message.
    EXPECT_NE(CtrlText(p.handle(), FVLIC_ENR_WEB, CTRL_TEXT_MSG).find("veltrane"), std::string::npos);
    // The indicator cannot be operated; the chooser and the buttons can.
    EXPECT_EQ(Attr(p.handle(), FVLIC_ENR_PROD, ATTR_CTRL_MODE), VAL_INDICATOR);
    EXPECT_EQ(Attr(p.handle(), FVLIC_ENR_PROD_CHOIX, ATTR_CTRL_MODE), VAL_HOT);
    EXPECT_EQ(Attr(p.handle(), FVLIC_ENR_BP_QUIT, ATTR_CTRL_MODE), VAL_HOT);
    EXPECT_EQ(Attr(p.handle(), FVLIC_ENR_BP_LOAD, ATTR_CTRL_MODE), VAL_HOT);
    // The code decides the visibility of chooser, indicator and download
    // section; the resource leaves every control visible.
    for (const Expected &e : MainPanel()) EXPECT_EQ(Attr(p.handle(), e.id, ATTR_VISIBLE), 1) << e.name;

    int back = 0;
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_BACKCOLOR, &back), 0);
    EXPECT_EQ(back, 0xF0F0F0);
    char title[1024] = {};
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_TITLE, title), 0);
    EXPECT_NE(std::string(title).find("Veltrane"), std::string::npos) << title;
}

TEST(PanelResources, DownloadsPanelHasItsTwentyFiveControlsWithIdNameKindAndText) {
    EXPECT_EQ(FVLIC_LOAD, 6);
    Panel p(FVLIC_UIR_FILE, FVLIC_LOAD);
    ASSERT_GT(p.handle(), 0);
    CheckTable(p.handle(), DownloadsPanel());

    std::vector<int> ids;
    for (int id = 2; id <= 26; ++id) ids.push_back(id);
    EXPECT_EQ(Walk(p.handle()), ids) << "25 controls, ids 2 to 26";

    // Sizes of the picture buttons: manuals and utilities small, packages large.
    for (int id : {FVLIC_LOAD_PDF_IHM, FVLIC_LOAD_PDF_DT, FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_BP_PEMP,
                   FVLIC_LOAD_BP_4, FVLIC_LOAD_BP_2, FVLIC_LOAD_BP_3, FVLIC_LOAD_BP_1})
        EXPECT_EQ(Attr(p.handle(), id, ATTR_WIDTH), 24) << id;
    for (int id : {FVLIC_LOAD_BP_PROF, FVLIC_LOAD_BP_IHM, FVLIC_LOAD_BP_EMP})
        EXPECT_EQ(Attr(p.handle(), id, ATTR_WIDTH), 32) << id;

    // The help box is an indicator: the user reads it, never types in it.
    EXPECT_EQ(Attr(p.handle(), FVLIC_LOAD_INFO, ATTR_CTRL_MODE), VAL_INDICATOR);

    int back = 0;
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_BACKCOLOR, &back), 0);
    EXPECT_EQ(back, 0xF0F0F0);
    char title[1024] = {};
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_TITLE, title), 0);
    EXPECT_STREQ(title, "Télécharger Logiciels et Ressources Veltrane"_cp1252);
    // Its controls sit at fixed places: the window is neither resized nor maximised.
    int sizable = -1, maximize = -1;
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_SIZABLE, &sizable), 0);
    EXPECT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_CAN_MAXIMIZE, &maximize), 0);
    EXPECT_EQ(sizable, 0);
    EXPECT_EQ(maximize, 0);
}

TEST(PanelResources, DownloadsPanelStartsWithTheUtilityButtonsHidden) {
    Panel p(FVLIC_UIR_FILE, FVLIC_LOAD);
    ASSERT_GT(p.handle(), 0);
    for (const Expected &e : DownloadsPanel()) {
        SCOPED_TRACE(e.name);
        const bool hidden = kHiddenAtLoad.count(e.id) > 0;
        EXPECT_EQ(Attr(p.handle(), e.id, ATTR_VISIBLE), hidden ? 0 : 1);
#ifdef _WIN32
        if (HWND label = UiCtrlLabelWindow(p.handle(), e.id)) {
            EXPECT_EQ(!(GetWindowLongPtrW(label, GWL_STYLE) & WS_VISIBLE), hidden) << "the label goes with its button";
        }
#else
        if (QLabel *label = UiCtrlLabelWidget(p.handle(), e.id)) {
            EXPECT_EQ(label->isHidden(), hidden) << "the label goes with its button";
        }
#endif
    }
}

TEST(PanelResources, ButtonLabelsShowTheirShortcutLetterNotTheUnderscores) {
    struct Case { const char *file; int panel, ctrl; const char *shown; };
    for (const Case &c : {Case{FVLIC_UIR_FILE, FVLIC_ENR, FVLIC_ENR_BP_QUIT, "&QUITTER"},
                          Case{FVLIC_UIR_FILE, FVLIC_ENR, FVLIC_ENR_BP_LOAD, "&TELECHARGER"},
                          Case{FVLIC_UIR_FILE, FVLIC_LOAD, FVLIC_LOAD_BP_QUIT, "&RETOUR"}}) {
        Panel p(c.file, c.panel);
        ASSERT_GT(p.handle(), 0);
#ifdef _WIN32
        char shown[64] = {};
        GetWindowTextA(UiCtrlWindow(p.handle(), c.ctrl), shown, sizeof shown);
        EXPECT_STREQ(shown, c.shown);
#else
        auto *b = qobject_cast<QAbstractButton *>(UiCtrlWidget(p.handle(), c.ctrl));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text().toStdString(), c.shown);
#endif
    }
}

// The pictures of a panel (read by the layer, not by the Designer loader):
// both logos of the main panel are there, at twice the density, filling
// their controls.
#ifndef _WIN32   // reads the Qt label's pixmap
TEST(PanelResources, MainPanelShowsItsLogosAtTwiceTheDensity) {
    Panel p(FVLIC_UIR_FILE, FVLIC_ENR);
    ASSERT_GT(p.handle(), 0);
    for (int id : {int(FVLIC_ENR_LOGO), int(FVLIC_ENR_LOGO_2)}) {
        auto *l = qobject_cast<QLabel *>(UiCtrlWidget(p.handle(), id));
        ASSERT_NE(l, nullptr) << id;
        const QPixmap pic = l->pixmap();
        ASSERT_FALSE(pic.isNull()) << id;
        EXPECT_EQ(pic.devicePixelRatio(), 2.0) << id;
        EXPECT_EQ(pic.deviceIndependentSize().toSize(), l->size()) << id;
    }
}
#endif

TEST(PanelResources, CloseBoxGivesTheQuitButtonsCommit) {
    const std::pair<int, int> panels[] = {{FVLIC_ENR, FVLIC_ENR_BP_QUIT}, {FVLIC_LOAD, FVLIC_LOAD_BP_QUIT}};
    for (auto [panel, quit] : panels) {
        Panel p(FVLIC_UIR_FILE, panel);
        ASSERT_GT(p.handle(), 0);
        ASSERT_GE(DisplayPanel(p.handle()), 0);
        int evPanel = 0, evCtrl = 0;
        while (GetUserEvent(0, &evPanel, &evCtrl) != 0) {}   // drain
        UiTestCloseBox(p.handle());
        EXPECT_EQ(GetUserEvent(0, &evPanel, &evCtrl), EVENT_COMMIT);
        EXPECT_EQ(evPanel, p.handle());
        EXPECT_EQ(evCtrl, quit);
    }
}

TEST(PanelLayout, MainPanelControlsCanBeOperatedAndTextsFit) {
    Panel p(FVLIC_UIR_FILE, FVLIC_ENR);
    ASSERT_GT(p.handle(), 0);
    const std::vector<int> interactive = ShowAll(p.handle(), MainPanel());
    // Chooser and indicator share their place, one at a time.
    SetCtrlAttributeAnsi(p.handle(), FVLIC_ENR_PROD, ATTR_VISIBLE, 0);
    std::vector<int> operated;
    for (int id : interactive) if (id != FVLIC_ENR_PROD) operated.push_back(id);
    CheckReachable(p.handle(), operated);
    CheckLabelsFit(p.handle());
    CheckNoOverlap(p.handle(), operated);
}

TEST(PanelLayout, DownloadsPanelButtonsCanBeOperatedWithTheLongestLabels) {
    Panel p(FVLIC_UIR_FILE, FVLIC_LOAD);
    ASSERT_GT(p.handle(), 0);
    const std::vector<int> interactive = ShowAll(p.handle(), DownloadsPanel());
    CheckReachable(p.handle(), interactive);
    CheckLabelsFit(p.handle());
    CheckNoOverlap(p.handle(), interactive, FVLIC_LOAD_INFO);

    // The texts the composition writes, at their longest: utility labels
    // (two lines at most), versions, the product-180 caption.
    const char *utilities[] = {
        "Codec ''Lecteur Windows Media'' pour Vidéos EMP"_cp1252,
        "''MGate Conf.'' pour passerelle Ethernet ''Moxa NPort-6110''",
        "Pilotes USB pour cartes Imprimante-3D-Delta :\n''Arduino'', ''Teensy'' et ''Smoothie (eMotionTech)''",
        "Supervision (Ethernet) Convoyeur Industriel 4.0 et Doseur Doseur Pondéral Dosimat"_cp1252,
        "Interface PC ''MiniDisplay HL975 Manager'' TAG-Heuer",
    };
    for (const char *label : utilities)
        for (int id : {FVLIC_LOAD_BP_1, FVLIC_LOAD_BP_2, FVLIC_LOAD_BP_3}) {
            ASSERT_GE(SetCtrlAttributeAnsi(p.handle(), id, ATTR_LABEL_TEXT, label), 0);
            CheckLabelsFit(p.handle());
            CheckNoOverlap(p.handle(), interactive, FVLIC_LOAD_INFO);
        }
    SetCtrlValAnsi(p.handle(), FVLIC_LOAD_V_EMP, "V10-12 ");
    SetCtrlValAnsi(p.handle(), FVLIC_LOAD_V_IHM, "V10-12 ");
    SetCtrlValAnsi(p.handle(), FVLIC_LOAD_TXT_IHM,
                   "(Acquisition Tops Chronos avec Boitier Chronométrage HL940)"_cp1252);
    SetCtrlAttributeAnsi(p.handle(), FVLIC_LOAD_BP_IHM, ATTR_LABEL_TEXT, "Supervision ");
    CheckLabelsFit(p.handle());
    CheckNoOverlap(p.handle(), interactive, FVLIC_LOAD_INFO);
    CheckReachable(p.handle(), interactive);
}

TEST(PanelLayout, HelpBoxFitsAtEveryPlaceTheHoverHelpPutsIt) {
    Panel p(FVLIC_UIR_FILE, FVLIC_LOAD);
    ASSERT_GT(p.handle(), 0);
    const std::vector<int> interactive = ShowAll(p.handle(), DownloadsPanel());
    int panelHeight = 0, panelWidth = 0;
    ASSERT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_HEIGHT, &panelHeight), 0);
    ASSERT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_WIDTH, &panelWidth), 0);
    const int left = Attr(p.handle(), FVLIC_LOAD_INFO, ATTR_LEFT);
    const int width = Attr(p.handle(), FVLIC_LOAD_INFO, ATTR_WIDTH);
    // (top, visible lines) of the help texts: dossier and interface manual,
    // EMP with and without the codec paragraph, interface, EMP manual, teacher folder.
    for (auto [top, lines] : {std::pair{85, 4}, std::pair{125, 15}, std::pair{125, 13}, std::pair{130, 11},
                              std::pair{145, 5}, std::pair{235, 7}}) {
        SCOPED_TRACE("top " + std::to_string(top) + ", " + std::to_string(lines) + " lines");
        ASSERT_GE(SetCtrlAttributeAnsi(p.handle(), FVLIC_LOAD_INFO, ATTR_TOP, top), 0);
        ASSERT_GE(SetCtrlAttributeAnsi(p.handle(), FVLIC_LOAD_INFO, ATTR_VISIBLE_LINES, lines), 0);
        const int height = Attr(p.handle(), FVLIC_LOAD_INFO, ATTR_HEIGHT);
        EXPECT_GE(height, lines * 12) << "room for the lines";
        EXPECT_LE(top + height, panelHeight);
        EXPECT_LE(left + width, panelWidth);
        for (int id : interactive) {
            const int l = Attr(p.handle(), id, ATTR_LEFT), t = Attr(p.handle(), id, ATTR_TOP);
            const bool meets = l < left + width && left < l + Attr(p.handle(), id, ATTR_WIDTH) &&
                               t < top + height && top < t + Attr(p.handle(), id, ATTR_HEIGHT);
            EXPECT_FALSE(meets) << "the help box covers control " << id;
        }
    }
}

TEST(GeneralResources, PopupPanelsLoadFromTheProgramsFolder) {
    // From another current folder: FenGen.uir is found beside the executable.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    const int error = LoadPanelAnsi(0, "FenGen.uir", 3);
    const int wait = LoadPanelAnsi(0, "FenGen.uir", 4);
    std::filesystem::current_path(before);
    ASSERT_GT(error, 0);
    ASSERT_GT(wait, 0);
    DiscardPanel(error);
    DiscardPanel(wait);
}

TEST(GeneralResources, ErrorPopupShowsMessageAndButtonsInItsTop105Pixels) {
    Panel p("FenGen.uir", 3);
    ASSERT_GT(p.handle(), 0);
    EXPECT_EQ(Attr(p.handle(), 2, ATTR_CTRL_STYLE), CTRL_COMMAND_BUTTON);
    EXPECT_EQ(Attr(p.handle(), 3, ATTR_CTRL_STYLE), CTRL_COMMAND_BUTTON);
    EXPECT_EQ(Attr(p.handle(), 4, ATTR_CTRL_STYLE), CTRL_TEXT_BOX);
    EXPECT_EQ(Attr(p.handle(), 5, ATTR_CTRL_STYLE), CTRL_TEXT_BOX);
    // The message's heading is its label.
#ifndef _WIN32   // the label apart is a widget of its own on Qt only
    ASSERT_NE(UiCtrlLabelWidget(p.handle(), 4), nullptr);
#endif
    EXPECT_GE(SetCtrlAttributeAnsi(p.handle(), 4, ATTR_LABEL_TEXT, "Erreur de lecture"), 0);
    for (int id : {2, 3, 4}) {
        int top = 0, left = 0, height = 0, width = 0;
        ASSERT_GE(GetCtrlBoundingRect(p.handle(), id, &top, &left, &height, &width), 0);
        EXPECT_LE(top + height, 105) << "control " << id;
    }
#ifndef _WIN32
    QLabel *heading = UiCtrlLabelWidget(p.handle(), 4);
    EXPECT_LE(heading->geometry().bottom(), 105);
#endif
    int top = 0, left = 0, height = 0, width = 0;
    ASSERT_GE(GetCtrlBoundingRect(p.handle(), 5, &top, &left, &height, &width), 0);
    EXPECT_GE(top, 105) << "the details lie below the cut";
    int panelHeight = 0;
    ASSERT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_HEIGHT, &panelHeight), 0);
    EXPECT_LE(top + height, panelHeight);
    EXPECT_GE(SetPanelAttributeAnsi(p.handle(), ATTR_HEIGHT, 105), 0);
    CheckReachable(p.handle(), {2, 3});
}

TEST(GeneralResources, WaitPopupHoldsALongMessage) {
    Panel p("FenGen.uir", 4);
    ASSERT_GT(p.handle(), 0);
    const int style = Attr(p.handle(), 3, ATTR_CTRL_STYLE);
    EXPECT_TRUE(style == CTRL_TEXT_MSG || style == CTRL_STRING || style == CTRL_TEXT_BOX) << style;
    // 200 characters of French, in words, as a message would come.
    std::string message;
    while (message.size() < 200) message += "Lecture du catalogue des produits en cours, "_cp1252;
    message.resize(200);
    ASSERT_GE(SetCtrlValAnsi(p.handle(), 3, message.c_str()), 0);
    char back[1024] = {};
    ASSERT_GE(GetCtrlValAnsi(p.handle(), 3, back), 0);
    EXPECT_EQ(back, message);
    CheckLabelsFit(p.handle());
    int panelHeight = 0;
    ASSERT_GE(GetPanelAttributeAnsi(p.handle(), ATTR_HEIGHT, &panelHeight), 0);
    EXPECT_LE(Attr(p.handle(), 3, ATTR_TOP) + Attr(p.handle(), 3, ATTR_HEIGHT), panelHeight);
}
