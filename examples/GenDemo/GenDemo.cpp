// GenDemo.cpp: a small program that shows the general library at work.
//
// One panel (resource 1 of "GenDemo.uir", compiled into the program): six
// picture buttons whose captions appear only under the mouse (GenSurvolBp),
// each starting one of the library's screen or popup operations: the wait
// popup counting down, the error popup without and with details, printing
// the panel to "GenDemo.pdf", masking the desktop for a moment, dimming the
// panel for a moment. Below them: printing on the default printer
// (GenPrintPanel), the hover switch (GenActiverSurvol) and Quit; text lines
// show the last popup's result, the screen test and a few computations.
//
// Data model: the panel handle and one pending timed action at most (the
// wait popup's countdown, the desktop mask or the dimming), ended by the
// polling loop when its time has come. Everything runs on the one
// user-interface thread.
//
// Options, for screenshots and scripted runs: --attente, --erreur and
// --question start that action at once after the panel is shown.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "genutil/GenUtil.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

// Controls of panel 1 of "GenDemo.uir".
enum {
    PANEL_DEMO = 1,
    TXT_TITRE = 1,
    TXT_AIDE = 2,
    BP_ATTENTE = 3,
    BP_ERREUR = 4,
    BP_QUESTION = 5,
    BP_PDF = 6,
    BP_BUREAU = 7,
    BP_GRISER = 8,
    DEC_SEPARATION = 9,
    BP_IMPRIMER = 10,
    BP_SURVOL = 11,
    BP_QUITTER = 12,
    TXT_ETAT = 13,
    TXT_ECRAN = 14,
    TXT_CALCULS = 15,
};

// The hover list: the six picture buttons, all of whose captions may be hidden.
const int kSurvol[] = {BP_ATTENTE, BP_ERREUR, BP_QUESTION, BP_PDF, BP_BUREAU, BP_GRISER};
constexpr int kNbSurvol = sizeof kSurvol / sizeof kSurvol[0];

using Horloge = std::chrono::steady_clock;

// ---- Demo state ------------------------------------------------------------
// sPanel: the demo panel. sAction: the timed action under way (none, the wait
// countdown, the desktop mask, the dimming) with its start sDebut; sMasque:
// the mask panel while the mask is up. sSurvolActif: the hover switch as last
// set by the demo's button.
enum Action { AUCUNE, ATTENTE, MASQUE, GRISE };
int sPanel = 0;
Action sAction = AUCUNE;
Horloge::time_point sDebut;
int sMasque = 0;
int sDernierDecompte = -1;
bool sSurvolActif = true;

double Ecoule() {
    return std::chrono::duration<double>(Horloge::now() - sDebut).count();
}

void Etat(const char *texte) { SetCtrlValAnsi(sPanel, TXT_ETAT, texte); }

void AfficherEcranEtCalculs() {
    int hauteur = 0, largeur = 0;
    GetScreenSize(&hauteur, &largeur);
    char ligne[256];
    std::snprintf(ligne, sizeof ligne, "Écran %d × %d : plus petit que 1280 × 1024 ? %s."_cp1252,
                  largeur, hauteur, GenTailleEcranInferieurTaillePanel(1024, 1280) ? "oui" : "non");
    SetCtrlValAnsi(sPanel, TXT_ECRAN, ligne);

    // Today as a day number from 1 January 2000 (10957 days after 1970).
    const int aujourdhui = static_cast<int>(std::time(nullptr) / 86400) - 10957;
    int jour = 0, mois = 0, annee = -1;
    GenGregorienDate(aujourdhui, jour, mois, annee);
    char hms[GEN_HMS_TAILLE_MAX];
    GenSecondesHMS(3725.4567, hms, 2);
    char calculs[512];
    if (annee >= 0)
        std::snprintf(calculs, sizeof calculs,
                      "Aujourd'hui : jour %d depuis le 1/1/2000, soit le %02d/%02d/%d (mois de %d jours)."
                      "\n3725,4567 s = %s    arrondi de 2,5 : %d, de -3,7 : %d    dé : %d"_cp1252,
                      aujourdhui, jour, mois, 2000 + annee, GenGregorienDerJourMois(mois, 2000 + annee),
                      hms, GenArrondir(2.5), GenArrondir(-3.7), GenEntierAleatoire(1, 6));
    else
        std::snprintf(calculs, sizeof calculs, "3725,4567 s = %s    arrondi de 2,5 : %d", hms,
                      GenArrondir(2.5));
    SetCtrlValAnsi(sPanel, TXT_CALCULS, calculs);
}

void Attente() {
    sAction = ATTENTE;
    sDebut = Horloge::now();
    sDernierDecompte = 3;
    GenWait(sPanel, "Veuillez patienter… 3 s"_cp1252);
}

void Erreur() {
    const int r = GenAfficheErreur("Fichier introuvable",
                                   "Le catalogue « Veltrane.vlicprod » n'a pas pu être ouvert."_cp1252,
                                   "", "OK", 0, "");
    char texte[128];
    std::snprintf(texte, sizeof texte, "GenAfficheErreur sans détails a rendu %d."_cp1252, r);
    Etat(texte);
}

void Question() {
    const int r = GenAfficheErreur(
        "Téléchargement interrompu"_cp1252,
        "Le serveur ne répond plus. Voulez-vous réessayer ?"_cp1252,
        "Adresse : https://www.veltrane.fr/Pilote/FTDI.zip\n"
        "Délai dépassé après 30 s (code 408).\n"
        "Ce cadre n'apparaît que lorsqu'il y a des détails."_cp1252,
        "__Réessayer"_cp1252, 1, "__Abandonner");
    char texte[128];
    std::snprintf(texte, sizeof texte, "GenAfficheErreur avec détails a rendu %d (%s)."_cp1252, r,
                  r == 1 ? "Réessayer"_cp1252 : r == 2 ? "Abandonner" : "autre");
    Etat(texte);
}

void Pdf() {
    // The library prints on the printer; the run-time also writes PDF files.
    SetWaitCursor(1);
    SetPrintAttributeExAnsi(ATTR_PRINT_VERTICAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 0);
    const int r = PrintPanelAnsi(sPanel, "GenDemo.pdf", 0, 1, 0);
    SetWaitCursor(0);
    Etat(r >= 0 ? "Panneau imprimé dans GenDemo.pdf (dossier courant)."_cp1252
                : "L'impression en PDF a échoué."_cp1252);
}

void Masque() {
    sMasque = GenMasquerBureau(0x1F3A5F);
    if (sMasque > 0) {
        const int texte = NewCtrlAnsi(sMasque, CTRL_TEXT_MSG, "Bureau masqué pendant 2 s"_cp1252, 40, 40);
        SetCtrlAttributeAnsi(sMasque, texte, ATTR_TEXT_COLOR, 0xFFFFFF);
    }
    sAction = MASQUE;
    sDebut = Horloge::now();
}

void Griser() {
    GenDimmedPanel(1, 1, &sPanel);
    sAction = GRISE;
    sDebut = Horloge::now();
}

// Ends or advances the timed action under way.
void Avancer() {
    switch (sAction) {
        case AUCUNE: return;
        case ATTENTE: {
            const int reste = 3 - static_cast<int>(Ecoule());
            if (reste <= 0) {
                GenFermerWait();
                Etat("Popup d'attente fermé par GenFermerWait."_cp1252);
                sAction = AUCUNE;
            } else if (reste != sDernierDecompte) {
                char texte[64];
                std::snprintf(texte, sizeof texte, "Veuillez patienter… %d s"_cp1252, reste);
                GenWait(sPanel, texte);   // open: only the text changes
                sDernierDecompte = reste;
            }
            return;
        }
        case MASQUE:
            if (Ecoule() >= 2.0) {
                DiscardPanel(sMasque);
                sMasque = 0;
                sAction = AUCUNE;
            }
            return;
        case GRISE:
            if (Ecoule() >= 2.0) {
                GenDimmedPanel(0, 1, &sPanel);
                sAction = AUCUNE;
            }
            return;
    }
}

}  // namespace

int main(int argc, char **argv) {
    if (!InitUIRunTime(0, argv, 0)) return -1;
    sPanel = LoadPanelAnsi(0, "GenDemo.uir", PANEL_DEMO);
    if (sPanel < 0) {
        MessagePopupAnsi("GenDemo", "Le panneau de la démonstration est introuvable."_cp1252);
        return 1;
    }
    AfficherEcranEtCalculs();
    // Captions show only under the mouse, from the start.
    GenEffaceLabel(sPanel, kNbSurvol, kSurvol);
    DisplayPanel(sPanel);

    bool premier = true;
    bool quitter = false;
    const Horloge::time_point affiche = Horloge::now();
    while (!quitter) {
        GenSurvolBp(sPanel, kNbSurvol, kNbSurvol, kSurvol);
        Avancer();
        int panel = 0, ctrl = 0;
        // A window manager activates the panel a little after its display.
        if (premier && (GetActivePanel() == sPanel || Horloge::now() - affiche > std::chrono::seconds(3))) {
            premier = false;
            // Scripted start of one action, once the panel is up and active.
            for (int i = 1; i < argc; ++i) {
                if (!std::strcmp(argv[i], "--attente")) Attente();
                else if (!std::strcmp(argv[i], "--erreur")) Erreur();
                else if (!std::strcmp(argv[i], "--question")) Question();
            }
        }
        if (GetUserEvent(0, &panel, &ctrl) != EVENT_COMMIT || panel != sPanel) continue;
        if (sAction != AUCUNE && ctrl != BP_QUITTER) continue;   // one action at a time
        switch (ctrl) {
            case BP_ATTENTE: Attente(); break;
            case BP_ERREUR: Erreur(); break;
            case BP_QUESTION: Question(); break;
            case BP_PDF: Pdf(); break;
            case BP_BUREAU: Masque(); break;
            case BP_GRISER: Griser(); break;
            case BP_IMPRIMER:
                GenPrintPanel(1);
                Etat("GenPrintPanel : panneau actif envoyé à l'imprimante par défaut."_cp1252);
                break;
            case BP_SURVOL:
                sSurvolActif = !sSurvolActif;
                GenActiverSurvol(sSurvolActif ? 1 : 0);
                if (!sSurvolActif) GenEffaceLabel(sPanel, kNbSurvol, kSurvol);
                SetCtrlAttributeAnsi(sPanel, BP_SURVOL, ATTR_LABEL_TEXT,
                                     sSurvolActif ? "__Survol : activé"_cp1252 : "__Survol : désactivé"_cp1252);
                break;
            case BP_QUITTER: quitter = true; break;
            default: break;
        }
    }
    if (sAction == ATTENTE) GenFermerWait();
    if (sMasque > 0) DiscardPanel(sMasque);
    DiscardPanel(sPanel);
    return 0;
}
