// GenSurvol.cpp: hover buttons. While the mouse is over one control of a
// list, the link cursor shows and that control's label is visible, the
// labels of the others hidden; over none, the normal cursor returns and the
// labels are hidden. Labels thus act as captions that appear on hover.
//
// Exports (GenUtil.h): GenActiverSurvol, GenEffaceLabel, GenSurvolBpV1,
// GenSurvolBpV2, GenSurvolBp, GenSurvolBpMultiFen.
//
// Data model: a hover result is 0 (no control of the list under the mouse)
// or k (the control at index k - 1). Each of the four hover operations
// remembers the result of its own last call that got past the switch and the
// active-panel test, and changes the cursor and the labels only when a new
// result differs from it; they share one on/off switch. The four differ only
// in which controls are eligible and in whether the panel must be active.
#include "genutil/GenUtil.h"

#include <cassert>

#include "ui/userint.h"

namespace {

// ---- Hover state ---------------------------------------------------------
// sSurvolActif: the switch, the low 8 bits of GenActiverSurvol's argument;
//   0 makes every hover operation return at once.
// sMemoire...: last result of each operation; -1 (matches no result) until its
//   first complete call, so that call always applies cursor and labels.
//   Written only by its own operation; GenEffaceLabel leaves them alone.
signed char sSurvolActif = 1;
int sMemoireV1 = -1;
int sMemoireV2 = -1;
int sMemoireBp = -1;
int sMemoireMultiFen = -1;

// How a family member picks its controls.
struct Regles {
    bool lireMode;        // indicators (mode 0) are eligible only with the include flag
    bool panneauActif;    // returns at once unless `panel` is the active panel
};

// Returns the hover result: 0, or 1 + the index of the first eligible
// control of the list whose area (bounds included) holds the mouse.
int Toucher(int panel, int n, const int ctrls[], int inclure, Regles regles) {
    for (int i = 0; i < n; ++i) {
        int visible = 0;
        GetCtrlAttributeAnsi(panel, ctrls[i], ATTR_VISIBLE, &visible);
        bool eligible = visible != 0;
        if (visible) {
            int dimmed = 0;
            GetCtrlAttributeAnsi(panel, ctrls[i], ATTR_DIMMED, &dimmed);
            if (regles.lireMode) {
                int mode = VAL_NORMAL;
                GetCtrlAttributeAnsi(panel, ctrls[i], ATTR_CTRL_MODE, &mode);
                eligible = (!dimmed && mode != VAL_INDICATOR) || inclure != 0;
            } else {
                eligible = !dimmed;
            }
        }
        int largeur = 0, hauteur = 0;
        GetCtrlAttributeAnsi(panel, ctrls[i], ATTR_WIDTH, &largeur);
        GetCtrlAttributeAnsi(panel, ctrls[i], ATTR_HEIGHT, &hauteur);
        if (!eligible) continue;
        int x = -1, y = -1;
        if (GetRelativeMouseState(panel, ctrls[i], &x, &y, nullptr, nullptr, nullptr) < 0) continue;
        // Bounds included: the column x == width and the row y == height count.
        if (x >= 0 && x <= largeur && y >= 0 && y <= hauteur) return i + 1;
    }
    return 0;
}

// One call of a family member with its own memory.
void Survoler(int panel, int n, int m, const int ctrls[], int inclure, Regles regles,
              int &memoire) {
    if (sSurvolActif == 0) return;
    if (regles.panneauActif && GetActivePanel() != panel) return;
    assert((n <= 0 || ctrls != nullptr) && "a hover list needs its control ids");

    const int h = Toucher(panel, n, ctrls, inclure, regles);
    if (h == memoire) return;
    if (h != 0) {
        SetMouseCursor(VAL_POINTING_FINGER_CURSOR);
        for (int j = 0; j < n; ++j)
            if (j < m && j != h - 1) SetCtrlAttributeAnsi(panel, ctrls[j], ATTR_LABEL_VISIBLE, 0);
        // Shown whatever its index, even at or beyond m.
        SetCtrlAttributeAnsi(panel, ctrls[h - 1], ATTR_LABEL_VISIBLE, 1);
    } else {
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        for (int j = 0; j < n && j < m; ++j)
            SetCtrlAttributeAnsi(panel, ctrls[j], ATTR_LABEL_VISIBLE, 0);
    }
    memoire = h;
}

constexpr Regles kReglesV = {true, true};
constexpr Regles kReglesBp = {false, true};
constexpr Regles kReglesMultiFen = {false, false};

}  // namespace

void GenActiverSurvol(char actif) { sSurvolActif = static_cast<signed char>(actif); }

void GenEffaceLabel(int panel, int nb, const int ctrls[]) {
    assert((nb <= 0 || ctrls != nullptr) && "GenEffaceLabel needs the control ids");
    for (int i = 0; i < nb; ++i) SetCtrlAttributeAnsi(panel, ctrls[i], ATTR_LABEL_VISIBLE, 0);
}

void GenSurvolBpV1(int panel, int n, int m, const int ctrls[], int inclure) {
    Survoler(panel, n, m, ctrls, inclure, kReglesV, sMemoireV1);
}

void GenSurvolBpV2(int panel, int n, int m, const int ctrls[], int inclure) {
    Survoler(panel, n, m, ctrls, inclure, kReglesV, sMemoireV2);
}

void GenSurvolBp(int panel, int n, int m, const int ctrls[]) {
    Survoler(panel, n, m, ctrls, 0, kReglesBp, sMemoireBp);
}

void GenSurvolBpMultiFen(int panel, int n, int m, const int ctrls[]) {
    Survoler(panel, n, m, ctrls, 0, kReglesMultiFen, sMemoireMultiFen);
}
