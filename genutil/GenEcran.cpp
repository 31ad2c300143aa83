// GenEcran.cpp: screen and panel chores of the general library: masking the
// desktop, dimming a list of panels, comparing the screen with a panel size,
// printing the active panel, and the wait popup.
//
// Exports (GenUtil.h): GenMasquerBureau, GenDimmedPanel,
// GenTailleEcranInferieurTaillePanel, GenPrintPanel, GenWaitSetPos, GenWait,
// GenFermerWait; for the library and its tests (GenInterne.h):
// GenTailleMasque, GenImprimerPanelActif, GenWaitPanel, GenFichierRessource,
// GenChoisirFichierRessource.
//
// Data model: the wait popup is the only state. It is Closed (handle -1, the
// start) or Open (any other handle, even a failed load's negative code, so
// that a later GenFermerWait still undims and turns the wait cursor off).
// GenWait opens it or, when open, only replaces its message; GenFermerWait
// closes it. Everything runs on the user-interface thread; no run-time result
// is checked, the run-time itself refuses bad handles.
#include "genutil/GenUtil.h"
#include "genutil/GenInterne.h"

#include <cassert>
#include <cstring>

#include "ui/userint.h"

namespace {

// Resource file of the library's popups, and the wait popup in it.
constexpr const char *kFenGen = "FenGen.uir";
constexpr std::size_t kFichierTaille = 512;
constexpr int kPanneauWait = 4;
constexpr int kCtrlWaitTexte = 3;
constexpr int kCtrlWaitCadre = 4;   // the popup's frame line, as high as the popup

// Smallest desktop mask, for screens smaller than this.
constexpr int kMasqueLargeurMin = 800;
constexpr int kMasqueHauteurMin = 600;

// Room of the wait text: 255 bytes and the terminating zero.
constexpr std::size_t kWaitTexteTaille = 256;

// ---- Wait popup state --------------------------------------------------
// sWaitPanel: handle of the open popup; -1 when none is open. Set by the
//   opening GenWait (to whatever LoadPanelAnsi returned), reset by GenFermerWait.
// sWaitParent: the parent the opening GenWait was given; only read while open.
// sWaitTop, sWaitLeft: position of the next opening (GenWaitSetPos);
//   VAL_AUTO_CENTER centres.
// sWaitTexte: the latest message, always zero-terminated, cut to 255 bytes.
int sWaitPanel = -1;
int sWaitParent = 0;
int sWaitTop = VAL_AUTO_CENTER;
int sWaitLeft = VAL_AUTO_CENTER;
char sWaitTexte[kWaitTexteTaille] = "";

// ---- Resource file -------------------------------------------------------
// sFichier: the file the wait and error popups are loaded from; "FenGen.uir"
//   except while a test names another one. Always zero-terminated.
char sFichier[kFichierTaille] = "FenGen.uir";

}  // namespace

const char *GenFichierRessource(void) { return sFichier; }

void GenChoisirFichierRessource(const char *fichier) {
    std::strncpy(sFichier, fichier ? fichier : kFenGen, kFichierTaille - 1);
    sFichier[kFichierTaille - 1] = '\0';
}

void GenTailleMasque(int ecranHauteur, int ecranLargeur, int *hauteur, int *largeur) {
    assert(hauteur && largeur && "GenTailleMasque writes both sizes");
    // Both are replaced, even when only one is short.
    const bool petit = ecranHauteur < kMasqueHauteurMin || ecranLargeur < kMasqueLargeurMin;
    *hauteur = petit ? kMasqueHauteurMin : ecranHauteur;
    *largeur = petit ? kMasqueLargeurMin : ecranLargeur;
}

// Returns the new mask panel's handle, or the run-time's negative code.
int GenMasquerBureau(int couleur) {
    int ecranHauteur = 0, ecranLargeur = 0;
    GetScreenSize(&ecranHauteur, &ecranLargeur);
    int hauteur = 0, largeur = 0;
    GenTailleMasque(ecranHauteur, ecranLargeur, &hauteur, &largeur);
    const int panel = NewPanelAnsi(0, "", 0, 0, hauteur, largeur);
    SetPanelAttributeAnsi(panel, ATTR_BACKCOLOR, couleur);
    SetPanelAttributeAnsi(panel, ATTR_TITLEBAR_VISIBLE, 0);
    DisplayPanel(panel);
    return panel;
}

void GenDimmedPanel(int dimmed, int nbPanels, const int panels[]) {
    assert((nbPanels <= 0 || panels != nullptr) && "GenDimmedPanel needs the panel handles");
    for (int i = 0; i < nbPanels; ++i) SetPanelAttributeAnsi(panels[i], ATTR_DIMMED, dimmed);
}

// Returns 1 when the screen is lower or narrower than the panel, else 0.
int GenTailleEcranInferieurTaillePanel(int hauteur, int largeur) {
    int ecranHauteur = 0, ecranLargeur = 0;
    GetScreenSize(&ecranHauteur, &ecranLargeur);
    return (ecranHauteur < hauteur || ecranLargeur < largeur) ? 1 : 0;
}

// Returns PrintPanelAnsi's result.
int GenImprimerPanelActif(const char *fichier, int flag) {
    SetWaitCursor(1);
    const int panel = GetActivePanel();
    SetPrintAttributeExAnsi(ATTR_PRINT_VERTICAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 0);
    const int resultat = PrintPanelAnsi(panel, fichier, 0, 1, flag);
    SetWaitCursor(0);
    return resultat;
}

void GenPrintPanel(int flag) { GenImprimerPanelActif("", flag); }

void GenWaitSetPos(int top, int left) {
    sWaitTop = top;
    sWaitLeft = left;
}

// The popup grows in height for a long message: its frame follows it.
static void AjusterCadreWait() {
    int hauteur = 0;
    if (GetPanelAttributeAnsi(sWaitPanel, ATTR_HEIGHT, &hauteur) >= 0)
        SetCtrlAttributeAnsi(sWaitPanel, kCtrlWaitCadre, ATTR_HEIGHT, hauteur);
}

void GenWait(int parent, const char *message) {
    if (message == nullptr) message = "";
    std::strncpy(sWaitTexte, message, kWaitTexteTaille - 1);
    sWaitTexte[kWaitTexteTaille - 1] = '\0';

    if (sWaitPanel != -1) {
        SetCtrlValAnsi(sWaitPanel, kCtrlWaitTexte, sWaitTexte);
        AjusterCadreWait();
        // The caller is busy and polls late, if at all: draw it now.
        ProcessDrawEvents();
        return;
    }
    SetWaitCursor(1);
    sWaitParent = parent;
    if (sWaitParent > 0) SetPanelAttributeAnsi(sWaitParent, ATTR_DIMMED, 1);
    sWaitPanel = LoadPanelAnsi(sWaitParent, sFichier, kPanneauWait);
    // A failed load counts as open, so that GenFermerWait still undims and
    // turns the wait cursor off; -1 (the run-time's "not initialised") must
    // not be mistaken for "closed".
    if (sWaitPanel == -1) sWaitPanel = UIE_SYSTEM;
    SetCtrlValAnsi(sWaitPanel, kCtrlWaitTexte, sWaitTexte);
    AjusterCadreWait();
    SetPanelPos(sWaitPanel, sWaitTop, sWaitLeft);
    DisplayPanel(sWaitPanel);
    ProcessDrawEvents();
}

void GenFermerWait(void) {
    if (sWaitPanel == -1) return;
    DiscardPanel(sWaitPanel);
    sWaitPanel = -1;
    if (sWaitParent > 0) SetPanelAttributeAnsi(sWaitParent, ATTR_DIMMED, 0);
    SetWaitCursor(0);
}

int GenWaitPanel(void) { return sWaitPanel; }
