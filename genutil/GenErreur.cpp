// GenErreur.cpp: the general library's error popup, a modal message with one
// or two buttons that tells its caller which one the user pressed.
//
// Exports (GenUtil.h): GenAfficheErreur.
//
// Data model: none kept between calls. One call is one popup: panel 3 of
// "FenGen.uir" (GenFichierRessource) loaded top-level, filled, shown modally, polled until one of
// its controls commits, discarded. Its controls: 2 first button, 3 second
// button, 4 message box (its label is the heading), 5 details box, below the
// first 105 pixels so that a panel cut to that height hides it.
#include "genutil/GenUtil.h"
#include "genutil/GenInterne.h"

#include "ui/userint.h"

namespace {

constexpr int kPanneauErreur = 3;
constexpr int kCtrlBouton1 = 2;
constexpr int kCtrlBouton2 = 3;
constexpr int kCtrlMessage = 4;
constexpr int kCtrlDetails = 5;
// Height of the popup without details: buttons and message only.
constexpr int kHauteurSansDetails = 105;

}  // namespace

// Returns 1 (first button), 2 (second button) or 0 (another control of the
// popup, or a popup that cannot be loaded).
int GenAfficheErreur(const char *titre, const char *message, const char *details,
                     const char *bouton1, int bouton2Visible, const char *bouton2) {
    // A null text is read as "" rather than trusted to be caught by callers.
    if (!titre) titre = "";
    if (!message) message = "";
    if (!details) details = "";
    if (!bouton1) bouton1 = "";
    if (!bouton2) bouton2 = "";
    SetWaitCursor(0);
    SetMouseCursor(VAL_DEFAULT_CURSOR);

    const int actif = GetActivePanel();
    if (actif > 0) SetPanelAttributeAnsi(actif, ATTR_DIMMED, 1);

    int resultat = 0;
    const int popup = LoadPanelAnsi(0, GenFichierRessource(), kPanneauErreur);
    // Without its panel no commit could ever end the wait below.
    if (popup > 0) {
        SetCtrlAttributeAnsi(popup, kCtrlBouton1, ATTR_LABEL_TEXT, bouton1);
        SetCtrlAttributeAnsi(popup, kCtrlBouton2, ATTR_VISIBLE, bouton2Visible);
        SetCtrlAttributeAnsi(popup, kCtrlBouton2, ATTR_LABEL_TEXT, bouton2);
        SetCtrlAttributeAnsi(popup, kCtrlMessage, ATTR_LABEL_TEXT, titre);
        ResetTextBoxAnsi(popup, kCtrlMessage, message);
        if (details[0] == '\0') {
            SetPanelAttributeAnsi(popup, ATTR_HEIGHT, kHauteurSansDetails);
            // It was centred at its full height when loaded.
            SetPanelPos(popup, VAL_AUTO_CENTER, VAL_AUTO_CENTER);
        } else
            ResetTextBoxAnsi(popup, kCtrlDetails, details);
        InstallPopup(popup);

        for (;;) {
            int panel = 0, ctrl = 0;
            if (GetUserEvent(0, &panel, &ctrl) == EVENT_COMMIT && panel == popup) {
                resultat = ctrl == kCtrlBouton2 ? 2 : ctrl == kCtrlBouton1 ? 1 : 0;
                break;
            }
            // A popup discarded behind our back (from a callback) can never
            // commit again: end the wait instead of polling for ever.
            int dimmed = 0;
            if (GetPanelAttributeAnsi(popup, ATTR_DIMMED, &dimmed) < 0) break;
        }
        DiscardPanel(popup);   // refused harmlessly when already gone
    }

    if (actif > 0) SetPanelAttributeAnsi(actif, ATTR_DIMMED, 0);
    return resultat;
}
