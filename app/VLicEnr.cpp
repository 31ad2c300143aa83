// VLicEnr.cpp: program entry, start-up and the main panel (panel 4 of
// "FVLicEnr.uir").
//
// Exports (app/VLicEnr.h): VLicEnrMain, the start-up steps EnrDemarrer and
// EnrLireProduit, and the main panel: EnrGerer runs it, EnrInit sets it up,
// EnrProdMaj / EnrSet follow the current product, EnrCommande acts on one
// commit (one turn of the loop, also driven by the tests).
//
// Data model: the start product (from the command line, not range-checked)
// decides the mode for the whole run: 0 the chooser mode, nonzero the fixed
// mode. The current product lives in EnrGerer's loop; it starts as the start
// product and changes only by a choice in the chooser (0: no product). The
// chooser's items are the catalogue's products plus the system's own:
// "------" (0) first and after the products, then "Plus de Produits ..." (-1)
// ending the short list or "Moins de Produits ..." (-2) ending the long one.
// A product number is never used here to index the catalogue: the rings are
// filled by VLicProdList and looked up by value only.
#include "app/VLicEnr.h"

#include <climits>
#include <cstdio>

#include "app/VLic.h"
#include "app/VLicListe.h"
#include "downloads/VLicLoad.h"
#include "toolbox/hyperlinkctrl.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

// ---------------------------------------------------------------- state
// None: the panel handle and the current product are locals of EnrGerer,
// the catalogue belongs to app/VLic.cpp.

namespace {

// The system's own items of the product rings.
const char *const kSeparateur = "------";
const char *const kPlus = "Plus de Produits ...";
const char *const kMoins = "Moins de Produits ...";
enum { VAL_PLUS = -1, VAL_MOINS = -2 };

// The maker's home page, behind the WEB text of the main panel.
const char *const kSiteWeb = "https://www.veltrane.fr/";

// Command-line modes: a first argument that names a mode (the listings of
// the catalogue and of a product's downloads, app/VLicListe.cpp) is
// handled here, before the run-time is started for the panels, as that mode
// needs it. Returns 1 with *exitCode set when argv[1] named a mode, 0 when
// the program runs as usual.
int EnrModeLigneCommande(int argc, char **argv, int *exitCode) {
    const int code = EnrListing(argc, argv);
    if (code < 0) return 0;
    *exitCode = code;
    return 1;
}

// Sets a ring's value; when no item carries that value (a number that is no
// catalogued product) selects the first "------" instead, so the ring never
// keeps showing a product it was not given. No result.
void EnrValeurRing(int panel, int control, int value) {
    int index = 0;
    if (GetIndexFromValueAnsi(panel, control, &index, value) < 0) value = 0;
    SetCtrlValAnsi(panel, control, value);
}

// Fills the chooser as the short list (hidden products left out, ending with
// "Plus de Produits ...") or as the long list (all, ending with "Moins de
// Produits ..."), between the two separators. No result.
void EnrListeChoix(int panel, int longue) {
    VLicProdList(panel, FVLIC_ENR_PROD_CHOIX, 1, 1, longue);
    InsertListItemAnsi(panel, FVLIC_ENR_PROD_CHOIX, 0, kSeparateur, 0);
    InsertListItemAnsi(panel, FVLIC_ENR_PROD_CHOIX, -1, kSeparateur, 0);
    if (longue)
        InsertListItemAnsi(panel, FVLIC_ENR_PROD_CHOIX, -1, kMoins, VAL_MOINS);
    else
        InsertListItemAnsi(panel, FVLIC_ENR_PROD_CHOIX, -1, kPlus, VAL_PLUS);
}

}  // namespace

int EnrLireProduit(const char *text) {
    if (text == nullptr) return 0;
    const char *p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negatif = false;
    if (*p == '+' || *p == '-') {
        negatif = (*p == '-');
        ++p;
    }
    if (*p < '0' || *p > '9') return 0;
    // Accumulated as a negative number, whose range holds INT_MIN; stops
    // growing at the limit so that no overflow can happen.
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (n > -(static_cast<long long>(INT_MAX) + 2)) n = n * 10 - (*p - '0');
    }
    if (negatif) return n < INT_MIN ? INT_MIN : static_cast<int>(n);
    return -n > INT_MAX ? INT_MAX : static_cast<int>(-n);
}

void EnrSet(int panel, int product) {
    const int visible = product != 0;
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_CADRE_LOAD, ATTR_VISIBLE, visible);
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_LAB_LOAD, ATTR_VISIBLE, visible);
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_BP_LOAD, ATTR_VISIBLE, visible);
}

void EnrProdMaj(int panel, int product) {
    EnrValeurRing(panel, FVLIC_ENR_PROD, product);
    EnrSet(panel, product);
}

void EnrInit(int panel, int product) {
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_PROD, ATTR_VISIBLE, product != 0);
    VLicProdList(panel, FVLIC_ENR_PROD, 1, 0, 1);
    InsertListItemAnsi(panel, FVLIC_ENR_PROD, 0, kSeparateur, 0);
    EnrValeurRing(panel, FVLIC_ENR_PROD, product);

    SetCtrlAttributeAnsi(panel, FVLIC_ENR_PROD_CHOIX, ATTR_VISIBLE, product == 0);
    EnrListeChoix(panel, 0);
    EnrValeurRing(panel, FVLIC_ENR_PROD_CHOIX, product);

    // In the fixed mode the product cannot be changed, nor downloaded from
    // here; nothing undims these later.
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_BP_LOAD, ATTR_DIMMED, product != 0);
    SetCtrlAttributeAnsi(panel, FVLIC_ENR_LAB_LOAD, ATTR_DIMMED, product != 0);

    EnrProdMaj(panel, product);
    NewHyperLinkCtrl(panel, FVLIC_ENR_WEB, kSiteWeb);
}

int EnrCommande(int panel, int control, int *product) {
    switch (control) {
    case FVLIC_ENR_PROD_CHOIX: {
        int valeur = 0;
        GetCtrlValAnsi(panel, FVLIC_ENR_PROD_CHOIX, &valeur);
        *product = valeur;
        if (valeur == VAL_PLUS || valeur == VAL_MOINS) {
            EnrListeChoix(panel, valeur == VAL_PLUS);
            *product = 0;
            SetCtrlValAnsi(panel, FVLIC_ENR_PROD_CHOIX, 0);
        }
        EnrProdMaj(panel, *product);
        return 0;
    }
    case FVLIC_ENR_BP_QUIT:
        return 1;
    case FVLIC_ENR_BP_LOAD: {
        int top = 0;
        int left = 0;
        GetPanelAttributeAnsi(panel, ATTR_TOP, &top);
        GetPanelAttributeAnsi(panel, ATTR_LEFT, &left);
        HidePanel(panel);
        LoadGerer(*product, &top, &left);
        SetPanelPos(panel, top, left);
        DisplayPanel(panel);
        return 0;
    }
    default:
        return 0;
    }
}

int EnrGerer(int product) {
    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_ENR);
    if (panel < 0) {
        MessagePopupAnsi("VLicEnr Veltrane : erreur"_cp1252,
                         "Le panneau principal de VLicEnr (panneau 4 de \"FVLicEnr.uir\") "
                         "ne peut pas être chargé.\nL'application va se fermer."_cp1252);
        return 0;
    }
    // No maximise box and a fixed size: the panel is laid out to the pixel;
    // it can still be minimised.
    SetPanelAttributeAnsi(panel, ATTR_CAN_MAXIMIZE, 0);
    SetPanelAttributeAnsi(panel, ATTR_SIZABLE, 0);
    SetPanelAttributeAnsi(panel, ATTR_CAN_MINIMIZE, 1);
    EnrInit(panel, product);
    DisplayPanel(panel);

    int courant = product;
    int quitter = 0;
    while (!quitter) {
        int panneau = 0;
        int controle = 0;
        const int evenement = GetUserEvent(0, &panneau, &controle);
        // A run-time that can no longer deliver events would make this loop
        // spin for ever: leave as if the user had quit.
        if (evenement < 0) break;
        if (evenement != EVENT_COMMIT || panneau != panel) continue;
        quitter = EnrCommande(panel, controle, &courant);
    }
    DiscardPanel(panel);
    return 1;
}

const char *EnrMessageCatalogueAbsent(void) {
    return "Application VLicEnr de Veltrane incomplète : catalogue absent.\n"
           "Veuillez vérifier le contenu du répertoire (problème téléchargement ou zip)."_cp1252;
}

int EnrDossierProgramme(void) {
    char dossier[MAX_PATHNAME_LEN];
    // A folder the run-time cannot name (one too long for its buffer) is no
    // reason to read the current one, which may be anybody's.
    if (GetProjectDirAnsi(dossier) != 0) return 0;
    return SetDirAnsi(dossier) == 0 ? 1 : 0;
}

// The popup of a catalogue that cannot be loaded.
static void EnrCatalogueAbsent(void) {
    MessagePopupAnsi("VLicEnr Veltrane : application incomplète"_cp1252, EnrMessageCatalogueAbsent());
}

// The path of the school's file `nom` into chemin (MAX_PATHNAME_LEN bytes)
// when it can be read: always in the administrators' folder, beside the
// program only when dossierCourant. Returns 1 when it can, else 0.
static int EnrCheminEcole(const char *nom, int dossierCourant, char *chemin) {
    const int ou = VLicCheminAdmin(nom, chemin, MAX_PATHNAME_LEN);
    return ou == VLIC_ADMIN_DOSSIER || (ou == VLIC_ADMIN_PROGRAMME && dossierCourant);
}

int EnrFichiersEcole(int dossierCourant, std::FILE *rapportVersions, int *anciennes, std::FILE *rapportMiroir) {
    char chemin[MAX_PATHNAME_LEN];
    if (EnrCheminEcole(LOAD_MIROIR_FILE, dossierCourant, chemin)) LoadMiroirCharger(chemin, rapportMiroir);
    else LoadMiroirDefinir(nullptr, nullptr);
    if (anciennes) *anciennes = 0;
    if (EnrCheminEcole(LOAD_VERSIONS_FILE, dossierCourant, chemin))
        return LoadVersionsCharger(chemin, rapportVersions, anciennes);
    return -1;
}

int EnrDemarrer(int argc, char **argv) {
    const int produit = (argc > 1) ? EnrLireProduit(argv[1]) : 0;
    // The school's files are optional: without them the built-in versions
    // and the maker's addresses hold.
    EnrFichiersEcole(1, nullptr, nullptr, nullptr);
    if (!VLicProdCharger(VLIC_PROD_FILE)) {
        EnrCatalogueAbsent();
        return 0;
    }
    return EnrGerer(produit) ? 0 : 1;
}

namespace {

// The one line of a start without display, however the display was missed.
void EnrAucunAffichage(void) {
    std::fprintf(stderr, "VLicEnr : l'interface utilisateur ne peut pas démarrer (aucun affichage).\n");
}

}  // namespace

int VLicEnrMain(int argc, char **argv) {
    int codeSortie = 0;
    if (EnrModeLigneCommande(argc, argv, &codeSortie)) return codeSortie;

    SetNoDisplayHandler(EnrAucunAffichage);
    if (!InitUIRunTime(0, argv, 0)) {
        EnrAucunAffichage();
        return -1;
    }
    if (!EnrDossierProgramme()) {
        EnrCatalogueAbsent();
        return 0;
    }
    return EnrDemarrer(argc, argv);
}
